#include "link/frame.h"

#include <gtest/gtest.h>

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
        {"00/04/00/xx", 3, 0, 4, 0, true, false, ""},
        {"20/01/00/xx", 3, 32, 1, 0, false, false, ""},  // bit 0: retried, not shown
        {"0a/fe/zz/1/2", 4, 10, 254, 0, true, false, "RC (dec)= 10 - DS (dec)= 254 - FS (dec)= 0"},
        // One long field: at most four digits are read, the missing fields read 0.
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

}  // namespace
}  // namespace zelmar::link
