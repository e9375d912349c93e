// The conversion run as a whole: files, shared flags, failures, hostile input.
#include <gmock/gmock.h>
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
    EXPECT_TRUE(conv.ReprintRequest);
    EXPECT_TRUE(conv.InvoiceOpen);
    EXPECT_TRUE(conv.ReceiptHasSales);
    EXPECT_TRUE(conv.NonFiscalOpen);
    EXPECT_FALSE(conv.InvoiceMode);  // cleared at the end of every run
    EXPECT_FALSE(conv.RefundMode);
    EXPECT_EQ(conv.InvoiceHeader,
              (std::array<std::string, 7>{"ROSSI", "VIA ROMA", "", "", " ", " ", " "}));

    ConvertJob(session, {"CASH;"});
    EXPECT_TRUE(conv.ReprintRequest);  // the driver clears this one
    EXPECT_FALSE(conv.InvoiceOpen);
    EXPECT_FALSE(conv.ReceiptHasSales);
    EXPECT_FALSE(conv.NonFiscalOpen);
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
    struct Case {
        const char* line;
        std::string expected;
    };
    const Case cases[] = {{"READ;", JoinPath(dataFolder, "DataReceived.txt")},
                          {"READ,:   ;", JoinPath(dataFolder, "DataReceived.txt")},
                          {"READ,:\"\";", JoinPath(dataFolder, "DataReceived.txt")},
                          {"READ,:DATI;", JoinPath(dataFolder, "DATI.003")},
                          {"READ,:\"DATI.TXT\";", JoinPath(dataFolder, "DATI.TXT")},
                          {"READ,:C:\\OUT\\DATI;", "C:\\OUT\\DATI.003"},
                          {"READ,:C:\\OUT\\DATI.TXT;", "C:\\OUT\\DATI.TXT"},
                          {"READ,:/tmp/out/dati;", "/tmp/out/dati.003"}};
    for (const auto& c : cases) EXPECT_EQ(ResolveReadFileName(c.line, dataFolder, 3), c.expected);
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

// Malformed numbers, indices far outside every table and stray bytes: the run always ends
// with a result, and a failed run removes the earlier command file.
TEST_F(ConverterRun, MalformedLinesNeverStopTheRun) {
    session.reg().IsRtRegister = true;
    session.reg().ModelCode = "TN";
    folder.put(kCommandFileName, "old\r\n");
    const std::vector<std::string> job = {
        // numbers out of range or malformed
        "SALE,N99999999999999999999,P;", "SALE,N-1,P100;", "SALE,N1.5,P100;", "SALE,N,P,Q;",
        "EXTL,N-5,:X;", "EXTL,N99999999999999,:X;", "FUNC,N;", "FUNC;", "OPER,C;", "OPER;",
        "BARC,T99999999999999999999,:X;", "BARC,T-1,:X;", "TICK,T;", "CRED,T-3;", "TEND,N;",
        "DISP,C2,N99999999999999999999,:X;", "NDCR,D;", "NDCR,>;", "DELD,D010424,>;",
        // stray bytes and cut lines
        ",,,,;", ";", ":", "\xff\xfe\x80", ",N", ",<", "OPFS", "OPFS,<", "LOTT,C[",
        "LOTT,C]]]]]]]]]", "PRNT,:12345678901;", "SALE,N2,P100;"};
    const JobOutcome outcome = ConvertJob(session, job);
    EXPECT_EQ(outcome.result, 1);  // the lottery codes are not 8 characters
    EXPECT_FALSE(outcome.commandFileExists);
}

// A control byte in a text of the job reaches the register as a blank: in a normalised line,
// in a line taken as written, and in a code added to an earlier command.
TEST_F(ConverterRun, ControlBytesInTextsBecomeBlanks) {
    using namespace std::string_literals;
    session.reg().IsRtRegister = true;
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"SALE,N1,P150,:CAF\0FE;"s}, "3/S/CAF FE//1/1.50/1/22.00"},
        {{"DISP,C2,:X\x1bY;"}, "7/0/1/X Y/"},
        {{"NDCR,D010424,N00120034,>88MEY054321;",
          "LOTT,C[AB\x01"
          "DEFGH];"},
         "-/01042024/12/34/88MEY054321/AB DEFGH/"},
    };
    for (const auto& [job, command] : cases) {
        EXPECT_THAT(ConvertJob(session, job).commands, ::testing::Contains(command));
    }
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
