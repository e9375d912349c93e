#include "convert/field_lookup.h"

#include <gtest/gtest.h>

namespace zelmar::convert {
namespace {

// The value starts as "before": a field not found leaves it alone, an absent invoice customer
// line empties it. (Upper-casing, and the customer lines' inner semicolons, are the golden
// cases'.)
TEST(FindField, FieldsAreReadToTheNextSeparator) {
    struct Case {
        const char* line;
        const char* key;
        bool invoiceMode;
        bool found;
        const char* value;
    };
    for (const auto& c :
         {Case{"SALE,N1,P150;", ",P", false, true, "150"},
          Case{"SALE,N1,P150;", ",Q", false, false, "before"},
          Case{"SALE,N1,:PANE,S1;", ",S", false, true, "1"},  // ",S" is found inside ",S1"
          Case{"SALE,:PANE,N1;", ",:", false, true, "PANE"},
          Case{"CASH,V100", ",V", false, true, "100"}, Case{"SALE,N1,R", ",R", false, true, ""},
          Case{"", ",N", false, false, "before"},
          Case{"OPFS,:A,<B;C,=D;", ",>", true, true, ""},  // absent: empty, not the earlier value
          Case{"OPFS,:A,<B;C,=D;", ",>", false, false, "before"},
          Case{"OPFS,:A,<B;C,=D;", ",<", false, true, "B"},
          Case{"EXTL,N1,<X;Y;", ",<", true, true, "X"},  // not an invoice opening
          Case{"OPFS,:A;", ",:", true, true, "A"}}) {    // the first is an ordinary field
        std::string value = "before";
        EXPECT_EQ(FindField(FieldMode::kField, value, c.line, c.key, c.invoiceMode), c.found)
            << c.line << " " << c.key;
        EXPECT_EQ(value, c.value) << c.line << " " << c.key;
    }
}

TEST(FindField, KeywordsAreTheLineOwnKeywordOnly) {
    struct Case {
        const char* line;
        const char* keyword;
        bool found;
    };
    for (const auto& c :
         {Case{"CASH,V100;", "CASH", true}, Case{"  CASH;", "CASH", true},
          Case{"TEND,N1,V100;", "TEND,N1", true}, Case{"TEND,N1", "TEND,N1", true},
          Case{"TEND,N12,V100;", "TEND,N1", false}, Case{"TEND,V100,N1;", "TEND,N1", false},
          Case{"SALE", "SALE,", false}, Case{"", "CASH", false}}) {
        EXPECT_EQ(HasKeyword(c.line, c.keyword), c.found) << c.line << " " << c.keyword;
        std::string value;
        EXPECT_EQ(FindField(FieldMode::kKeyword, value, c.line, c.keyword), c.found) << c.line;
    }
}

}  // namespace
}  // namespace zelmar::convert
