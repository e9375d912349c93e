#include "sim/core/fault_script.h"

#include <gtest/gtest.h>

namespace ecrsim {
namespace {

TEST(SimFaultScript, ParsesRules) {
    struct Case {
        std::string ruleText;
        FaultKind kind;
        int count, skip, code;
        std::string prefix;
        int parts;
    } cases[] = {
        {"nak", FaultKind::Nak, 1, 0, -1, "", 2},
        {"nak:3", FaultKind::Nak, 3, 0, -1, "", 2},
        {"busy:*", FaultKind::Busy, FaultRule::kForever, 0, -1, "", 2},
        {"busy:166@2", FaultKind::Busy, 166, 2, -1, "", 2},
        {"paper:4=33", FaultKind::PaperEnd, 4, 0, 0x33, "", 2},
        {"refuse=01,j", FaultKind::Refuse, 1, 0, 1, "j", 2},
        {"refuse:*@1=09,:/2", FaultKind::Refuse, FaultRule::kForever, 1, 9, ":/2", 2},
        {"refuse=09,@/1=x", FaultKind::Refuse, 1, 0, 9, "@/1=x", 2},
        {"split:2=4", FaultKind::Split, 2, 0, -1, "", 4},
        {"drop@5", FaultKind::Drop, 1, 5, -1, "", 2},
        {"noack:3", FaultKind::NoAck, 3, 0, -1, "", 2},
    };
    for (const auto& c : cases) {
        FaultScript script;
        std::string error;
        ASSERT_TRUE(script.add(c.ruleText, error)) << c.ruleText << ": " << error;
        const FaultRule& rule = script.rules().at(0);
        EXPECT_EQ(rule.kind, c.kind) << c.ruleText;
        EXPECT_EQ(rule.count, c.count) << c.ruleText;
        EXPECT_EQ(rule.skip, c.skip) << c.ruleText;
        EXPECT_EQ(rule.code, c.code) << c.ruleText;
        EXPECT_EQ(rule.prefix, c.prefix) << c.ruleText;
        EXPECT_EQ(rule.parts, c.parts) << c.ruleText;
    }
}

TEST(SimFaultScript, RejectsBadRules) {
    for (const char* ruleText :
         {"", "nack", "nak:0", "nak:-1", "nak:x", "busy=1AB", "busy=zz", "refuse", "refuse=09",
          "refuse=09,", "split=1", "split=17", "nak=3", "drop@x"}) {
        FaultScript script;
        std::string error;
        EXPECT_FALSE(script.add(ruleText, error)) << ruleText;
        EXPECT_FALSE(error.empty()) << ruleText;
        EXPECT_TRUE(script.rules().empty()) << ruleText;
    }
}

TEST(SimFaultScript, SkipsThenFiresCountTimesInScriptOrder) {
    FaultScript script;
    std::string error;
    ASSERT_TRUE(script.add("busy:2@1", error));
    ASSERT_TRUE(script.add("paper:1", error));
    std::string fired;
    for (int i = 0; i < 5; ++i) {
        const auto rule = script.take({FaultKind::Busy, FaultKind::PaperEnd});
        fired += !rule ? '-' : rule->kind == FaultKind::Busy ? 'B' : 'P';
    }
    EXPECT_EQ(fired, "PBB--");
}

TEST(SimFaultScript, OtherKindsAndOtherCommandsDoNotCount) {
    FaultScript script;
    std::string error;
    ASSERT_TRUE(script.add("refuse:1@1=09,3/", error));
    EXPECT_FALSE(script.take({FaultKind::Nak}, "3/S"));
    EXPECT_FALSE(script.take({FaultKind::Refuse}, "5/1"));
    EXPECT_FALSE(script.take({FaultKind::Refuse}, "3/S"));  // the skipped one
    EXPECT_FALSE(script.take({FaultKind::Refuse}, "5/1"));
    const auto rule = script.take({FaultKind::Refuse}, "3/S/B");
    ASSERT_TRUE(rule);
    EXPECT_EQ(rule->code, 9);
    EXPECT_FALSE(script.take({FaultKind::Refuse}, "3/S"));
}

TEST(SimFaultScript, ForeverNeverRunsOut) {
    FaultScript script;
    FaultRule rule;
    rule.kind = FaultKind::Silent;
    rule.count = FaultRule::kForever;
    script.add(rule);
    for (int i = 0; i < 1000; ++i) ASSERT_TRUE(script.take({FaultKind::Silent}));
}

}  // namespace
}  // namespace ecrsim
