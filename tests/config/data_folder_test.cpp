#include "config/data_folder.h"

#include <gtest/gtest.h>

#include <tuple>

#include "config/port_map.h"
#include "config/registry_value.h"
#include "config/scratch_folder.h"
#include "config/startup_configuration.h"
#include "platform/fake/fake_file_system.h"
#include "platform/fake/fake_shell.h"
#include "platform/fake/fake_system_info.h"

namespace zelmar::config {
namespace {

const std::string kSep(1, kPathSeparator);

class DataFolderTest : public ::testing::Test {
  protected:
    DataFolderTest() : resolver_(system_, files_, shell_) {}

    // An NT 6 machine whose common folder lacks the sub-folder, with the registry folder set.
    void Nt6WithoutSubFolder(const std::string& registryFolder) {
        system_.setPlatform(true, 6);
        system_.setCommonAppDataFolder(common_.path());
        system_.setUserString(kRegistryKey, kCustomDataDirValue, registryFolder);
    }
    testing::ScratchFolder program_{"program"}, common_{"common"}, custom_{"custom"};
    platform::FakeSystemInfo system_;
    platform::FakeFileSystem files_;
    platform::FakeShell shell_;
    DataFolderResolver resolver_;
};

TEST_F(DataFolderTest, PlatformAndRegistryDecideTheFolders) {
    struct Case {
        const char* name;
        bool nt;
        int major;
        bool subFolderExists;  // also: the common folder is given
        std::string registry;  // empty: no value
        std::string data, defaultData;
        std::vector<std::string> notices;
    };
    const std::string common = common_.file(kCommonDataSubFolder);
    const std::string program = program_.path();
    const std::string custom = custom_.path();
    custom_.put("f.txt", "x");
    const Case cases[] = {
        {"not NT: the program folder", false, 10, true, "", program, program, {}},
        {"NT 5: the program folder", true, 5, true, "", program, program, {}},
        {"NT 6: the common sub-folder", true, 6, true, "", common, common, {}},
        {"registry overrides, default kept", true, 6, true, custom, custom, common, {}},
        {"registry with trailing separator", false, 0, false, custom + kSep, custom, program, {}},
        {"registry naming a file", false, 0, false, custom_.file("f.txt"), program, program, {}},
        {"no common folder", true, 6, false, "", program, program, {"Path non disponibile"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(common);
        if (c.subFolderExists) std::filesystem::create_directory(common);
        system_.setPlatform(c.nt, c.major);
        system_.setCommonAppDataFolder(c.subFolderExists ? common_.path() : "");
        system_.setUserString(kRegistryKey, kCustomDataDirValue, c.registry);
        platform::FakeShell shell;
        const FolderDecision decision = DataFolderResolver(system_, files_, shell).Decide(program);
        EXPECT_FALSE(decision.failed) << decision.message;
        EXPECT_EQ(std::tuple(decision.dataFolder, decision.defaultDataFolder, shell.notices()),
                  std::tuple(c.data, c.defaultData, c.notices));
    }
}

TEST_F(DataFolderTest, MissingCommonSubFolderEndsEvenWithAValidRegistryFolder) {
    Nt6WithoutSubFolder(custom_.path());
    const FolderDecision decision = resolver_.Decide(program_.path());
    const std::string expected = common_.file(kCommonDataSubFolder) + " : DIR NON ESISTENTE";
    EXPECT_TRUE(decision.failed && decision.messageShown);
    EXPECT_EQ(decision.message, expected);
    EXPECT_EQ(shell_.notices(), std::vector<std::string>{expected});
}

TEST_F(DataFolderTest, DataFolderTooLongForTheErrorFileIsRefused) {
    // The error file path "<folder>/SR_ERR.001" may be 128 characters at most.
    const std::string base = custom_.path() + kSep;
    const std::size_t fits = kMaxErrorFilePath - 1 - std::string("SR_ERR.001").size();
    for (const std::size_t length : {fits, fits + 1}) {
        const std::string folder = base + std::string(length - base.size(), 'd');
        std::filesystem::create_directory(folder);
        const FolderDecision decision = resolver_.Decide(program_.path(), folder);
        EXPECT_EQ(decision.failed && !decision.messageShown, length > fits);
    }
    EXPECT_TRUE(shell_.notices().empty());
}

TEST_F(DataFolderTest, StartUpPutsTheCommandLineFirst) {
    Nt6WithoutSubFolder(program_.path());  // would end the program without --data-dir
    program_.put(kPortMapFile, " /dev/ttyUSB0 \r\n\r\n/dev/pts/7\r\n");
    const ConfigCommandLine commandLine =
        ParseConfigCommandLine({"--headless", "--program-dir", program_.path() + kSep,
                                "--data-dir=" + custom_.path() + kSep, "--port", "3=/dev/pts/8",
                                "--port=4=COM9", "--demo", "--log-level=debug"});
    EXPECT_EQ(commandLine.otherArguments, (std::vector<std::string>{"--headless", "--demo"}));
    EXPECT_EQ(commandLine.logLevel, LogLevel::kDebug);
    Session session;
    const FolderDecision decision =
        ConfigureFoldersAndPorts(session, system_, files_, shell_, commandLine, "/nowhere");
    EXPECT_FALSE(decision.failed) << decision.message;
    EXPECT_EQ(std::tuple(session.ProgramFolder, session.DataFolder, session.DefaultDataFolder),
              std::tuple(program_.path(), custom_.path(), custom_.path()));
    EXPECT_EQ(session.PortDevice,
              (PortDevices{"/dev/ttyUSB0", DefaultPortDevices()[1], "/dev/pts/8", "COM9"}));
    EXPECT_TRUE(shell_.notices().empty());

    Session untouched;
    const FolderDecision refused = ConfigureFoldersAndPorts(
        untouched, system_, files_, shell_,
        ParseConfigCommandLine({"--data-dir", custom_.file("absent")}), program_.path());
    EXPECT_TRUE(refused.failed);
    EXPECT_EQ(refused.message, custom_.file("absent") + " : DIR NON ESISTENTE");
    EXPECT_EQ(untouched.DataFolder, "");

    for (const std::vector<std::string>& bad : {std::vector<std::string>{"--port", "5=/dev/x"},
                                                {"--port", "1"},
                                                {"--port", "x=/dev/x"},
                                                {"--data-dir"},
                                                {"--program-dir="},
                                                {"--log-level", "INFO"}}) {
        EXPECT_NE(ParseConfigCommandLine(bad).error, "") << bad.back();
    }
}

}  // namespace
}  // namespace zelmar::config
