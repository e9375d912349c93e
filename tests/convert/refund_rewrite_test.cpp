#include "convert/refund_rewrite.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/paths.h"
#include "common/text_file.h"
#include "convert/converter_test_support.h"

namespace zelmar::convert {
namespace {

using Lines = std::vector<std::string>;

struct RewriteCase {
    const char* name;
    Lines input;
    Lines expected;
};

class RefundRewriteTest : public ::testing::TestWithParam<RewriteCase> {
  protected:
    testing::ScratchFolder folder_{"refund"};
    const std::string job_ = JoinPath(folder_.path(), "SR_DATI.001");
};

TEST_P(RefundRewriteTest, ReordersAndRewritesInPlace) {
    ASSERT_TRUE(WriteTextLines(job_, GetParam().input));
    RewriteRefundDiscounts(job_, job_);
    Lines lines;
    ASSERT_TRUE(ReadTextLines(job_, lines));
    EXPECT_EQ(lines, GetParam().expected);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_.path()),
                            std::filesystem::directory_iterator()),
              1);  // no temporary file left behind
}

INSTANTIATE_TEST_SUITE_P(
    Jobs, RefundRewriteTest,
    ::testing::Values(
        RewriteCase{"CouponAfterRefund",
                    {"SALE,N1,P100;", "PLUD,C7,:PANE,N2,P300,R;", "COUP,V50;", "CASH,V250;"},
                    {"SALE,N1,P100;", "PLUD,:PANE,N2,P300,R;",
                     "PLUD,N1,C1,:  RESO SCONTO + 0.50,P50;", "CASH,V250;"}},
        RewriteCase{"PercentageAfterRefund",
                    {"SALE,N3,P1000,Q2,R;", "DISC,%10;"},
                    {"PLUD,: ,N3,P1000,Q2,R;", "PLUD,N1,C1,:  RESO SCONTO + 10.00 % ,P100;"}},
        // A fraction of a hundredth cannot be sent: the amount is rounded.
        RewriteCase{"PercentageRoundedToHundredths",
                    {"SALE,N1,P999,R;", "DISC,%12.5;"},
                    {"PLUD,: ,N1,P999,R;", "PLUD,N1,C1,:  RESO SCONTO + 12.50 % ,P125;"}},
        RewriteCase{"OnlyTheFirstDiscountIsCompensated",
                    {"SALE,N1,P500,R;", "COUP,V50;", "COUP,V20;"},
                    {"PLUD,: ,N1,P500,R;", "PLUD,N1,C1,:  RESO SCONTO + 0.50,P50;", "COUP,V20;"}},
        RewriteCase{"CouponWithoutAmountStays",
                    {"SALE,N1,P500,R;", "COUP,:BUONO;", "COUP,V20;"},
                    {"PLUD,: ,N1,P500,R;", "COUP,:BUONO;", "COUP,V20;"}},
        RewriteCase{"SalesAfterARefundComeFirst",
                    {"SALE,N1,P500,R;", "SALE,N1,P100;"},
                    {"SALE,N1,P100;", "PLUD,: ,N1,P500,R;"}},
        RewriteCase{"RefundFieldsInFixedOrder",
                    {"SALE,Q1,P0200,Z7,N03,C[123],R;", "SALE,Z2,R;"},
                    {"PLUD,: ,N3,Z3,P200,R;", "PLUD,: ,N1,Z2,P0,R;"}},
        RewriteCase{"SubtotalStaysSubtotalDiscountCloses",
                    {"SALE,N1,P100;", "SUBT;", "COST,V10;", "SALE,N2,P200,R;"},
                    {"SALE,N1,P100;", "SUBT;", "PLUD,: ,N2,P200,R;", "COST,V10;"}},
        RewriteCase{"EveryPaymentFollowsTheRefunds",
                    {"SALE,N2,P200,R;", "BANC,V100;", "TICK,V50;", "SALE,N1,P500;"},
                    {"SALE,N1,P500;", "PLUD,: ,N2,P200,R;", "BANC,V100;", "TICK,V50;"}},
        RewriteCase{"CommentsWithCustomerCodes",
                    {"PRNT,:RSSMRA85T10A562S;", "PRNT,:->RSSMRA85T10A562S;", "PRNT,:01234567897;",
                     "PRNT,:VIA ROMA->2;", "PRNT,:GRAZIE;", "PRNT;", "SALE,N1,P100;"},
                    {"PRNT,:GRAZIE;", "SALE,N1,P100;", "PRNT,:RSSMRA85T10A562S;", "FUNC,N39;",
                     "PRNT,:RSSMRA85T10A562S;", "PRNT,:01234567897;", "FUNC,N39;",
                     "PRNT,:VIA ROMA2;", "PRNT;"}},
        RewriteCase{"CommentsStayWithTheirRefund",
                    {"SALE,N1,P100,R;", "PRNT,:RESO;", "DISC,%10;", "SALE,N2,P50;"},
                    {"SALE,N2,P50;", "PLUD,: ,N1,P100,R;", "PRNT,:RESO;",
                     "PLUD,N1,C1,:  RESO SCONTO + 10.00 % ,P10;"}},
        RewriteCase{"NonFiscalSectionsGoLast",
                    {"OPNF;", "PRNT,:CIAO;", "CASH,V1;", "CLNF;", "SALE,N1,P100;", "CASH,V100;"},
                    {"SALE,N1,P100;", "CASH,V100;", "OPNF;", "PRNT,:CIAO;", "CASH,V1;", "CLNF;"}},
        // Keywords are read at the line start only: descriptions trigger nothing.
        RewriteCase{"DescriptionsAreNotKeywords",
                    {"SALE,N1,P100,:CASHMERE;", "SALE,N1,P100,:OPFS;"},
                    {"SALE,N1,P100,:CASHMERE;", "SALE,N1,P100,:OPFS;"}},
        RewriteCase{"EmptyJob", {}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

// The job is replaced whole or not at all: an invoice, an unreadable input and a failed write
// leave every file as it was.
TEST(RefundRewriteFile, LeavesTheFilesAloneWhenNothingMayChange) {
    testing::ScratchFolder folder{"refund"};
    const std::string job = folder.file("SR_DATI.001"), missing = folder.file("missing.001");
    const std::string invoice = "SALE,N1,P100,R;\nOPFS,:ROSSI;\nCOUP,V5;";  // LF ends kept
    folder.put("SR_DATI.001", invoice);
    RewriteRefundDiscounts(job, job);
    EXPECT_EQ(folder.read("SR_DATI.001"), invoice);

    folder.put("out.txt", "KEEP;\r\n");
    RewriteRefundDiscounts(missing, folder.file("out.txt"));
    EXPECT_EQ(folder.read("out.txt"), "KEEP;\r\n");
    RewriteRefundDiscounts(missing, missing);
    EXPECT_FALSE(folder.has("missing.001"));

    const std::string refund = "SALE,N1,P500,R;\r\nSALE,N1,P100;\r\n";
    folder.put("SR_DATI.001", refund);
    std::filesystem::create_directory(job + ".tmp");  // the temporary file cannot be created
    RewriteRefundDiscounts(job, job);
    EXPECT_EQ(folder.read("SR_DATI.001"), refund);
}

}  // namespace
}  // namespace zelmar::convert
