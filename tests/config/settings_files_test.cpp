#include "config/settings_files.h"

#include <gtest/gtest.h>

#include "config/scratch_folder.h"
#include "platform/fake/fake_file_system.h"

namespace zelmar::config {
namespace {

using testing::ScratchFolder;

// Remembers the order in which files are written.
class RecordingFileSystem : public platform::FakeFileSystem {
  public:
    bool writeLines(const std::string& path, const std::vector<std::string>& lines,
                    bool append) override {
        written.push_back(std::filesystem::path(path).filename().string());
        return FakeFileSystem::writeLines(path, lines, append);
    }
    std::vector<std::string> written;
};

class SettingsFilesTest : public ::testing::Test {
  protected:
    SettingsFilesTest() : program_("settings"), settings_(files_, program_.path()) {}

    ScratchFolder program_;
    RecordingFileSystem files_;
    SettingsFiles settings_;
};

TEST_F(SettingsFilesTest, SlotBoxesFromZmchkcom) {
    struct Case {
        const char* content;  // nullptr: no file
        std::array<bool, 4> ticked;
    };
    const Case cases[] = {
        {"1010\r\n", {true, false, true, false}},
        {"1\r\n", {true, true, true, true}},
        {"", {true, true, true, true}},
        {nullptr, {true, true, true, true}},
        {"0000", {false, false, false, false}},
        {" 0110 \r\n", {false, true, true, false}},
        {"011111111\r\n", {false, true, true, true}},
        {"1x1\xff\r\n", {true, false, true, false}},
        {"01,10\r\n", {true, true, true, true}},  // the field ends at the comma: too short
    };
    for (const auto& c : cases) {
        std::filesystem::remove(program_.file(kSlotsFile));
        if (c.content) program_.put(kSlotsFile, c.content);
        Options options;
        settings_.Load(options);
        EXPECT_EQ(options.Check, c.ticked) << (c.content ? c.content : "(missing)");
    }
}

TEST_F(SettingsFilesTest, BaudRateFromZmchkbd) {
    struct Case {
        const char* content;
        int rate;
        const char* shown;
    };
    const Case cases[] = {
        {"115200\r\n", 115200, "115200"}, {"19200", 19200, "19200"}, {"\r\n", 9600, "9600"},
        {nullptr, 9600, "9600"},          {"abc\r\n", 9600, "9600"}, {"0\r\n", 9600, "9600"},
    };
    for (const auto& c : cases) {
        std::filesystem::remove(program_.file(kBaudFile));
        if (c.content) program_.put(kBaudFile, c.content);
        Options options;
        settings_.Load(options);
        EXPECT_EQ(options.BaudRate, c.rate) << (c.content ? c.content : "(missing)");
        EXPECT_EQ(options.cmdBaud, c.shown);
    }
}

TEST_F(SettingsFilesTest, OptionsFileLinesDriveTheirControls) {
    program_.put(kOptionsFile,
                 "2\r\n1\r\n1\r\n0\r\n10.0.0.9\r\n 3 \r\nR\r\n 9200 \r\n1\r\n1\r\n1\r\n 1 \r\n1\r\n"
                 "F\r\n1\r\n");
    Options options;
    const SocketTarget socket = settings_.Load(options);
    EXPECT_EQ(options.Combo1, 2);
    EXPECT_TRUE(options.chbConvXonXoff);
    EXPECT_TRUE(options.chbTrace);
    EXPECT_FALSE(options.chbEnableMicrelecInput);
    EXPECT_EQ(options.txtRemoteIP, "10.0.0.9");
    EXPECT_EQ(options.cboToutConn, 3);
    EXPECT_TRUE(options.OptionRete);
    EXPECT_EQ(options.txtRemotePort, "9200");
    EXPECT_TRUE(options.chbDisableExtDescr && options.chbDoppioScontrino &&
                options.chbNFIntestazione && options.chbScontiSuReso && options.chbPrintCode &&
                options.chbDisableTotalizzatori);
    EXPECT_TRUE(options.OptionFAST);
    EXPECT_EQ(socket.remoteHost, "10.0.0.9");
    EXPECT_EQ(socket.remotePort, "9200");
}

TEST_F(SettingsFilesTest, OptionsFileEdgeCases) {
    Options designTime;
    designTime.Combo1 = 1;
    designTime.cboToutConn = 4;
    designTime.txtRemoteIP = "1.2.3.4";
    designTime.txtRemotePort = "7000";
    designTime.chbPrintCode = true;
    designTime.OptionFAST = true;
    struct Case {
        const char* name;
        const char* content;  // nullptr: no file
        void (*check)(const Options&, const SocketTarget&);
    };
    const Case cases[] = {
        {"missing file: Combo1 to 0, the rest unchanged", nullptr,
         [](const Options& o, const SocketTarget& s) {
             EXPECT_EQ(o.Combo1, 0);
             EXPECT_EQ(o.cboToutConn, 4);
             EXPECT_EQ(o.txtRemotePort, "7000");
             EXPECT_TRUE(o.chbPrintCode);
             EXPECT_EQ(s.remoteHost, "");
             EXPECT_EQ(s.remotePort, "");
         }},
        {"seven lines set the first seven controls only", "1\r\n0\r\n0\r\n0\r\n\r\n0\r\nS\r\n",
         [](const Options& o, const SocketTarget& s) {
             EXPECT_EQ(o.Combo1, 1);
             EXPECT_EQ(o.cboToutConn, 0);
             EXPECT_FALSE(o.OptionRete);
             EXPECT_EQ(o.txtRemoteIP, "1.2.3.4");  // empty line 5 is ignored
             EXPECT_EQ(s.remoteHost, "");
             EXPECT_EQ(o.txtRemotePort, "7000");
             EXPECT_EQ(s.remotePort, "");
             EXPECT_TRUE(o.chbPrintCode);
             EXPECT_TRUE(o.OptionFAST);
         }},
        {"index 3 and index 9 are out of their lists", "3\r\n1\r\n1\r\n1\r\n 1.2 \r\n9\r\n",
         [](const Options& o, const SocketTarget&) {
             EXPECT_EQ(o.Combo1, 0);
             EXPECT_EQ(o.cboToutConn, 1);
             EXPECT_EQ(o.txtRemoteIP, "1.2.3.4");
         }},
        {"negative and non-numeric indexes", "-1\r\n\r\n\r\n\r\n\r\n-1\r\n",
         [](const Options& o, const SocketTarget&) {
             EXPECT_EQ(o.Combo1, 0);
             EXPECT_EQ(o.cboToutConn, 1);
         }},
        {"empty or unusable port becomes 9101", "0\r\n0\r\n0\r\n0\r\n \r\n 1 \r\nS\r\n\r\n",
         [](const Options& o, const SocketTarget& s) {
             EXPECT_EQ(o.txtRemotePort, "9101");
             EXPECT_EQ(s.remotePort, "9101");
         }},
        {"garbage, non-ASCII and long lines", "\xff\xfe\r\nzz\r\n1,0\r\n\x80\x81\r\n300.1.1.1\r\n",
         [](const Options& o, const SocketTarget& s) {
             EXPECT_EQ(o.Combo1, 0);
             EXPECT_FALSE(o.chbConvXonXoff);
             EXPECT_TRUE(o.chbTrace);  // "1,0": the field is "1"
             EXPECT_EQ(o.txtRemoteIP, "1.2.3.4");
             EXPECT_EQ(s.remoteHost, "");
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(program_.file(kOptionsFile));
        if (c.content) program_.put(kOptionsFile, c.content);
        Options options = designTime;
        const SocketTarget socket = settings_.Load(options);
        c.check(options, socket);
    }

    program_.put(kOptionsFile, std::string(200000, '7') + "\r\n" + std::string(5000, '\0'));
    Options options = designTime;
    settings_.Load(options);
    EXPECT_EQ(options.Combo1, 0);
    EXPECT_EQ(options.txtRemoteIP, "1.2.3.4");
}

TEST_F(SettingsFilesTest, SaveWritesTheThreeFilesExactly) {
    Options options;
    options.Check = {true, false, false, true};
    options.Combo1 = 2;
    options.chbTrace = true;
    options.txtRemoteIP = "10.0.0.300";  // fails the check: written as one blank
    options.cboToutConn = 2;             // "30 sec."
    options.OptionRete = true;
    options.txtRemotePort = "";
    options.chbScontiSuReso = true;
    options.OptionFAST = true;
    options.cmdBaud = "115200";
    settings_.Save(options);
    EXPECT_EQ(files_.written, (std::vector<std::string>{kSlotsFile, kOptionsFile, kBaudFile}));
    EXPECT_EQ(program_.read(kSlotsFile), "1001\r\n");
    EXPECT_EQ(program_.read(kBaudFile), "115200\r\n");
    EXPECT_EQ(program_.read(kOptionsFile),
              "2\r\n0\r\n1\r\n0\r\n \r\n 2 \r\nR\r\n9101\r\n0\r\n0\r\n0\r\n1\r\n0\r\nF\r\n0\r\n");

    options.txtRemoteIP = "192.168.0.7";
    options.txtRemotePort = "9102";
    settings_.Save(options);
    Options loaded;
    const SocketTarget socket = settings_.Load(loaded);
    EXPECT_EQ(loaded.Check, options.Check);
    EXPECT_EQ(loaded.Combo1, 2);
    EXPECT_EQ(loaded.cboToutConn, 2);
    EXPECT_EQ(loaded.txtRemoteIP, "192.168.0.7");
    EXPECT_EQ(socket.remoteHost, "192.168.0.7");
    EXPECT_EQ(loaded.txtRemotePort, "9102");
    EXPECT_TRUE(loaded.OptionRete && loaded.OptionFAST && loaded.chbTrace &&
                loaded.chbScontiSuReso);
    EXPECT_EQ(loaded.BaudRate, 115200);
}

TEST_F(SettingsFilesTest, BaudRateButtonAppliesAndWritesTheText) {
    Options options;
    options.cmdBaud = "9600";
    options.BaudRate = 115200;
    settings_.ApplyAndSaveBaudRate(options);
    EXPECT_EQ(options.BaudRate, 9600);
    EXPECT_EQ(program_.read(kBaudFile), "9600\r\n");
}

TEST_F(SettingsFilesTest, TimerFileFieldAndIntervalText) {
    struct ReadCase {
        const char* content;
        const char* field;
    };
    const ReadCase reads[] = {
        {"5\r\n", "5"},     {"500ms\r\n", "500ms"}, {" 1.5 \r\n", "1.5"},
        {"1,5\r\n", "1.5"}, {"7,x\r\n", "7"},       {"\r\n", ""},
        {nullptr, ""},      {"2\r\n9\r\n", "2"},    {"\xe9\xe9", "\xe9\xe9"},
    };
    for (const auto& c : reads) {
        std::filesystem::remove(program_.file(kTimerFile));
        if (c.content) program_.put(kTimerFile, c.content);
        EXPECT_EQ(settings_.ReadTimerField(), c.field) << (c.content ? c.content : "(missing)");
    }
    struct WriteCase {
        int ms;
        const char* text;
    };
    const WriteCase writes[] = {{100, "100"},   {999, "999"},    {1000, "1"},  {1500, "1.5"},
                                {2250, "2.25"}, {1001, "1.001"}, {60000, "60"}};
    for (const auto& c : writes) EXPECT_EQ(PollIntervalFileText(c.ms), c.text) << c.ms;
    settings_.WriteTimerText("500ms");
    EXPECT_EQ(program_.read(kTimerFile), "500ms\r\n");
}

}  // namespace
}  // namespace zelmar::config
