// Walks the golden cases in golden/*.txt: each case is a job, a register set-up and options,
// and the exact command lines the register must receive.
//
// Case file syntax, one item per line:
//   === name          starts a case
//   @ key=value       set-up: model, description, rt, serial, maxop, dept<n>=vat[:nature],
//                     printcode, nfheading, noextdescr (options, 1 or 0), result (expected code)
//   > text            one job line (">" alone: an empty job line)
//   < text            one expected command line, in order
//   # text            comment
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "convert/converter_test_support.h"

namespace zelmar::convert::testing {
namespace {

struct GoldenCase {
    std::string file;
    std::string name;
    std::map<std::string, std::string> setup;
    std::vector<std::string> job;
    std::vector<std::string> expected;
};

std::vector<GoldenCase> ReadCases(const std::filesystem::path& file) {
    std::vector<GoldenCase> cases;
    std::ifstream in(file, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.rfind("=== ", 0) == 0) {
            cases.push_back({file.filename().string(), line.substr(4), {}, {}, {}});
            continue;
        }
        if (cases.empty() || line.empty() || line[0] == '#') continue;
        const std::string text = line.size() > 2 ? line.substr(2) : "";
        if (line[0] == '>') cases.back().job.push_back(text);
        if (line[0] == '<') cases.back().expected.push_back(text);
        if (line[0] == '@') {
            const auto equals = text.find('=');
            cases.back().setup[text.substr(0, equals)] =
                equals == std::string::npos ? "1" : text.substr(equals + 1);
        }
    }
    return cases;
}

std::vector<GoldenCase> AllCases() {
    std::set<std::filesystem::path> files;  // sorted, so the order is stable
    for (const auto& entry : std::filesystem::directory_iterator(
             std::filesystem::path(__FILE__).parent_path() / "golden")) {
        if (entry.path().extension() == ".txt") files.insert(entry.path());
    }
    std::vector<GoldenCase> cases;
    for (const auto& file : files) {
        auto fileCases = ReadCases(file);
        cases.insert(cases.end(), fileCases.begin(), fileCases.end());
    }
    return cases;
}

void ApplyDepartment(RegisterData& reg, const std::string& key, const std::string& value) {
    const std::size_t department = std::stoul(key.substr(4));
    const auto colon = value.find(':');
    reg.DeptVat.at(department - 1) = value.substr(0, colon);
    reg.DeptNature.at(department - 1) =
        colon == std::string::npos ? 0 : std::stoi(value.substr(colon + 1));
}

void ApplySetup(Session& session, const std::map<std::string, std::string>& setup) {
    for (const auto& [key, value] : setup) {
        const bool on = value == "1";
        if (key == "model") session.reg().ModelCode = value;
        if (key == "description") session.reg().ModelDescription = value;
        if (key == "rt") session.reg().IsRtRegister = on;
        if (key == "serial") session.reg().SerialNumber = value;
        if (key == "maxop") session.reg().MaxOperator = std::stoi(value);
        if (key.rfind("dept", 0) == 0) ApplyDepartment(session.reg(), key, value);
        if (key == "printcode") session.options.PrintItemCode = on;
        if (key == "nfheading") session.options.NonFiscalHeading = on;
        if (key == "noextdescr") session.options.NoExtendedDescription = on;
    }
}

TEST(ConverterGolden, EveryCaseGivesItsCommandLines) {
    const auto cases = AllCases();
    ASSERT_GT(cases.size(), 0u);
    for (const auto& golden : cases) {
        SCOPED_TRACE(golden.file + ": " + golden.name);
        ScratchFolder folder{"golden"};
        Session session = MakeSession(folder.path());
        ApplySetup(session, golden.setup);
        const JobOutcome outcome = ConvertJob(session, golden.job);
        const auto result = golden.setup.find("result");
        const int expectedResult = result == golden.setup.end() ? 0 : std::stoi(result->second);
        EXPECT_EQ(outcome.result, expectedResult);
        EXPECT_EQ(outcome.commandFileExists, expectedResult == 0);
        EXPECT_EQ(outcome.commands, golden.expected);
    }
}

}  // namespace
}  // namespace zelmar::convert::testing
