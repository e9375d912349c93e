#include <gtest/gtest.h>

#include "link/frame.h"
#include "link/reply_codes.h"
#include "link/reply_record.h"
#include "link/status_fields.h"

namespace zelmar::link {
namespace {

TEST(Frame, ChecksumIsTheByteSumModulo256ThenModulo100AfterAnAddedSlash) {
    EXPECT_EQ(BuildCommandFrame("U/"), std::string("\x02U//79\x03"));
    EXPECT_EQ(BuildCommandFrame("x/1//"), std::string("\x02x/1///01\x03"));
    EXPECT_EQ(CalcChecksum(""), "00");
    EXPECT_EQ(CalcChecksum(std::string(3, '\xff')), "53");  // 765 % 256 = 253: bytes unsigned
}

TEST(ParseStatus, ReadsTheThreeHexFieldsAndShowsRefusals) {
    const struct {
        std::string text;
        int fields, rc, ds, fs;
        bool paperOut, documentOpen;
        std::string text1;
    } cases[] = {
        {"00/00/00/73", 3, 0, 0, 0, false, false, ""},
        {"1A/00/04/12", 3, 26, 0, 4, false, true, "RC (dec)= 26 - DS (dec)= 0 - FS (dec)= 4"},
        {"31/00/00/xx", 3, 49, 0, 0, true, false, "RC (dec)= 49 - DS (dec)= 0 - FS (dec)= 0"},
        {"20/01/00/xx", 3, 32, 1, 0, false, false, ""},  // bit 0: retried, not shown
        {"0a/fe/zz/1/2", 4, 10, 254, 0, true, false, "RC (dec)= 10 - DS (dec)= 254 - FS (dec)= 0"},
        {"123456789", 0, 0x1234, 0, 0, false, false, "RC (dec)= 4660 - DS (dec)= 0 - FS (dec)= 0"},
        {"10/00/00", 0, 0x1234, 0, 0, false, false, ""},  // too short: nothing changes
    };
    LinkState link;  // kept across rows, so a row shows what the text left unchanged
    for (const auto& c : cases) {
        WindowTexts texts;
        EXPECT_EQ(ParseStatus(c.text, link, texts), c.fields) << c.text;
        EXPECT_EQ(link.ResultCode, c.rc) << c.text;
        EXPECT_EQ(link.DeviceStatus, c.ds) << c.text;
        EXPECT_EQ(link.FiscalStatus, c.fs) << c.text;
        EXPECT_EQ(link.PaperOut, c.paperOut) << c.text;
        EXPECT_EQ(link.DocumentOpen, c.documentOpen) << c.text;
        EXPECT_EQ(texts.RegisterMessage, c.text1) << c.text;
    }
}

TEST(NetworkErrorMessage, ReadsTheFieldAsHexadecimal) {
    const struct {
        std::string field, code, message;
        int actionClass;
    } cases[] = {
        {"1A", "26", "Stampante Busy, reinviare il comando", 1},
        {" 5 ", "5", "Controllare i campi del comando", 2},
        {"64", "100", "Errore n. 100", 0},
        {"XY", "0", "", 0},
        {"1G", "1", "Campi del comando insufficienti", 2},
        {"FFFFFFFFFFFF", "4294967295", "Errore n. 4294967295", 0},
    };
    for (const auto& c : cases) {
        std::string code = c.field;
        std::string message;
        EXPECT_EQ(ErrorMessage(code, message), c.actionClass) << c.field;
        EXPECT_EQ(code, c.code) << c.field;
        EXPECT_EQ(message, c.message) << c.field;
    }
}

const std::string kStx = "\x02";

TEST(NetworkDecodeReply, CutsTheFieldsAndSetsTheBitsWithinBounds) {
    using StatusBits = std::array<bool, 6>;  // order: bits 1, 3, 4, 5, 6, 7
    using StateBits = std::array<bool, 7>;   // order: bits 7, 6, 5, 3, 2, 1, 0
    const struct {
        std::string reply, code, status, state, actionClass;
        StatusBits statusBits{};
        StateBits stateBits{};
    } cases[] = {
        // clang-format off
        {kStx + "1A/32/05/field/45\x03", "26", "32", "05", "1", {0, 0, 0, 1, 0, 0}, {0, 0, 0, 0, 1, 0, 1}},
        {"", "0", "", "", "2"},
        // An unreadable code, or no STX, is a refusal, never an accepted command.
        {kStx + "XX/YY/ZZ/\x03", "0", "YY", "ZZ", "2"},
        {"\x01" "00/00/00/\x03", "0", "00", "00", "2"},
        {kStx + "00/99/99/" + std::string(5000, 'x') + "\x03", "0", "99", "99", "0", {1, 0, 0, 1, 1, 0}, {0, 1, 1, 0, 0, 1, 1}},
        // clang-format on
    };
    for (const auto& c : cases) {
        ReplyRecord record;
        DecodeReply(record, c.reply, "ACK", c.reply, "x/");
        EXPECT_EQ(record.Code, c.code) << c.reply.substr(0, 12);
        EXPECT_EQ(record.StatusText, c.status);
        EXPECT_EQ(record.StateText, c.state);
        EXPECT_EQ(record.ActionClass, c.actionClass);
        EXPECT_EQ(record.StatusBits, c.statusBits);
        EXPECT_EQ(record.StateBits, c.stateBits);
    }
}

}  // namespace
}  // namespace zelmar::link
