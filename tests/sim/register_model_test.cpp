#include "sim/core/register_model.h"

#include <gtest/gtest.h>

#include <tuple>

#include "sim/core/fault_script.h"

namespace ecrsim {
namespace {

// A refused command has no effect: no document opens and nothing is journaled.
TEST(SimRegisterModel, RefusalsCarryCodeAndHaveNoEffect) {
    RegisterConfig config;
    std::string error;
    ASSERT_TRUE(config.set("departments", "4", error)) << error;
    RegisterModel model(config);
    const std::pair<std::string, int> cases[] = {{"3/S/PANE//1/1.50/9/22.00", code::kNoDepartment},
                                                 {"3/S/PANE//1/1,50/1/22.00", code::kBadField},
                                                 {"3/S/PANE", code::kMissingFields},
                                                 {"5/1/1.00//////", code::kNoOpenDocument},
                                                 {"", code::kNotSupported}};
    for (const auto& [command, resultCode] : cases) {
        const Answer answer = model.execute(command);
        EXPECT_EQ(answer.resultCode, resultCode) << command;
        EXPECT_TRUE(answer.fields.empty()) << command;
    }
    EXPECT_FALSE(model.documentOpen());
    EXPECT_TRUE(model.journal().lines().empty());
}

// The prefix runs to the end of the rule; the first due rule in script order fires.
TEST(SimFaultScript, ParsesRulesAndFiresThemInScriptOrder) {
    struct Case {
        std::string ruleText;
        FaultKind kind;
        int count, skip, code;
        std::string prefix;
        int parts;
    } cases[] = {{"refuse:*@1=09,:/2", FaultKind::Refuse, FaultRule::kForever, 1, 9, ":/2", 2},
                 {"lost:2@1=5/1:=@", FaultKind::Lost, 2, 1, -1, "5/1:=@", 2},
                 {"split:2=4", FaultKind::Split, 2, 0, -1, "", 4}};
    for (const auto& c : cases) {
        FaultScript script;
        std::string error;
        ASSERT_TRUE(script.add(c.ruleText, error)) << c.ruleText << ": " << error;
        const FaultRule& r = script.rules().at(0);
        EXPECT_EQ(std::tie(r.kind, r.count, r.skip, r.code, r.prefix, r.parts),
                  std::tie(c.kind, c.count, c.skip, c.code, c.prefix, c.parts))
            << c.ruleText;
    }
    FaultScript script;
    std::string error;
    for (const char* rule : {"busy:2@1", "paper:1"}) ASSERT_TRUE(script.add(rule, error)) << rule;
    std::string fired;
    for (int i = 0; i < 5; ++i) {
        const auto rule = script.take({FaultKind::Busy, FaultKind::PaperEnd});
        fired += !rule ? '-' : rule->kind == FaultKind::Busy ? 'B' : 'P';
    }
    EXPECT_EQ(fired, "PBB--");
}

}  // namespace
}  // namespace ecrsim
