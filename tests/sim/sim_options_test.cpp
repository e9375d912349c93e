#include "sim/core/sim_options.h"

#include <gtest/gtest.h>

#include <fstream>

namespace ecrsim {
namespace {

std::string WriteFile(const std::string& name, const std::string& content) {
    const std::string path = ::testing::TempDir() + name;
    std::ofstream(path, std::ios::binary) << content;
    return path;
}

TEST(SimOptions, CommandLineAndFilesApplyInOrder) {
    const std::string file = WriteFile("ecrsim_options_test.cfg",
                                       "# register\r\nmodel=CE\r\n\r\nserial=99887766\r\n"
                                       "dept.3=2,4\r\nfault=busy:2\r\ndelay=50\r\n");
    SimOptions options;
    std::string error;
    ASSERT_TRUE(ParseSimArguments(
        {"--model",       "VT",       "--config",  file,         "--mf",  "--delay",
         "200",           "--fault",  "nak:1",     "--tcp",      "0",     "--no-serial",
         "--link",        "/tmp/ecr", "--journal", "/tmp/j.txt", "--set", "closure=41",
         "--description", "ED 1"},
        options, error))
        << error;
    EXPECT_EQ(options.config.model, "CE");  // the file came after --model
    EXPECT_EQ(options.config.serial, "99887766");
    EXPECT_FALSE(options.config.rt);
    EXPECT_EQ(options.config.departments[2].vatCode, 2);
    EXPECT_EQ(options.config.departments[2].nature, 4);
    EXPECT_EQ(options.config.closureNumber, 41);
    EXPECT_EQ(options.config.description, "ED 1");
    EXPECT_EQ(options.delayMs, 200);
    ASSERT_EQ(options.faults.rules().size(), 2u);
    EXPECT_EQ(options.faults.rules()[0].kind, FaultKind::Busy);
    EXPECT_EQ(options.faults.rules()[1].kind, FaultKind::Nak);
    EXPECT_EQ(options.tcpPort, 0);
    EXPECT_FALSE(options.serial);
    EXPECT_EQ(options.linkPath, "/tmp/ecr");
    EXPECT_EQ(options.journalPath, "/tmp/j.txt");
}

TEST(SimOptions, ErrorsNameTheProblem) {
    const std::string file = WriteFile("ecrsim_options_bad.cfg", "model=AB\nvat\n");
    struct Case {
        std::vector<std::string> args;
        std::string fragment;
    } cases[] = {
        {{"--bogus"}, "unknown option"},
        {{"--model"}, "missing value"},
        {{"--delay", "-5"}, "bad delay"},
        {{"--tcp", "70000"}, "bad TCP port"},
        {{"--fault", "wobble"}, "bad fault"},
        {{"--config", "/nonexistent/ecrsim.cfg"}, "cannot read"},
        {{"--config", file}, ":2: expected key=value"},
        {{"--set", "colour=red"}, "unknown setting"},
    };
    for (const auto& c : cases) {
        SimOptions options;
        std::string error;
        EXPECT_FALSE(ParseSimArguments(c.args, options, error)) << c.args[0];
        EXPECT_NE(error.find(c.fragment), std::string::npos) << error;
    }
}

}  // namespace
}  // namespace ecrsim
