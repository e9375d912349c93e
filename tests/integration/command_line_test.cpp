// The program's own command line: --help, --version and the usage errors.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "common/version_text.h"
#include "program_run.h"

namespace zelmar::testing {
namespace {

// Everything the program writes on standard output, and its exit status.
std::pair<std::string, int> RunZelmar1(std::vector<std::string> args) {
    args.insert(args.begin(), ZELMAR1_PATH);
    ChildProcess program(args, true);
    std::string output = program.readUntil(std::string(1, '\0'));  // up to the end
    return {output, program.waitForExit()};
}

TEST(CommandLine, HelpListsEveryOptionOnItsOwnLine) {
    const auto [help, status] = RunZelmar1({"--help"});
    EXPECT_EQ(status, 0);
    for (const char* option : {"--headless ", "--demo ", "--program-dir DIR ", "--data-dir DIR ",
                               "--port N=DEVICE ", "--log-level LEVEL ", "--convert JOBFILE ",
                               "--register FILE ", "--option NAME ", "--help ", "--version "}) {
        EXPECT_NE(help.find(std::string("\n  ") + option), std::string::npos) << option;
    }
}

TEST(CommandLine, VersionAndUsageErrors) {
    // arguments, standard output, exit status
    const std::tuple<std::vector<std::string>, std::string, int> cases[] = {
        {{"--version"}, "zelmar1 " + VersionText() + "\n", 0},
        {{"--headless", "--version"}, "zelmar1 " + VersionText() + "\n", 0},
        {{"--verbose"}, "", 2},
        {{"--log-level", "loud"}, "", 2},
        {{"--log-level"}, "", 2},
    };
    for (const auto& [args, output, status] : cases) {
        EXPECT_EQ(RunZelmar1(args), std::pair(output, status)) << args.back();
    }
}

}  // namespace
}  // namespace zelmar::testing
