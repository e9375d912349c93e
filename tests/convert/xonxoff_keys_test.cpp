#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "convert/xonxoff.h"

namespace zelmar::convert {
namespace {

using Lines = std::vector<std::string>;

struct KeysCase {
    std::string keys;
    Lines expected;
};

TEST(XonXoffKeys, WritesTheCommandLines) {
    for (const auto& [keys, expected] :
         {KeysCase{"5R", {"SALE,N5;"}}, KeysCase{"2*150H3R", {"SALE,N3,Q2,P150;"}},
          KeysCase{"\"PANE\"2*150H3R", {"PLUD,C[1],N3,:PANE,Q2,P150;"}},
          KeysCase{"9M500H4R", {"SALE,N4,P500,R;"}}, KeysCase{"10*1M", {"DISC,%10;"}},
          KeysCase{"200H4M", {"SUBT;", "COST,V200;"}}, KeysCase{"1000H1T", {"CASH,V1000;"}},
          KeysCase{"1000H4T", {"TEND,N4,V1000;"}}, KeysCase{"\"GRAZIE\"@", {"PRNT,:GRAZIE;"}},
          KeysCase{"3O", {"OPER,C3;"}}, KeysCase{"39F", {"FUNC,N39;"}},
          // Function keys write at once and leave a pending number alone.
          KeysCase{"12a3R", {"OPEN;", "SALE,N123;"}},
          KeysCase{
              "aKjJ=czyx",
              {"OPEN;", "CLEA;", "OPNF;", "CLNF;", "SUBT;", "REGK;", "ZKEY;", "MGRK;", "XKEY;"}},
          // Keys without their number write nothing.
          KeysCase{"T", {}}, KeysCase{"#", {}}, KeysCase{"O", {}}, KeysCase{"M", {}},
          KeysCase{"5#", {"CLER,C5;"}},
          // A bare Z stays in the number.
          KeysCase{"Z5R", {"SALE,NZ5;"}}, KeysCase{"1Z", {"BARC,T1,H0,1234567890123;"}},
          KeysCase{"3Z4Z", {"BARC,T4,H0,1234567890123;", "BARC,T4,H0,1234567890123;"}},
          // "0T" turns the tender flag on and keeps it until a line is written.
          KeysCase{"0T150H@150H@", {"PRNT,N0,V150;", "PRNT,P150;"}},
          KeysCase{"2T3T", {"CHEQ;", "CARD;"}}, KeysCase{"0M4R", {"SALE,N4,S;"}},
          KeysCase{"12M13M", {"CRED;", "RECO;"}}, KeysCase{"2*6M", {"SUBT;", "MOST,%2;"}},
          KeysCase{"1*1M", {"DISC;"}}, KeysCase{"5*2M", {"SUBT;", "DOST,%5;"}},
          KeysCase{"50H3M", {"COUP,V50;"}}, KeysCase{"3*5M", {"MAGG,%3;"}},
          KeysCase{"50H7M", {"ADDI,V50;"}}, KeysCase{"50H8M", {"SUBT;", "ADDS,V50;"}},
          KeysCase{"5*2P", {"PLUI,N2,Q5;"}}, KeysCase{"1*3R", {"SALE,N3;"}},
          KeysCase{"1.5*3R", {"SALE,N3,Q1.5;"}}, KeysCase{"1 0 * 3 R", {"SALE,N3,Q10;"}},
          // Quotes: commas become points; a description feeds the next command.
          KeysCase{"\"A,B\"@", {"PRNT,:A.B;"}}, KeysCase{"\"CIAO\">", {"DISP,,N1,C2,:CIAO;"}},
          KeysCase{"\"OPEN a\"", {}}, KeysCase{"\"", {}}, KeysCase{"", {}}}) {
        Lines lines;
        ParseXonXoffKeys(keys, lines);
        EXPECT_EQ(lines, expected) << keys;
    }
}

}  // namespace
}  // namespace zelmar::convert
