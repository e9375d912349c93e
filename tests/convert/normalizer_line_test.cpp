#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "convert/normalizer.h"

namespace zelmar::convert {
namespace {

constexpr int kDescriptionWidth = 60;  // what the converter passes

using Case = std::pair<std::string, std::string>;

TEST(NormalizeCommandLine, GivesTheCanonicalLine) {
    for (const auto& [input, expected] :
         {Case{"", ""}, Case{"SUBT", "SUBT;"}, Case{"subtotal", "SUBT;"},
          Case{"PLUD,C1,", "PLUD,C1,;"}, Case{"SALE,,N1", "SALE,N1;"},
          Case{"sale,n 3 ,p150,:bread;", "SALE,N3,P150,:BREAD;"},
          Case{"SALE,N1,P010.50", "SALE,N1,P10.5;"}, Case{"SALE,Q0.12345", "SALE,Q0.123;"},
          Case{"SALE,Q1.0", "SALE,Q1;"}, Case{"SALE,Q,R", "SALE,Q1,R;"},
          Case{"SALE,N1,S1", "SALE,N1,S1;"}, Case{"SALE,C00123", "SALE,C123;"},
          Case{"DISC,%12.345", "DISC,%12.34;"}, Case{"DISC,%7.5", "DISC,%7.50;"},
          Case{"MAGG,%05", "MAGG,%5;"}, Case{"CASH,V0150", "CASH,V150;"},
          Case{"CASH,V1x5y0", "CASH,V150;"}, Case{"OPER,C08", "OPER,C8;"},
          // Codes keep their digits as written.
          Case{"PLUD,C[ab12],N01", "PLUD,C[AB12],N1;"},
          Case{"LOTT,C[abc12345]", "LOTT,C[ABC12345];"}, Case{"CLER,C007", "CLER,C007;"},
          Case{"NDCR,D010424,N00120034,>POS", "NDCR,D010424,N00120034,>POS;"},
          Case{"DELD,D01-04-24,N0012", "DELD,D01-04-24,N0012;"},
          // Descriptions.
          Case{"PLUD,:PANE, LATTE", "PLUD,:PANE,L1;"}, Case{"PRNT,:Totale", "PRNT,:TOT.  ;"},
          Case{"PRNT,:", "PRNT,: ;"}, Case{"PRNT,x:abc", "PRNT,:ABC;"},
          Case{"PRNT,:a\tb", "PRNT,:AB;"}})
        EXPECT_EQ(NormalizeCommandLine(input, kDescriptionWidth), expected) << input;
}

// The description is upper-cased first, so lower-case accented letters reach the table in
// their capital form.
TEST(NormalizeCommandLine, ReplacesWindows1252Characters) {
    for (const auto& [description, expected] :
         {Case{"caff\xe8", "CAFFE"}, Case{"\xe0\xe8\xe9\xec\xf2\xf9", "AEEIOU"},
          Case{"\xc0\xc1\xc8\xc9\xcc\xcd\xd2\xd3\xd9\xda", "AAEEIIOOUU"}, Case{"\x80", "E"},
          Case{"\x82\x85\x87", "eac"}, Case{"\x88\x8a\x8d\x95\x97", "eeiou"}, Case{"\xc3", "E"},
          Case{"pane & vino", "PANE e VINO"}, Case{"\xe4\xc4\xf6\xd6\xfc\xdc", "AEAEOEOEUEUE"},
          Case{"\x9c", "\x8c"},  // oe becomes its capital, not in the table
          Case{"\xf5\xf8", "\xd5\xd8"}, Case{"\xdf", "\xdf"}})
        EXPECT_EQ(NormalizeCommandLine("PRNT,:" + description, kDescriptionWidth),
                  "PRNT,:" + expected + ";");
}

TEST(NormalizeDescriptionWidthTest, CutsAfterTransliteration) {
    const std::string seventy(70, 'A');
    EXPECT_EQ(NormalizeCommandLine("PRNT,:" + seventy, 60), "PRNT,:" + std::string(60, 'A') + ";");
    std::string writtenOut;
    for (int i = 0; i < 30; ++i) writtenOut += "AE";
    EXPECT_EQ(NormalizeCommandLine("PRNT,:" + std::string(40, '\xe4'), 60),
              "PRNT,:" + writtenOut + ";");
    EXPECT_EQ(NormalizeCommandLine("PRNT,:ABC", -5), "PRNT,: ;");
}

TEST(CanonicalNumber, WritesTheShortestForm) {
    for (const auto& [text, canonical] :
         {Case{"", "0"}, Case{".", "0"}, Case{".5", "0.5"}, Case{"5.", "5"}, Case{"000", "0"},
          Case{"-0.0", "0"}, Case{"-12.30", "-12.3"}, Case{"1,5", "1.5"}, Case{" 7x", "7"},
          Case{"1.2.3", "1.2"},
          Case{"123456789012345678901234567890", "123456789012345678901234567890"}})
        EXPECT_EQ(CanonicalNumber(text), canonical) << text;
}

}  // namespace
}  // namespace zelmar::convert
