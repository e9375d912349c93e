#include "config/port_map.h"

#include <gtest/gtest.h>

#include "config/command_line_options.h"
#include "config/scratch_folder.h"
#include "platform/fake/fake_file_system.h"

namespace zelmar::config {
namespace {

using testing::ScratchFolder;

TEST(PortMap, DefaultsThenFileLinesThenCommandLine) {
    ScratchFolder program("ports");
    platform::FakeFileSystem files;
#ifdef _WIN32
    const PortDevices defaults{"COM1", "COM2", "COM3", "COM4"};
#else
    const PortDevices defaults{"/dev/ttyS0", "/dev/ttyS1", "/dev/ttyS2", "/dev/ttyS3"};
#endif
    EXPECT_EQ(DefaultPortDevices(), defaults);
    EXPECT_EQ(ReadPortDevices(files, program.path()), defaults);

    program.put(kPortMapFile, " /dev/ttyUSB0 \r\n\r\n/dev/pts/7\r\n");
    PortDevices expected = defaults;
    expected[0] = "/dev/ttyUSB0";
    expected[2] = "/dev/pts/7";
    EXPECT_EQ(ReadPortDevices(files, program.path()), expected);

    expected[1] = "/dev/pts/9";
    expected[2] = "/dev/pts/8";
    const std::vector<PortOverride> overrides{{2, "/dev/pts/9"}, {3, "/dev/pts/8"}, {5, "x"}};
    EXPECT_EQ(ReadPortDevices(files, program.path(), overrides), expected);
    EXPECT_EQ(program.read(kPortMapFile), " /dev/ttyUSB0 \r\n\r\n/dev/pts/7\r\n");
}

TEST(ConfigCommandLine, TakesItsOptionsAndLeavesTheRest) {
    const ConfigCommandLine parsed =
        ParseConfigCommandLine({"--headless", "--program-dir", "/opt/z", "--data-dir=/srv/x",
                                "--port", "1=/dev/pts/3", "--port=4=COM9", "--demo"});
    EXPECT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.programDir, "/opt/z");
    EXPECT_EQ(parsed.dataDir, "/srv/x");
    ASSERT_EQ(parsed.ports.size(), 2u);
    EXPECT_EQ(parsed.ports[0].slot, 1);
    EXPECT_EQ(parsed.ports[0].device, "/dev/pts/3");
    EXPECT_EQ(parsed.ports[1].slot, 4);
    EXPECT_EQ(parsed.ports[1].device, "COM9");
    EXPECT_EQ(parsed.otherArguments, (std::vector<std::string>{"--headless", "--demo"}));

    for (const std::vector<std::string>& bad : {std::vector<std::string>{"--port", "5=/dev/x"},
                                                {"--port", "1"},
                                                {"--port", "=x"},
                                                {"--data-dir"},
                                                {"--port", "x=/dev/x"},
                                                {"--program-dir="}}) {
        EXPECT_NE(ParseConfigCommandLine(bad).error, "") << bad.back();
    }
}

}  // namespace
}  // namespace zelmar::config
