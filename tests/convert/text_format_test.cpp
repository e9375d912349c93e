#include "convert/text_format.h"

#include <gtest/gtest.h>

namespace zelmar::convert {
namespace {

// Short texts never read past their end.
TEST(TextFormat, DatesAndDocumentNumbersOfShortTexts) {
    EXPECT_EQ(DateWithCentury("010424"), "01042024");
    EXPECT_EQ(DateWithCentury("01"), "0120");
    EXPECT_EQ(DocumentNumberFields("00120034"), "/12/34");
    EXPECT_EQ(DocumentNumberFields("12"), "/12/0");
    EXPECT_EQ(Mid("abc", 5), "");
}

}  // namespace
}  // namespace zelmar::convert
