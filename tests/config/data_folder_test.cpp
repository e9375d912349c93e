#include "config/data_folder.h"

#include <gtest/gtest.h>

#include "config/registry_value.h"
#include "config/scratch_folder.h"
#include "config/startup_configuration.h"
#include "platform/fake/fake_file_system.h"
#include "platform/fake/fake_shell.h"
#include "platform/fake/fake_system_info.h"

namespace zelmar::config {
namespace {

using testing::ScratchFolder;

class DataFolderTest : public ::testing::Test {
  protected:
    DataFolderTest()
        : program_("program"),
          common_("common"),
          custom_("custom"),
          resolver_(system_, files_, shell_) {}

    void SetRegistryFolder(const std::string& text) {
        system_.setUserString(kRegistryKey, kCustomDataDirValue, text);
    }
    void MakeCommonSubFolder() {
        std::filesystem::create_directory(common_.file(kCommonDataSubFolder));
    }

    ScratchFolder program_, common_, custom_;
    platform::FakeSystemInfo system_;
    platform::FakeFileSystem files_;
    platform::FakeShell shell_;
    DataFolderResolver resolver_;
};

TEST_F(DataFolderTest, PlatformAndRegistryDecideTheFolders) {
    const std::string sep(1, kPathSeparator);
    struct Case {
        const char* name;
        bool nt;
        int major;
        bool commonGiven, subFolderExists;
        std::string registry;  // empty: no value
        std::string data, defaultData;
        std::vector<std::string> notices;
    };
    const std::string common = common_.file(kCommonDataSubFolder);
    const std::string program = program_.path();
    const std::string custom = custom_.path();
    const Case cases[] = {
        {"not NT: the program folder", false, 10, true, true, "", program, program, {}},
        {"NT 5: the program folder", true, 5, true, true, "", program, program, {}},
        {"NT 6: the common sub-folder", true, 6, true, true, "", common, common, {}},
        {"NT 10: the common sub-folder", true, 10, true, true, "", common, common, {}},
        {"registry overrides, default stays", true, 6, true, true, custom, custom, common, {}},
        {"registry with trailing separator",
         false,
         0,
         false,
         false,
         custom + sep,
         custom,
         program,
         {}},
        {"registry naming a file is ignored",
         false,
         0,
         false,
         false,
         custom_.file("f.txt"),
         program,
         program,
         {}},
        {"registry naming nothing is ignored",
         true,
         6,
         true,
         true,
         custom + sep + "nope",
         common,
         common,
         {}},
        {"no common folder: notice, program folder",
         true,
         6,
         false,
         false,
         "",
         program,
         program,
         {"Path non disponibile"}},
    };
    custom_.put("f.txt", "x");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(common);
        if (c.subFolderExists) MakeCommonSubFolder();
        system_.setPlatform(c.nt, c.major);
        system_.setCommonAppDataFolder(c.commonGiven ? common_.path() : "");
        SetRegistryFolder(c.registry);
        platform::FakeShell shell;
        DataFolderResolver resolver(system_, files_, shell);
        const FolderDecision decision = resolver.Decide(program);
        EXPECT_FALSE(decision.failed) << decision.message;
        EXPECT_EQ(decision.dataFolder, c.data);
        EXPECT_EQ(decision.defaultDataFolder, c.defaultData);
        EXPECT_EQ(decision.programFolder, program);
        EXPECT_EQ(shell.notices(), c.notices);
    }
}

TEST_F(DataFolderTest, MissingCommonSubFolderEndsEvenWithAValidRegistryFolder) {
    system_.setPlatform(true, 6);
    system_.setCommonAppDataFolder(common_.path());
    SetRegistryFolder(custom_.path());
    const FolderDecision decision = resolver_.Decide(program_.path());
    const std::string expected = common_.file(kCommonDataSubFolder) + " : DIR NON ESISTENTE";
    EXPECT_TRUE(decision.failed);
    EXPECT_TRUE(decision.messageShown);
    EXPECT_EQ(decision.message, expected);
    EXPECT_EQ(shell_.notices(), std::vector<std::string>{expected});
}

TEST_F(DataFolderTest, CommandLineDataFolderComesFirst) {
    system_.setPlatform(true, 6);
    system_.setCommonAppDataFolder(common_.path());  // sub-folder missing: would end the program
    SetRegistryFolder(program_.path());
    const FolderDecision decision =
        resolver_.Decide(program_.path(), custom_.path() + std::string(1, kPathSeparator));
    EXPECT_FALSE(decision.failed);
    EXPECT_EQ(decision.dataFolder, custom_.path());
    EXPECT_EQ(decision.defaultDataFolder, custom_.path());
    EXPECT_TRUE(shell_.notices().empty());

    const FolderDecision missing = resolver_.Decide(program_.path(), custom_.file("absent"));
    EXPECT_TRUE(missing.failed);
    EXPECT_EQ(missing.message, custom_.file("absent") + " : DIR NON ESISTENTE");
}

TEST_F(DataFolderTest, DataFolderTooLongForTheErrorFileIsRefused) {
    // The error file path "<folder>/SR_ERR.001" may be 128 characters at most.
    const std::string base = custom_.path() + std::string(1, kPathSeparator);
    const std::size_t fits = kMaxErrorFilePath - 1 - std::string("SR_ERR.001").size();
    for (const std::size_t length : {fits, fits + 1}) {
        const std::string folder = base + std::string(length - base.size(), 'd');
        std::filesystem::create_directory(folder);
        const FolderDecision decision = resolver_.Decide(program_.path(), folder);
        EXPECT_EQ(decision.failed, length > fits) << length;
        if (decision.failed) {
            EXPECT_FALSE(decision.messageShown);
            EXPECT_NE(decision.message.find("128"), std::string::npos);
        }
    }
    EXPECT_TRUE(shell_.notices().empty());
}

TEST_F(DataFolderTest, ApplyFillsTheSession) {
    SetRegistryFolder(custom_.path());
    Session session;
    ApplyFolders(resolver_.Decide(program_.path()), session);
    EXPECT_EQ(session.DataFolder, custom_.path());
    EXPECT_EQ(session.DefaultDataFolder, program_.path());
    EXPECT_EQ(session.ProgramFolder, program_.path());
    EXPECT_EQ(session.texts.txtAppDataVista, custom_.path());
}

TEST_F(DataFolderTest, StartUpTakesTheCommandLineFoldersAndPorts) {
    program_.put(kPortMapFile, "/dev/ttyUSB0\r\n");
    const std::string sep(1, kPathSeparator);
    const ConfigCommandLine commandLine =
        ParseConfigCommandLine({"--program-dir", program_.path() + sep, "--port", "2=/dev/pts/5"});
    Session session;
    const FolderDecision decision =
        ConfigureFoldersAndPorts(session, system_, files_, shell_, commandLine, "/nowhere");
    EXPECT_FALSE(decision.failed);
    EXPECT_EQ(session.ProgramFolder, program_.path());
    EXPECT_EQ(session.DataFolder, program_.path());
    EXPECT_EQ(session.PortDevice[0], "/dev/ttyUSB0");
    EXPECT_EQ(session.PortDevice[1], "/dev/pts/5");

    Session untouched;
    const FolderDecision refused = ConfigureFoldersAndPorts(
        untouched, system_, files_, shell_, ParseConfigCommandLine({"--data-dir", "/nowhere"}),
        program_.path());
    EXPECT_TRUE(refused.failed);
    EXPECT_EQ(untouched.DataFolder, "");
}

TEST_F(DataFolderTest, RegistryValueTypesAndSubKeyNames) {
    using platform::RegistryType;
    struct Case {
        RegistryType type;
        std::string data;
        bool ok;
        std::string text;
    };
    const Case cases[] = {
        {RegistryType::kString, std::string("D:\\Cassa\0", 9), true, "D:\\Cassa"},
        {RegistryType::kString, "", true, ""},
        {RegistryType::kDword, std::string("\x39\x30\x00\x00", 4), true, "12345"},
        {RegistryType::kDword, std::string("\xff\xff\xff\xff", 4), true, "4294967295"},
        {RegistryType::kOther, "abc", true, ""},
        {RegistryType::kString, std::string(1025, 'x'), false, ""},
    };
    for (const auto& c : cases) {
        system_.setUserValue("K", "V", c.type, c.data);
        std::string text = "unchanged";
        EXPECT_EQ(RegQueryString(system_, "K", "V", text), c.ok) << c.data;
        if (c.ok) {
            EXPECT_EQ(text, c.text);
        }
    }
    std::string text;
    EXPECT_FALSE(RegQueryString(system_, "K", "missing", text));
    system_.setUserString("\\K", "V", "x");
    EXPECT_FALSE(RegQueryString(system_, "\\K", "V", text));
    for (const char* bad : {"\\SOFTWARE", "SOFTWARE\\", "SOFTWARE\\\\Telvo"}) {
        EXPECT_FALSE(IsValidSubKeyName(bad)) << bad;
    }
    EXPECT_TRUE(IsValidSubKeyName(kRegistryKey));
}

TEST_F(DataFolderTest, PathExistsForFilesAndFoldersTrimmed) {
    program_.put("a.txt", "x");
    EXPECT_TRUE(resolver_.PathExists(program_.path()));
    EXPECT_TRUE(resolver_.PathExists("  " + program_.path() + " "));
    EXPECT_TRUE(resolver_.PathExists(program_.file("a.txt")));
    EXPECT_FALSE(resolver_.PathExists(program_.file("b.txt")));
    EXPECT_FALSE(resolver_.PathExists("   "));
}

}  // namespace
}  // namespace zelmar::config
