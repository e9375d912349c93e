#include <gtest/gtest.h>

#include <string>

#include "convert/normalizer.h"

namespace zelmar::convert {
namespace {

constexpr int kDescriptionWidth = 60;  // what the converter passes

struct LineCase {
    std::string input;
    std::string expected;
};

class NormalizeLineTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(NormalizeLineTest, GivesTheCanonicalLine) {
    EXPECT_EQ(NormalizeCommandLine(GetParam().input, kDescriptionWidth), GetParam().expected)
        << GetParam().input;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, NormalizeLineTest,
    ::testing::Values(
        LineCase{"", ""}, LineCase{"SUBT", "SUBT;"}, LineCase{"SUBT;", "SUBT;"},
        LineCase{"subtotal", "SUBT;"}, LineCase{"PLUD,C1,", "PLUD,C1,;"},
        LineCase{"SALE,,N1", "SALE,N1;"}, LineCase{"SALE,N1,P150;", "SALE,N1,P150;"},
        LineCase{"sale,n 3 ,p150,:bread;", "SALE,N3,P150,:BREAD;"},
        LineCase{"SALE,N1,P010.50", "SALE,N1,P10.5;"}, LineCase{"SALE,Q2.5,P3", "SALE,Q2.500,P3;"},
        LineCase{"SALE,Q0.12345", "SALE,Q0.123;"}, LineCase{"SALE,Q1.0", "SALE,Q1;"},
        LineCase{"SALE,Q,R", "SALE,Q1,R;"}, LineCase{"SALE,N1,S1", "SALE,N1,S1;"},
        LineCase{"SALE,C00123", "SALE,C123;"}, LineCase{"DISC,%12.345", "DISC,%12.34;"},
        LineCase{"DISC,%7.5", "DISC,%7.50;"}, LineCase{"MAGG,%05", "MAGG,%5;"},
        LineCase{"CASH,V0150", "CASH,V150;"}, LineCase{"CASH,V1x5y0", "CASH,V150;"},
        LineCase{"OPER,C08", "OPER,C8;"},
        // Codes keep their digits as written.
        LineCase{"PLUD,C[ab12],N01", "PLUD,C[AB12],N1;"},
        LineCase{"LOTT,C[abc12345]", "LOTT,C[ABC12345];"}, LineCase{"CLER,C007", "CLER,C007;"},
        LineCase{"NDCR,D010424,N00120034,>POS", "NDCR,D010424,N00120034,>POS;"},
        LineCase{"DELD,D01-04-24,N0012", "DELD,D01-04-24,N0012;"},
        // Descriptions.
        LineCase{"PLUD,:PANE, LATTE", "PLUD,:PANE,L1;"}, LineCase{"PRNT,:Totale", "PRNT,:TOT.  ;"},
        LineCase{"PRNT,:totale", "PRNT,:TOT.  ;"}, LineCase{"PRNT,:", "PRNT,: ;"},
        LineCase{"PRNT,x:abc", "PRNT,:ABC;"}, LineCase{"PRNT,:a\tb", "PRNT,:AB;"},
        LineCase{"PRNT,:CIAO;", "PRNT,:CIAO;"}));

struct CharacterCase {
    std::string description;
    std::string expected;
};

class TransliterationTest : public ::testing::TestWithParam<CharacterCase> {};

TEST_P(TransliterationTest, ReplacesWindows1252Characters) {
    EXPECT_EQ(NormalizeCommandLine("PRNT,:" + GetParam().description, kDescriptionWidth),
              "PRNT,:" + GetParam().expected + ";");
}

// The description is upper-cased first, so lower-case accented letters reach the table in
// their capital form.
INSTANTIATE_TEST_SUITE_P(
    Characters, TransliterationTest,
    ::testing::Values(CharacterCase{"caff\xe8", "CAFFE"},
                      CharacterCase{"\xe0\xe8\xe9\xec\xf2\xf9", "AEEIOU"},
                      CharacterCase{"\xc0\xc1\xc8\xc9\xcc\xcd\xd2\xd3\xd9\xda", "AAEEIIOOUU"},
                      CharacterCase{"\x80", "E"}, CharacterCase{"\x82\x85\x87", "eac"},
                      CharacterCase{"\x88\x8a\x8d\x95\x97", "eeiou"}, CharacterCase{"\xc3", "E"},
                      CharacterCase{"pane & vino", "PANE e VINO"},
                      CharacterCase{"\xe4\xc4\xf6\xd6\xfc\xdc", "AEAEOEOEUEUE"},
                      CharacterCase{"\x9c", "\x8c"},  // oe becomes its capital, not in the table
                      CharacterCase{"\xf5\xf8", "\xd5\xd8"}, CharacterCase{"\xdf", "\xdf"}));

TEST(NormalizeDescriptionWidthTest, CutsAfterTransliteration) {
    const std::string seventy(70, 'A');
    EXPECT_EQ(NormalizeCommandLine("PRNT,:" + seventy, 60), "PRNT,:" + std::string(60, 'A') + ";");
    std::string writtenOut;
    for (int i = 0; i < 30; ++i) writtenOut += "AE";
    EXPECT_EQ(NormalizeCommandLine("PRNT,:" + std::string(40, '\xe4'), 60),
              "PRNT,:" + writtenOut + ";");
    EXPECT_EQ(NormalizeCommandLine("PRNT,:ABC", -5), "PRNT,: ;");
}

struct NumberCase {
    std::string text;
    std::string canonical;
};

class CanonicalNumberTest : public ::testing::TestWithParam<NumberCase> {};

TEST_P(CanonicalNumberTest, WritesTheShortestForm) {
    EXPECT_EQ(CanonicalNumber(GetParam().text), GetParam().canonical) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Numbers, CanonicalNumberTest,
                         ::testing::Values(NumberCase{"010.50", "10.5"}, NumberCase{"", "0"},
                                           NumberCase{".", "0"}, NumberCase{".5", "0.5"},
                                           NumberCase{"5.", "5"}, NumberCase{"000", "0"},
                                           NumberCase{"-0.0", "0"}, NumberCase{"-12.30", "-12.3"},
                                           NumberCase{"1,5", "1.5"}, NumberCase{" 7x", "7"},
                                           NumberCase{"1.2.3", "1.2"},
                                           NumberCase{"123456789012345678901234567890",
                                                      "123456789012345678901234567890"}));

}  // namespace
}  // namespace zelmar::convert
