#include "sim/core/fault_script.h"

#include <gtest/gtest.h>

#include <tuple>

namespace ecrsim {
namespace {

// The prefix runs to the end of the rule, whatever it holds; "*" is for ever.
TEST(SimFaultScript, ParsesRules) {
    struct Case {
        std::string ruleText;
        FaultKind kind;
        int count, skip, code;
        std::string prefix;
        int parts;
    } cases[] = {{"refuse:*@1=09,:/2", FaultKind::Refuse, FaultRule::kForever, 1, 9, ":/2", 2},
                 {"refuse=09,@/1=x", FaultKind::Refuse, 1, 0, 9, "@/1=x", 2},
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
    for (const char* ruleText :
         {"", "nack", "nak:0", "nak:-1", "nak:x", "busy=1AB", "busy=zz", "refuse", "refuse=09",
          "refuse=09,", "lost=", "split=1", "split=17", "nak=3", "drop@x"}) {
        FaultScript script;
        std::string error;
        EXPECT_FALSE(script.add(ruleText, error)) << ruleText;
        EXPECT_EQ(error, std::string("bad fault rule: ") + ruleText);
        EXPECT_TRUE(script.rules().empty()) << ruleText;
    }
}

// Each rule counts only the events of its kind (and, for refuse, of its commands); the first
// due rule in script order fires.
TEST(SimFaultScript, SkipsThenFiresCountTimesInScriptOrder) {
    FaultScript script;
    std::string error;
    for (const char* rule : {"busy:2@1", "paper:1", "silent:*", "refuse:1@1=09,3/"}) {
        ASSERT_TRUE(script.add(rule, error)) << rule;
    }
    std::string fired;
    for (int i = 0; i < 5; ++i) {
        const auto rule = script.take({FaultKind::Busy, FaultKind::PaperEnd});
        fired += !rule ? '-' : rule->kind == FaultKind::Busy ? 'B' : 'P';
    }
    EXPECT_EQ(fired, "PBB--");
    for (int i = 0; i < 1000; ++i) ASSERT_TRUE(script.take({FaultKind::Silent}));

    EXPECT_FALSE(script.take({FaultKind::Nak}, "3/S"));
    EXPECT_FALSE(script.take({FaultKind::Refuse}, "5/1"));
    EXPECT_FALSE(script.take({FaultKind::Refuse}, "3/S"));  // the skipped one
    const auto refusal = script.take({FaultKind::Refuse}, "3/S/B");
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->code, 9);
    EXPECT_FALSE(script.take({FaultKind::Refuse}, "3/S"));
}

}  // namespace
}  // namespace ecrsim
