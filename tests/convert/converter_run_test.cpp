// The conversion run as a whole: files, shared flags, failures, hostile input.
#include <gtest/gtest.h>

#include "common/paths.h"
#include "convert/converter.h"
#include "convert/converter_test_support.h"
#include "convert/job_file.h"
#include "convert/refund_rewrite.h"

namespace zelmar::convert::testing {
namespace {

class ConverterRun : public ::testing::Test {
  protected:
    ScratchFolder folder{"convert"};
    Session session = MakeSession(folder.path());
    NoTrace trace;
};

TEST_F(ConverterRun, CommandsAreWrittenWithCrLf) {
    EXPECT_EQ(ConvertJob(session, {"SALE,N1,P150;", "CASH;"}).result, 0);
    EXPECT_EQ(folder.read(kCommandFileName), "3/S/REPARTO 1//1/1.50/1/22.00\r\n5/1/0//////\r\n");
    EXPECT_EQ(session.conv.CommandFilePath, folder.file(kCommandFileName));
}

TEST_F(ConverterRun, SharedFlagsAreLeftForTheDriverAndClearedByTheNextRun) {
    session.reg().IsRtRegister = true;
    ConvertJob(session, {"RLPR;", "OPFS,:ROSSI,<VIA ROMA;", "SALE,N1,P100;",
                         "NDCR,D010424,N00120034,>POS;", "OPNF;"});
    const ConversionState& conv = session.conv;
    // reprint, invoice open, receipt with sales, non-fiscal open; invoice and refund modes
    const auto flags = [&] {
        return std::vector<bool>{conv.ReprintRequest, conv.InvoiceOpen, conv.ReceiptHasSales,
                                 conv.NonFiscalOpen,  conv.InvoiceMode, conv.RefundMode};
    };
    EXPECT_EQ(flags(), (std::vector<bool>{true, true, true, true, false, false}));
    EXPECT_EQ(conv.InvoiceHeader,
              (std::array<std::string, 7>{"ROSSI", "VIA ROMA", "", "", " ", " ", " "}));

    ConvertJob(session, {"CASH;"});
    // the driver clears the reprint request; the modes are cleared at the end of every run
    EXPECT_EQ(flags(), (std::vector<bool>{true, false, false, false, false, false}));
    EXPECT_EQ(conv.InvoiceHeader, (std::array<std::string, 7>{}));
}

TEST_F(ConverterRun, ReadCreatesTheNamedFileEmpty) {
    folder.put("DATI.001", "old data\r\n");
    EXPECT_EQ(ConvertJob(session, {"READ,:DATI;"}).result, 0);
    EXPECT_EQ(folder.read("DATI.001"), "");
    EXPECT_EQ(ConvertJob(session, {"READ;"}).result, 0);
    EXPECT_TRUE(folder.has(kReadDefaultName));
}

TEST(ResolveReadFileName, NamesPathsAndTheSlotExtension) {
    const std::string dataFolder = "data";
    const std::pair<const char*, std::string> cases[] = {
        {"READ;", JoinPath(dataFolder, "DataReceived.txt")},
        {"READ,:\"\";", JoinPath(dataFolder, "DataReceived.txt")},
        {"READ,:DATI;", JoinPath(dataFolder, "DATI.003")},
        {"READ,:C:\\OUT\\DATI;", "C:\\OUT\\DATI.003"},
        {"READ,:C:\\OUT\\DATI.TXT;", "C:\\OUT\\DATI.TXT"},
        {"READ,:/tmp/out/dati;", "/tmp/out/dati.003"}};
    for (const auto& [line, name] : cases)
        EXPECT_EQ(ResolveReadFileName(line, dataFolder, 3), name);
}

TEST_F(ConverterRun, KeystrokeJobsGoThroughTheIntermediateFile) {
    session.options.KeystrokeInput = true;
    std::string path = folder.file("SR_DATI.001");
    folder.put("SR_DATI.001", "150H\r\n3R\r\n");
    EXPECT_EQ(Converter(session, trace).ConvertJobFile(path), 0);
    EXPECT_EQ(path, JoinPath(folder.path(), kKeystrokeJobName));
    EXPECT_EQ(folder.read(kCommandFileName), "3/S/REPARTO 3//1/1.50/3/4.00\r\n");
    std::string missing = folder.file("SR_DATI.002");
    EXPECT_EQ(Converter(session, trace).ConvertJobFile(missing), 1);
}

// Every reader of a job file refuses one over the bound, before reading it; one at the bound is
// still a job (the blanks that fill it up are passed over).
TEST_F(ConverterRun, AJobFileOverTheBoundIsRefusedByEveryReader) {
    std::string path = folder.file("SR_DATI.001");
    const auto put = [&](const std::string& job, long long size) {
        folder.put("SR_DATI.001", job + std::string(size - std::ssize(job), ' '));
    };
    for (const long long size : {kMaxJobFileBytes, kMaxJobFileBytes + 1}) {
        const bool taken = size <= kMaxJobFileBytes;
        put("SALE,N1,P500,R;\r\nSALE,N2,P100;\r\n", size);
        RewriteRefundDiscounts(path, path);
        EXPECT_EQ(folder.read("SR_DATI.001").rfind("SALE,N2", 0) == 0, taken) << "refund rewrite";
        for (const bool keystrokes : {false, true}) {
            session.options.KeystrokeInput = keystrokes;
            put(keystrokes ? "150H\r\n3R\r\n" : "SALE,N1,P150;\r\n", size);
            path = folder.file("SR_DATI.001");
            EXPECT_EQ(Converter(session, trace).ConvertJobFile(path) == 0, taken) << keystrokes;
        }
    }
}

}  // namespace
}  // namespace zelmar::convert::testing
