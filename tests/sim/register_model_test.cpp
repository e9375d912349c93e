// The simulated register's set-up: its model and configuration, its fault rules and the
// command line.
#include "sim/core/register_model.h"

#include <gtest/gtest.h>

#include <tuple>

#include "config/scratch_folder.h"
#include "sim/core/fault_script.h"
#include "sim/core/sim_options.h"

namespace ecrsim {
namespace {

// Field n of the answer to `command`, counted as the driver counts them (3 is the first).
std::string Field(RegisterModel& model, const std::string& command, std::size_t n) {
    const Answer answer = model.execute(command);
    EXPECT_EQ(answer.resultCode, code::kAccepted) << command;
    return answer.fields.at(n - 3);
}

RegisterConfig SampleConfig() {
    RegisterConfig config;
    std::string error;
    for (const std::string setting :
         {"model=TN", "description=ECR TN DEMO", "serial=72001234", "rt=1", "firmware=RT 3.1 G1",
          "vat=22.00,10.00,4.00", "departments=4", "dept.2=2,0", "dept.4=3,5", "max_operator=6",
          "date=06122026", "time=1030", "document=7", "invoice=3", "closure=41", "day_total=12.50",
          "grand_total=1000.05"}) {
        const std::size_t equals = setting.find('=');
        EXPECT_TRUE(config.set(setting.substr(0, equals), setting.substr(equals + 1), error))
            << setting << ": " << error;
    }
    return config;
}

TEST(SimRegisterModel, AnswerFieldsOfReadCommands) {
    RegisterModel model(SampleConfig());
    struct Case {
        std::string command;
        std::size_t field;
        std::string expected;
    } cases[] = {
        {"a", 3, "72001234"},  {"a", 5, "TN"},     {"a", 6, "ECR TN DEMO"}, {",/10", 3, "1"},
        {"v", 3, "RT 3.1 G1"}, {"v", 7, "4"},      {"v", 9, "6"},           {"e", 3, "22.00"},
        {"e", 5, "4.00"},      {"e", 15, "0.00"},  {":/2", 4, "2"},         {":/4", 4, "3"},
        {":/4", 14, "5"},      {":/1", 14, "0"},   {"9", 8, "7"},           {"X", 6, "3"},
        {"t", 3, "06122026"},  {"t", 4, "103000"}, {"i", 5, "41"},          {"i", 7, "1000.05"},
        {"0", 8, "12.50"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Field(model, c.command, c.field), c.expected) << c.command << " " << c.field;
    }
}

TEST(SimRegisterModel, RefusalsCarryCodeAndHaveNoEffect) {
    RegisterModel model(SampleConfig());
    const std::pair<std::string, int> cases[] = {
        {":/5", code::kNoDepartment},
        {":/x", code::kNoDepartment},
        {"3/S/PANE//1/1.50/9/22.00", code::kNoDepartment},
        {"3/S/PANE//1/1.50/2/22.00", code::kWrongVat},  // department 2 is 10.00
        {"3/S/PANE//1/1,50/1/22.00", code::kBadField},
        {"3/S/PANE", code::kMissingFields},
        {"1/7", code::kNoOperator},
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

TEST(SimRegisterModel, ReceiptOpensAndClosesAndCounts) {
    RegisterModel model(SampleConfig());
    const auto open = [&](const char* line) {
        return model.execute(line).fiscalStatus == kFiscalDocumentOpen;
    };
    // Last receipt number, day total, grand total, last invoice number.
    const auto counters = [&] {
        return Field(model, "9", 8) + " " + Field(model, "0", 8) + " " + Field(model, "i", 7) +
               " " + Field(model, "X", 6);
    };
    EXPECT_FALSE(open("?"));
    EXPECT_TRUE(open("3/S/PANE//2/1.50/1/22.00"));
    EXPECT_TRUE(open("5/1/1.00//////"));  // part payment: still open, as every answer shows
    for (const char* read : {"9", "t", "a", "?"}) EXPECT_TRUE(open(read)) << read;
    EXPECT_FALSE(open("5/5/2.00//////") || open("9"));
    EXPECT_EQ(model.execute("5/5/2.00//////").resultCode, code::kNoOpenDocument);
    EXPECT_EQ(counters(), "8 15.50 1003.05 3");
    for (const char* line : {"3/F/OPENFAT//0/0/0/0", "3/S/PANE//1/1.00/1/22.00", "5/1/0//////"}) {
        model.execute(line);  // an invoice; a payment without amount settles the rest
    }
    EXPECT_EQ(counters(), "9 16.50 1004.05 4");
    model.execute("3/S/PANE//1/1.00/1/22.00");
    model.execute("+/");  // cancelled: no number, no total
    EXPECT_FALSE(model.documentOpen());
    EXPECT_EQ(counters(), "9 16.50 1004.05 4");
}

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

TEST(SimOptions, CommandLineAndFilesApplyInOrder) {
    const zelmar::testing::ScratchFolder folder("sim_options");
    folder.put("ecr.cfg",
               "# register\r\nmodel=CE\r\n\r\nserial=99887766\r\ndept.3=2,4\r\nfault=busy:2\r\n"
               "delay=50\r\n");
    const std::string file = folder.file("ecr.cfg");
    SimOptions options;
    std::string error;
    ASSERT_TRUE(ParseSimArguments(
        {"--model",       "VT",       "--config",  file,          "--mf",  "--delay",
         "200",           "--fault",  "nak:1",     "--tcp",       "0",     "--no-serial",
         "--link",        "ecr-link", "--journal", "journal.txt", "--set", "closure=41",
         "--description", "ED 1"},
        options, error))
        << error;
    const RegisterConfig& c = options.config;
    EXPECT_EQ(c.model, "CE");  // the file came after --model
    EXPECT_EQ(std::tie(c.serial, c.rt, c.closureNumber, c.description),
              std::make_tuple("99887766", false, 41, "ED 1"));
    EXPECT_EQ(std::tie(c.departments[2].vatCode, c.departments[2].nature), std::make_tuple(2, 4));
    EXPECT_EQ(std::tie(options.delayMs, options.tcpPort, options.serial, options.linkPath,
                       options.journalPath),
              std::make_tuple(200, 0, false, "ecr-link", "journal.txt"));
    ASSERT_EQ(options.faults.rules().size(), 2u);
    EXPECT_EQ(options.faults.rules()[0].kind, FaultKind::Busy);  // the file's, then --fault's
    EXPECT_EQ(options.faults.rules()[1].kind, FaultKind::Nak);
}

// A bad option, register file or setting is refused with its reason and changes nothing.
TEST(SimOptions, BadSetUpIsRefusedWithItsReasonAndChangesNothing) {
    const zelmar::testing::ScratchFolder folder("sim_options");
    folder.put("bad.cfg", "model=AB\nvat\n");
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        // clang-format off
        {{"--bogus"}, "unknown option"}, {{"--model"}, "missing value"}, {{"--delay", "-5"}, "bad delay"},
        {{"--tcp", "70000"}, "bad TCP port"}, {{"--config", folder.file("bad.cfg")}, ":2: expected key=value"},
        {{"--config", folder.file("missing.cfg")}, "cannot read"}, {{"--set", "colour=red"}, "unknown setting"},
        {{"--set", "dept.0=1"}, "bad department"}, {{"--set", "dept.2=1,2,3"}, "bad department"},
        {{"--model", "ABC"}, "bad value for model"}, {{"--set", "rt=maybe"}, "bad value for rt"},
        {{"--set", "vat=1,2,3,4,5,6,7,8,9,10,11,12,13,14"}, "bad value for vat"},
        {{"--set", "date=6122026"}, "bad value"}, {{"--set", "time=10:30"}, "bad value"},
        {{"--set", "document=-1"}, "bad value"}, {{"--set", "grand_total=1.234"}, "bad value"},
        {{"--serial", "12/34"}, "bad value"},
        // clang-format on
    };
    SimOptions options;  // each case applied over the same options
    for (const auto& [args, fragment] : cases) {
        std::string error;
        EXPECT_FALSE(ParseSimArguments(args, options, error)) << args[0];
        EXPECT_NE(error.find(fragment), std::string::npos) << error;
    }
    RegisterModel model(options.config), untouched;
    for (const char* read : {"a", "e", "v", "i", ":/2"}) {
        EXPECT_EQ(model.execute(read).text(), untouched.execute(read).text()) << read;
    }
}

}  // namespace
}  // namespace ecrsim
