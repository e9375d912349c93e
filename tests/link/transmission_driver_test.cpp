#include <gtest/gtest.h>

#include <stdexcept>

#include "common/text_file.h"
#include "common/version_text.h"
#include "convert/job_file.h"
#include "link/link_rig.h"

namespace zelmar::link::testing {
namespace {

using enum jobs::JobResult;
using Replies = std::vector<std::pair<std::string, Reply>>;

const Reply kBusy{SendResult::kBusyTooLong, "1A/00/00/0/"};
Reply Document(const std::string& number) {
    return Accepted("00/00/00/a/b/c/d/e/" + number + "/");
}

struct DriverRig : RigBase {
    DriverRig() {
        session.reg().SerialNumber = "99MEY012345";
        trace.on = false;
        WriteTextLines(job.jobFile, {"VEND,D\"PANE\",P100;", "CASH;"});
        driver.setTraceFileControl(&traceFiles);
        driver.setConverter([this](std::string&) {
            ++conversions;
            if (throwInConversion) throw std::runtime_error("boom");
            session.conv.CommandFilePath = commandFile;
            session.conv.ReceiptHasSales = receiptHasSales;
            session.conv.ReprintRequest = reprint;
            return converterFails || !WriteTextLines(folder.file("Micrel.txt"), commands) ? 1 : 0;
        });
        sender.script("9", {Document("7")});
        sender.script("t", {Accepted("00/00/00/06122026/153012/")});
        sender.script("i", {Accepted("00/00/00/a/b/41/c/9876543/")});
        sender.script("0", {Document("12345")});
    }
    jobs::JobResult run() {
        sender.sent.clear();
        return timed([&] { return driver.TransmitJob(job); });
    }
    Lines jobLines() const {  // every line sent but the read-back and the copy
        Lines lines;
        for (const auto& line : sender.sent) {
            if (line.size() > 1 || line == "W" || line == "+") lines.push_back(line);
        }
        if (!lines.empty() && lines.back().front() == '@') lines.pop_back();
        return lines;
    }

