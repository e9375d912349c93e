#include "sim/core/sim_options.h"

#include <gtest/gtest.h>

#include <tuple>

#include "config/scratch_folder.h"

namespace ecrsim {
namespace {

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

TEST(SimOptions, ErrorsNameTheProblem) {
    const zelmar::testing::ScratchFolder folder("sim_options");
    folder.put("bad.cfg", "model=AB\nvat\n");
    const std::string file = folder.file("bad.cfg");
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{"--bogus"}, "unknown option"},
        {{"--model"}, "missing value"},
        {{"--delay", "-5"}, "bad delay"},
        {{"--tcp", "70000"}, "bad TCP port"},
        {{"--config", file}, ":2: expected key=value"},
        {{"--config", folder.file("missing.cfg")}, "cannot read"}};
    for (const auto& [args, fragment] : cases) {
        SimOptions options;
        std::string error;
        EXPECT_FALSE(ParseSimArguments(args, options, error)) << args[0];
        EXPECT_NE(error.find(fragment), std::string::npos) << error;
    }
}

}  // namespace
}  // namespace ecrsim
