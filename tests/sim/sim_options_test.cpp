#include "sim/core/sim_options.h"

#include <gtest/gtest.h>

#include <fstream>
#include <tuple>

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
    const RegisterConfig& c = options.config;
    EXPECT_EQ(c.model, "CE");  // the file came after --model
    EXPECT_EQ(std::tie(c.serial, c.rt, c.closureNumber, c.description),
              std::make_tuple("99887766", false, 41, "ED 1"));
    EXPECT_EQ(std::tie(c.departments[2].vatCode, c.departments[2].nature), std::make_tuple(2, 4));
    EXPECT_EQ(std::tie(options.delayMs, options.tcpPort, options.serial, options.linkPath,
                       options.journalPath),
              std::make_tuple(200, 0, false, "/tmp/ecr", "/tmp/j.txt"));
    ASSERT_EQ(options.faults.rules().size(), 2u);
    EXPECT_EQ(options.faults.rules()[0].kind, FaultKind::Busy);  // the file's, then --fault's
    EXPECT_EQ(options.faults.rules()[1].kind, FaultKind::Nak);
}

TEST(SimOptions, ErrorsNameTheProblem) {
    const std::string file = WriteFile("ecrsim_options_bad.cfg", "model=AB\nvat\n");
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{"--bogus"}, "unknown option"},
        {{"--model"}, "missing value"},
        {{"--delay", "-5"}, "bad delay"},
        {{"--tcp", "70000"}, "bad TCP port"},
        {{"--config", file}, ":2: expected key=value"},
        {{"--config", "/nonexistent/ecrsim.cfg"}, "cannot read"}};
    for (const auto& [args, fragment] : cases) {
        SimOptions options;
        std::string error;
        EXPECT_FALSE(ParseSimArguments(args, options, error)) << args[0];
        EXPECT_NE(error.find(fragment), std::string::npos) << error;
    }
}

}  // namespace
}  // namespace ecrsim