    ScriptedSender sender{session};
    RecordingTraceFiles traceFiles;
    TransmissionDriver driver{session, sender, loop, files, jobFiles, trace, shell};
    Lines commands{"LINE1", "LINE2"};
    std::string commandFile = folder.file("Micrel.txt");
    int conversions = 0;
    bool converterFails = false, throwInConversion = false, receiptHasSales = true, reprint = false;
};

Lines WithSkipped(int skipped) {
    Lines lines{"LINE1"};
    for (int i = 0; i < skipped; ++i) lines.push_back(i % 2 ? "" : "(comment");
    lines.push_back("LINE2");
    return lines;
}

struct LineCase {
    const char* name = "";
    std::string model{};
    Lines commands{"LINE1", "LINE2"};
    Replies replies{};
    bool documentOpen = false;
    int policy = 0;
    bool portOpens = true;
    jobs::JobResult result = kOk;
    Lines sent{};
    int opens = 1, closes = 1;  // closes: one at the end of the job, one per VT reset
    std::int64_t elapsedMs = 0;
};

// clang-format off
const LineCase kLineCases[] = {
    {.name = "nine skipped lines pass", .commands = WithSkipped(9), .sent = {"LINE1", "LINE2"}},
    {.name = "the tenth skipped line fails", .commands = WithSkipped(10), .result = kInterrupted, .sent = {"LINE1"}, .elapsedMs = 2000},
    {.name = "refused line stops the job", .commands = {"LINE1", "LINE2", "LINE3"}, .replies = {{"LINE2", Refused()}}, .result = kInterrupted, .sent = {"LINE1", "LINE2"}, .elapsedMs = 1500 + 2000},
    {.name = "W refused on VT resets the port", .model = "VT", .commands = {"LINE1", "W", "LINE2"}, .replies = {{"W", Refused()}}, .sent = {"LINE1", "W", "LINE2"}, .opens = 2, .closes = 2, .elapsedMs = 1000},
    {.name = "busy line released and resent", .replies = {{"LINE1", kBusy}, {",/5", Reply{}}}, .sent = {"LINE1", ",/5", "LINE1", "LINE2"}, .elapsedMs = 1500},
    {.name = "busy line, release refused", .replies = {{"LINE1", kBusy}, {",/5", Refused()}}, .result = kInterrupted, .sent = {"LINE1", ",/5"}, .elapsedMs = 1500 + 2000},
    {.name = "open document: close, then send", .documentOpen = true, .policy = 1, .sent = {"+", "LINE1", "LINE2"}, .elapsedMs = 2000},
    {.name = "open document: close refused", .replies = {{"+", Refused()}}, .documentOpen = true, .policy = 1, .result = kReceiptOpen, .sent = {"+"}, .elapsedMs = 2000},
    {.name = "open document: stop", .documentOpen = true, .policy = 2, .result = kReceiptOpen, .elapsedMs = 2000},
    {.name = "closed port opened twice, then the job fails", .replies = {{"LINE1", Reply{SendResult::kRefused, ""}}}, .portOpens = false, .result = kInterrupted, .sent = {"LINE1"}, .opens = 2, .closes = 0, .elapsedMs = 4000},
};
// clang-format on

TEST(TransmitJob, EachLineOutcome) {
    for (const auto& c : kLineCases) {
        SCOPED_TRACE(c.name);
        DriverRig rig;
        rig.session.reg().ModelCode = c.model;
        rig.commands = c.commands;
        for (const auto& [line, reply] : c.replies) rig.sender.script(line, {reply});
        rig.session.link.DocumentOpen = c.documentOpen;
        rig.session.options.OpenReceiptPolicy = c.policy;
        rig.sender.portOpens = c.portOpens;
        EXPECT_EQ(rig.run(), c.result);
        EXPECT_EQ(rig.jobLines(), c.sent);
        EXPECT_EQ(rig.sender.opens, c.opens);
        EXPECT_EQ(rig.sender.closes, c.closes);
        EXPECT_EQ(rig.elapsedMs, c.elapsedMs);
        if (c.result == kInterrupted) {  // the POS application finds an empty result file
            EXPECT_TRUE(rig.files.fileExists(rig.job.resultFile));
            EXPECT_EQ(rig.folder.read("SR_OUT.001"), "");
            EXPECT_EQ(rig.traceFiles.logsWritten, 1);
        }
    }
}

const std::string kTime = "TIME,CASS. 1 15:30 CASSA   1 ,E,A1;\r\n";
const std::string kVersionAndMatr = "Versione " + VersionText() + "\r\nMATR,99MEY012345;\r\n";
const std::string kTotals = "GTOT,V12345\r\nGRTO,V9876543\r\nNAZF,V41\r\n";
const std::string kNoClosureTotals = "GTOT,V12345\r\nGRTO,V\r\nNAZF,V-1\r\n";
std::string Heading(const std::string& number) {
    return kTime + "DATE,06/12/2026  SCONTR. N." + number + ",E,A1;\r\n" + kVersionAndMatr;
}

struct ReadBackCase {
    const char* name = "";
    bool rt = false, doppio = false, reprint = false, sales = true, invoice = false;
    bool clockRefused = false, closureRefused = false, totalsDisabled = false;
    std::string documentField = "7", out{}, copy{};  // copy empty: no "@" line
};

// clang-format off
const ReadBackCase kReadBackCases[] = {
    {.name = "rt numbers and copy", .rt = true, .doppio = true, .out = Heading("0042-0007") + kTotals, .copy = "@/1/1/42/7/7///1"},
    {.name = "invoice number from X field 6", .invoice = true, .out = Heading("55") + kTotals},
    {.name = "clock refused keeps only the totals", .rt = true, .clockRefused = true, .out = kTotals},
    {.name = "closure refused", .rt = true, .closureRefused = true, .totalsDisabled = true, .out = Heading("0000-0007")},
    {.name = "reprint asked by the job", .reprint = true, .out = Heading("7") + kTotals, .copy = "@/1/1/42/7/7///1"},
    {.name = "copy with closure unknown uses 1", .doppio = true, .closureRefused = true, .out = Heading("7") + kNoClosureTotals, .copy = "@/1/1/1/7/7///1"},
    {.name = "no sale, no copy", .doppio = true, .sales = false, .out = Heading("7") + kTotals},
    {.name = "document 0, no copy", .doppio = true, .documentField = "0", .out = Heading("0") + kTotals},
};
// clang-format on

TEST(TransmitJob, ResultFileAndCopyFollowWhatTheRegisterAccepted) {
    for (const auto& c : kReadBackCases) {
        SCOPED_TRACE(c.name);
        DriverRig rig;
        rig.session.reg().IsRtRegister = c.rt;
        rig.session.options.PrintReceiptCopy = c.doppio;
        rig.session.options.NoTotalsInResult = c.totalsDisabled;
        rig.session.conv.InvoiceOpen = c.invoice;
        rig.reprint = c.reprint;
        rig.receiptHasSales = c.sales;
        rig.sender.script("9", {Document(c.documentField)});
        rig.sender.script("X", {Accepted("00/00/00/a/b/c/55/")});
        if (c.clockRefused) rig.sender.script("t", {Refused()});
        if (c.closureRefused) rig.sender.script("i", {Refused()});
        ASSERT_EQ(rig.run(), kOk);
        EXPECT_EQ(rig.folder.read("SR_OUT.001"), c.out);
        const bool copied = rig.sender.sent.back().rfind("@", 0) == 0;
        EXPECT_EQ(copied ? rig.sender.sent.back() : std::string(), c.copy);
        EXPECT_EQ(rig.sender.count("9"), c.invoice ? 0 : 1);
        EXPECT_EQ(rig.sender.count("0"), c.totalsDisabled ? 0 : 1);
        EXPECT_EQ(rig.sender.raw, "\x18");  // CAN before the job on the serial line
        EXPECT_FALSE(rig.session.conv.ReprintRequest || rig.session.conv.InvoiceOpen ||
                     rig.session.conv.ReceiptHasSales);
    }
}

TEST(TransmitJob, OutcomesBeforeAnyLine) {
    DriverRig rig;
    rig.converterFails = true;
    EXPECT_EQ(rig.run(), kConversionError);
    rig.converterFails = false;
    rig.commands.clear();
    EXPECT_EQ(rig.run(), kReceiptOpen);
    rig.throwInConversion = true;
    EXPECT_EQ(rig.run(), kInterrupted);
    EXPECT_EQ(rig.shell.notices().at(0).rfind("ERRORE = boom - Err.num: 0", 0), 0u);
    std::filesystem::remove(rig.job.jobFile);
    EXPECT_EQ(rig.run(), kDataFileVanished);
    EXPECT_TRUE(rig.sender.sent.empty());
    EXPECT_EQ(rig.traceFiles.closed, 3);  // every job that started closed its trace file
}

TEST(TransmitJob, AJobSentAsWrittenIsRefusedWhereTheConverterWouldRefuseIt) {
#ifdef _WIN32
    constexpr bool kTestReceipt[] = {true};  // a job that is a link needs a privilege there
#else
    constexpr bool kTestReceipt[] = {false, true};
#endif
    for (const bool testReceipt : kTestReceipt) {
        DriverRig rig;
        rig.session.options.RegisterLineInput = !testReceipt;
        rig.job.testReceipt = testReceipt;
        const std::string& job = rig.job.jobFile;
        if (testReceipt) {
            std::filesystem::resize_file(job, convert::kMaxJobFileBytes + 1);
        } else {
            std::filesystem::rename(job, job + ".elsewhere");
            std::filesystem::create_symlink(job + ".elsewhere", job);
        }
        EXPECT_EQ(rig.run(), kConversionError) << "test receipt " << testReceipt;
        EXPECT_TRUE(rig.jobLines().empty());
    }
}

TEST(TransmitJob, FileFaultsRestartAtMostThreeTimes) {
    DriverRig rig;
    rig.commandFile = rig.folder.file("missing.txt");
    EXPECT_EQ(rig.run(), kInterrupted);
    EXPECT_EQ(rig.conversions, 4);
    EXPECT_EQ(rig.shell.notices(), Lines{"ERRORE = FileInput: " + rig.commandFile +
                                         " Not Exists! - Err.num: 53 Riga: 6"});
    EXPECT_EQ(rig.traceFiles.logsWritten, 0);
    // The document is on paper: even a fourth failed result-file write leaves the job done.
    rig.commandFile = rig.folder.file("Micrel.txt");
    for (const int failures : {3, 4}) {
        SCOPED_TRACE(failures);
        rig.files.failWrites = failures;
        EXPECT_EQ(rig.run(), kOk);
        EXPECT_EQ(rig.jobLines(), (Lines{"LINE1", "LINE2"}));
        EXPECT_EQ(rig.sender.count("9"), 1);
        EXPECT_EQ(rig.shell.notices().size(), 1u);
        const std::string log = rig.folder.read("LOGFILE.TXT");
        EXPECT_EQ(log.find("SR_OUT non scritto") != std::string::npos, failures == 4) << log;
    }
}

}  // namespace
}  // namespace zelmar::link::testing
