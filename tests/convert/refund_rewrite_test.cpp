#include "convert/refund_rewrite.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/text_file.h"
#include "convert/converter_test_support.h"

namespace zelmar::convert {
namespace {

// The cases in refund_rewrite/*.txt: a job and the job it becomes, rewritten in place with no
// temporary file left behind.
TEST(RefundRewrite, EveryCaseReordersAndRewritesInPlace) {
    const auto cases = testing::GoldenCases("refund_rewrite");
    ASSERT_GT(cases.size(), 0u);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        testing::ScratchFolder folder{"refund"};
        const std::string job = folder.file("SR_DATI.001");
        ASSERT_TRUE(WriteTextLines(job, c.job));
        RewriteRefundDiscounts(job, job);
        std::vector<std::string> lines;
        ASSERT_TRUE(ReadTextLines(job, lines));
        EXPECT_EQ(lines, c.expected);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                                std::filesystem::directory_iterator()),
                  1);
    }
}

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
