#include "convert/field_lookup.h"

#include <gtest/gtest.h>

namespace zelmar::convert {
namespace {

TEST(FindField, FieldsAreFoundAnywhereAndReadToTheNextSeparator) {
    struct Case {
        const char* line;
        const char* key;
        bool found;
        const char* value;  // what the value holds afterwards (it starts as "before")
    };
    const Case cases[] = {
        {"SALE,N1,P150;", ",N", true, "1"},
        {"SALE,N1,P150;", ",P", true, "150"},
        {"SALE,N1,P150;", ",Q", false, "before"},
        {"SALE,N1,:PANE,S1;", ",S", true, "1"},  // ",S" is found inside ",S1"
        {"SALE,:PANE,N1;", ",:", true, "PANE"},
        {"sale,n5;", ",N", true, "5"},
        {"CASH,V100", ",V", true, "100"},
        {"SALE,N1,R", ",R", true, ""},
        {"SALE,N1,R;", ",R", true, ""},
        {"", ",N", false, "before"},
        {",", ",N", false, "before"},
    };
    for (const auto& c : cases) {
        std::string value = "before";
        EXPECT_EQ(FindField(FieldMode::kField, value, c.line, c.key), c.found) << c.line;
        EXPECT_EQ(value, c.value) << c.line << " " << c.key;
    }
}

TEST(FindField, KeywordsAreTheLineOwnKeywordOnly) {
    struct Case {
        const char* line;
        const char* keyword;
        bool found;
    };
    const Case cases[] = {
        {"CASH,V100;", "CASH", true},
        {"cash,v100;", "CASH", true},
        {"  CASH;", "CASH", true},
        {"SALE,N1,:CASHMERE;", "CASH", false},
        {"TEND,N1,V100;", "TEND,N1", true},
        {"TEND,N1;", "TEND,N1", true},
        {"TEND,N1", "TEND,N1", true},
        {"TEND,N12,V100;", "TEND,N1", false},
        {"TEND,V100,N1;", "TEND,N1", false},
        {"SALE", "SALE,", false},
        {"", "CASH", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(HasKeyword(c.line, c.keyword), c.found) << c.line << " " << c.keyword;
        std::string value;
        EXPECT_EQ(FindField(FieldMode::kKeyword, value, c.line, c.keyword), c.found) << c.line;
    }
}

TEST(FindField, InvoiceCustomerLinesKeepSemicolonsAndAlwaysAnswer) {
    struct Case {
        const char* line;
        const char* key;
        bool invoiceMode;
        bool found;
        const char* value;
    };
    const Case cases[] = {
        {"OPFS,:A,<B;C,=D;", ",<", true, true, "B;C"},
        {"OPFS,:A,<B;C,=D;", ",=", true, true, "D"},
        {"OPFS,:A,<B;C,=D;;", ",=", true, true, "D;"},
        {"OPFS,:A,<B;C,=D;", ",>", true, true, ""},  // absent: empty, not the earlier value
        {"OPFS,:A,<B;C,=D;", ",>", false, false, "before"},
        {"OPFS,:A,<B;C,=D;", ",<", false, true, "B"},
        {"EXTL,N1,<X;Y;", ",<", true, true, "X"},  // not an invoice opening
        {"OPFS,:A;", ",:", true, true, "A"},       // the first line is an ordinary field
    };
    for (const auto& c : cases) {
        std::string value = "before";
        EXPECT_EQ(FindField(FieldMode::kField, value, c.line, c.key, c.invoiceMode), c.found)
            << c.line << " " << c.key;
        EXPECT_EQ(value, c.value) << c.line << " " << c.key;
    }
}

}  // namespace
}  // namespace zelmar::convert
