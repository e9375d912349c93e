// Walks the golden cases in golden/*.txt: each case is a job, a register set-up and options,
// and the exact command lines the register must receive. The set-up keys: model, description,
// rt, serial, maxop, dept<n>=vat[:nature], printcode, nfheading, noextdescr (options, 1 or 0),
// result (expected code).
#include <gtest/gtest.h>

#include <map>

#include "convert/converter_test_support.h"

namespace zelmar::convert::testing {
namespace {

void ApplySetup(Session& session, const std::map<std::string, std::string>& setup) {
    RegisterData& reg = session.reg();
    for (const auto& [key, value] : setup) {
        const bool on = value == "1";
        if (key == "model") reg.ModelCode = value;
        if (key == "description") reg.ModelDescription = value;
        if (key == "rt") reg.IsRtRegister = on;
        if (key == "serial") reg.SerialNumber = value;
        if (key == "maxop") reg.MaxOperator = std::stoi(value);
        if (key == "printcode") session.options.PrintItemCode = on;
        if (key == "nfheading") session.options.NonFiscalHeading = on;
        if (key == "noextdescr") session.options.NoExtendedDescription = on;
        if (key.rfind("dept", 0) == 0) {
            const std::size_t index = std::stoul(key.substr(4)) - 1;
            const auto colon = value.find(':');
            reg.DeptVat.at(index) = value.substr(0, colon);
            reg.DeptNature.at(index) =
                colon == std::string::npos ? 0 : std::stoi(value.substr(colon + 1));
        }
    }
}

TEST(ConverterGolden, EveryCaseGivesItsCommandLines) {
    const auto cases = GoldenCases("golden");
    ASSERT_GT(cases.size(), 0u);
    for (const auto& golden : cases) {
        SCOPED_TRACE(golden.name);
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
