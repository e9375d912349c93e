#include "convert/converter_test_support.h"

#include <filesystem>
#include <fstream>
#include <set>

#include "common/paths.h"
#include "common/text_file.h"
#include "convert/converter.h"

namespace zelmar::convert::testing {

Session MakeSession(const std::string& dataFolder) {
    Session session;
    session.DataFolder = dataFolder;
    session.CurrentSlot = 1;
    RegisterData& reg = session.reg();
    reg.ModelCode = "RX";
    reg.ModelDescription = "ECR RX";
    reg.IsRtRegister = false;
    reg.SerialNumber = "99012345";
    reg.MaxOperator = 8;
    reg.DeptCount = 10;
    reg.DeptVat = {"22.00", "10.00", "4.00",  "5.00",  "0.00", "22.00",
                   "22.00", "22.00", "22.00", "22.00", "22.00"};
    reg.DeptNature = std::vector<int>(11, 0);
    return session;
}

JobOutcome ConvertJob(Session& session, const std::vector<std::string>& job) {
    std::string path = JoinPath(session.DataFolder, "SR_DATI.001");
    WriteTextLines(path, job);
    NoTrace trace;
    JobOutcome outcome;
    outcome.result = Converter(session, trace).ConvertJobFile(path);
    const std::string commandFile = JoinPath(session.DataFolder, kCommandFileName);
    outcome.commandFileExists = ReadTextLines(commandFile, outcome.commands);
    return outcome;
}

std::vector<GoldenCase> GoldenCases(const std::string& folder) {
    std::set<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(
             std::filesystem::path(__FILE__).parent_path() / folder)) {
        if (entry.path().extension() == ".txt") files.insert(entry.path());
    }
    std::vector<GoldenCase> cases;
    for (const auto& file : files) {
        std::ifstream in(file, std::ios::binary);
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            const std::string text = line.size() > 2 ? line.substr(2) : "";
            if (line.rfind("=== ", 0) == 0) {
                cases.push_back({file.filename().string() + ": " + line.substr(4), {}, {}, {}});
            } else if (cases.empty() || line.empty()) {
                continue;
            } else if (line[0] == '>') {
                cases.back().job.push_back(text);
            } else if (line[0] == '<') {
                cases.back().expected.push_back(text);
            } else if (line[0] == '@') {
                const auto equals = text.find('=');
                cases.back().setup[text.substr(0, equals)] =
                    equals == std::string::npos ? "1" : text.substr(equals + 1);
            }
        }
    }
    return cases;
}

}  // namespace zelmar::convert::testing
