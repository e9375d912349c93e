#include "config/settings_files.h"

#include <gtest/gtest.h>

#include <tuple>

#include "config/scratch_folder.h"
#include "platform/fake/fake_file_system.h"

namespace zelmar::config {
namespace {

class SettingsFilesTest : public ::testing::Test {
  protected:
    SettingsFilesTest() : program_("settings"), settings_(files_, program_.path()) {}

    // Gives `name` the content (nullptr: no such file).
    void Put(const char* name, const char* content) {
        std::filesystem::remove(program_.file(name));
        if (content) program_.put(name, content);
    }
    SocketTarget LoadWith(const char* name, const char* content, Options& options) {
        Put(name, content);
        return settings_.Load(options);
    }

    testing::ScratchFolder program_;
    platform::FakeFileSystem files_;
    SettingsFiles settings_;
};

// ZMCHKCOM.TXT in another form than ours serves every slot, and the save at exit (after start-up
// unticked the slots without a port) leaves it as it is.
TEST_F(SettingsFilesTest, SlotBoxesAndBaudRate) {
    constexpr std::array<bool, 4> kAll{true, true, true, true};
    const std::tuple<const char*, std::array<bool, 4>, bool> slots[] = {
        {"1010\r\n", {true, false, true, false}, false},
        {nullptr, kAll, false},
        {"011111111\r\n", kAll, true},
        {"1x1\xff\r\n", kAll, true},
    };
    for (const auto& [content, ticked, kept] : slots) {
        SCOPED_TRACE(content ? content : "(missing)");
        Options options;
        LoadWith(kSlotsFile, content, options);
        EXPECT_EQ(options.SlotServed, ticked);
        options.SlotServed = {};
        settings_.Save(options);
        EXPECT_EQ(program_.read(kSlotsFile), kept ? content : "0000\r\n");
    }
    const std::pair<const char*, int> rates[] = {
        {"115200\r\n", 115200}, {nullptr, 9600}, {"0\r\n", 9600}};
    for (const auto& [content, rate] : rates) {
        Options options;
        LoadWith(kBaudFile, content, options);
        EXPECT_EQ(options.BaudRateText, std::to_string(rate)) << (content ? content : "(missing)");
    }
}

TEST_F(SettingsFilesTest, OptionsFileEdgeCases) {
    Options designTime;
    designTime.OpenReceiptPolicy = designTime.UseNetwork = 1;
    designTime.ConnectTimeoutChoice = 4;
    designTime.RegisterAddress = "1.2.3.4";
    designTime.RegisterPort = "7000";
    // The file (nullptr: none), and the receipt policy, connection time-out, address, socket
    // host, port, socket port, trace and network choice it leaves.
    const std::pair<const char*, const char*> cases[] = {
        {nullptr, "0|4|1.2.3.4||7000||0|1"},  // the receipt policy to 0, the rest kept
        {"1\r\n0\r\n0\r\n0\r\n\r\n0\r\nS\r\n", "1|0|1.2.3.4||7000||0|0"},  // seven lines
        {"3\r\n1\r\n1\r\n1\r\n 1.2 \r\n9\r\n", "0|1|1.2.3.4||7000||1|1"},  // 3 and 9 off the lists
        {"0\r\n0\r\n0\r\n0\r\n \r\n 1 \r\nS\r\n\r\n",
         "0|1|1.2.3.4||9101|9101|0|0"},  // an empty port
        {"2\r\n0\r\n0\r\n0\r\n10.0.0.9\r\n 3 \r\nR\r\n65536\r\n",
         "2|3|10.0.0.9|10.0.0.9|9101|9101|0|1"},  // a port above 65535
        {"\xff\xfe\r\nzz\r\n1,0\r\n\x80\x81\r\n300.1.1.1\r\n",
         "0|4|1.2.3.4||7000||1|1"},  // garbage
    };
    for (const auto& [content, expected] : cases) {
        Options o = designTime;
        const SocketTarget socket = LoadWith(kOptionsFile, content, o);
        EXPECT_EQ(std::to_string(o.OpenReceiptPolicy) + "|" +
                      std::to_string(o.ConnectTimeoutChoice) + "|" + o.RegisterAddress + "|" +
                      socket.remoteHost + "|" + o.RegisterPort + "|" + socket.remotePort + "|" +
                      std::to_string(o.TraceOn) + "|" + std::to_string(o.UseNetwork),
                  expected)
            << (content ? content : "(missing)");
    }

    program_.put(kOptionsFile, std::string(200000, '7') + "\r\n" + std::string(5000, '\0'));
    Options options = designTime;
    settings_.Load(options);
    EXPECT_EQ(options.OpenReceiptPolicy, 0);
    EXPECT_EQ(options.RegisterAddress, "1.2.3.4");
}

TEST_F(SettingsFilesTest, SaveWritesTheThreeFilesExactlyAndLoadReadsThemBack) {
    Options options;
    options.SlotServed = {true, false, false, true};
    options.OpenReceiptPolicy = 2;
    options.TraceOn = options.DiscountsOnRefund = options.NoTotalsInResult = true;
    options.RegisterAddress = "10.0.0.300";  // fails the check: written as one blank
    options.ConnectTimeoutChoice = 2;        // "30 sec."
    options.UseNetwork = options.FastMode = true;
    options.BaudRateText = "115200";
    settings_.Save(options);
    for (const char* pass : {"saved", "loaded into fresh options and saved again"}) {
        SCOPED_TRACE(pass);
        EXPECT_EQ(program_.read(kSlotsFile), "1001\r\n");
        EXPECT_EQ(program_.read(kBaudFile), "115200\r\n");
        EXPECT_EQ(
            program_.read(kOptionsFile),
            "2\r\n0\r\n1\r\n0\r\n \r\n 2 \r\nR\r\n9101\r\n0\r\n0\r\n0\r\n1\r\n0\r\nF\r\n1\r\n");
        Options loaded;  // every line must read back into the control it came from
        settings_.Load(loaded);
        settings_.Save(loaded);
    }
}

// The interval may have been written with a decimal comma; whole seconds are written bare.
TEST_F(SettingsFilesTest, TimerFileFieldAndIntervalText) {
    const std::pair<const char*, const char*> reads[] = {
        {"500ms\r\n", "500ms"}, {" 1,5 \r\n", "1.5"}, {"7,x\r\n", "7"}, {nullptr, ""}};
    for (const auto& [content, field] : reads) {
        Put(kTimerFile, content);
        EXPECT_EQ(settings_.ReadTimerField(), field) << (content ? content : "(missing)");
    }
    const std::pair<int, const char*> writes[] = {{999, "999"}, {1500, "1.5"}, {1001, "1.001"}};
    for (const auto& [ms, text] : writes) EXPECT_EQ(PollIntervalFileText(ms), text) << ms;
}

}  // namespace
}  // namespace zelmar::config
