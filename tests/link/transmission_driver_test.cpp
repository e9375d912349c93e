#include <gtest/gtest.h>

#include <stdexcept>

#include "common/text_file.h"
#include "common/version_text.h"
#include "link/transmission.h"
#include "tests/link/scripted_sender.h"

namespace zelmar::link::scripted {
namespace {

using Lines = std::vector<std::string>;

Reply Answered(int result, const std::string& code) {
    return Reply{result, Answer({code, "00", "00", "0"})};
}
// The register's read-back after the last line: clock and closure.
const Reply kClock = Accepted(Answer({"00", "00", "00", "06122026", "153012"}));
const Reply kClosure = Accepted(Answer({"00", "00", "00", "a", "b", "41", "c", "9876543"}));

class TransmissionTest : public ::testing::Test, public RigBase {
  protected:
    TransmissionTest() {
        session.DatiPath = folder.file("SR_DATI.001");
        session.OutPath = folder.file("SR_OUT.001");
        session.texts.txtEcrMatr = "99MEY012345";
        trace.on = false;
        WriteTextLines(session.DatiPath, {"VEND,D\"PANE\",P100;", "CASH;"});
        driver.setTraceFileControl(&traceFiles);
        driver.setConverter([this](std::string&) {
            ++conversions;
            if (throwInConversion) throw std::runtime_error("boom");
            session.conv.CommandFilePath = commandFile;
            session.conv.ReceiptHasSales = receiptHasSales;
            session.conv.ReprintRequest = reprint;
            return converterFails || !WriteTextLines(folder.file("Micrel.txt"), commands) ? 1 : 0;
        });
        sender.script("9", {Accepted(Answer({"00", "00", "00", "a", "b", "c", "d", "e", "7"}))});
        sender.script("t", {kClock});
        sender.script("i", {kClosure});
        sender.script("0",
                      {Accepted(Answer({"00", "00", "00", "a", "b", "c", "d", "e", "12345"}))});
    }

    int Run() {
        sender.sent.clear();
        return driver.TransmitJob();
    }
    std::string Out() const { return ReadAll(session.OutPath); }
    Lines SentLines() const {
        Lines lines;
        for (const auto& line : sender.sent) {
            if (line.rfind("LINE", 0) == 0) lines.push_back(line);
        }
        return lines;
    }

    ScriptedSender sender{session};
    RecordingTraceFiles traceFiles;
    RecordingShell shell;
    TransmissionDriver driver{session, sender, loop, files, trace, shell};
    Lines commands{"LINE1", "LINE2"};
    std::string commandFile = folder.file("Micrel.txt");
    int conversions = 0;
    bool converterFails = false, throwInConversion = false, receiptHasSales = false,
         reprint = false;
};

const std::string kTime = "TIME,CASS. 1 15:30 CASSA   1 ,E,A1;\r\n";
const std::string kVersionAndMatr = "Versione " + VersionText() + "\r\nMATR,99MEY012345;\r\n";
const std::string kTotals = "GTOT,V12345\r\nGRTO,V9876543\r\nNAZF,V41\r\n";

TEST_F(TransmissionTest, RtResultFileAndCopyCarryClosureAndDocumentNumbers) {
    session.reg.IsRtRegister = true;
    session.options.chbDoppioScontrino = true;
    receiptHasSales = true;
    ASSERT_EQ(Run(), 0);
    EXPECT_EQ(Out(),
              kTime + "DATE,06/12/2026  SCONTR. N.0042-0007,E,A1;\r\n" + kVersionAndMatr + kTotals);
    EXPECT_EQ(sender.sent.back(), "@/1/1/42/7/7///1");
    EXPECT_EQ(sender.raw, "\x18");
    EXPECT_FALSE(session.conv.ReceiptHasSales);
}

TEST_F(TransmissionTest, ResultFileLinesFollowWhatTheRegisterAccepted) {
    const struct {
        const char* name;
        bool rt, clockRefused, closureRefused, totalsDisabled;
        std::string expected;
    } cases[] = {
        {"mf document number as received", false, false, false, false,
         kTime + "DATE,06/12/2026  SCONTR. N.7,E,A1;\r\n" + kVersionAndMatr + kTotals},
        {"clock refused keeps only the totals", true, true, false, false, kTotals},
        {"clock refused and totals disabled: empty", true, true, false, true, ""},
        {"closure refused", true, false, true, true,
         kTime + "DATE,06/12/2026  SCONTR. N.0000-0007,E,A1;\r\n" + kVersionAndMatr},
        {"closure refused with totals", false, true, true, false,
         "GTOT,V12345\r\nGRTO,V\r\nNAZF,V-1\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        session.reg.IsRtRegister = c.rt;
        session.options.chbDisableTotalizzatori = c.totalsDisabled;
        sender.script("t", {c.clockRefused ? Refused() : kClock});
        sender.script("i", {c.closureRefused ? Refused() : kClosure});
        ASSERT_EQ(Run(), 0);
        EXPECT_EQ(Out(), c.expected);
        EXPECT_EQ(sender.count("0"), c.totalsDisabled ? 0 : 1);
    }
}

TEST_F(TransmissionTest, CopyRequestRules) {
    const struct {
        const char* name;
        bool doppio, reprint, sales, closureRefused;
        std::string documentField, copy;  // copy empty: no "@" line
    } cases[] = {
        {"double receipt", true, false, true, false, "7", "@/1/1/42/7/7///1"},
        {"reprint asked by the job", false, true, true, false, "7", "@/1/1/42/7/7///1"},
        {"closure unknown uses 1", true, false, true, true, "7", "@/1/1/1/7/7///1"},
        {"no sale, no copy", true, false, false, false, "7", ""},
        {"document 0, no copy", true, false, true, false, "0", ""},
        {"neither option", false, false, true, false, "7", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        session.options.chbDoppioScontrino = c.doppio;
        receiptHasSales = c.sales;
        reprint = c.reprint;
        sender.script(
            "9", {Accepted(Answer({"00", "00", "00", "a", "b", "c", "d", "e", c.documentField}))});
        sender.script("i", {c.closureRefused ? Refused() : kClosure});
        ASSERT_EQ(Run(), 0);
        const bool copied = sender.sent.back().rfind("@", 0) == 0;
        EXPECT_EQ(copied ? sender.sent.back() : std::string(), c.copy);
        EXPECT_FALSE(session.conv.ReprintRequest);
    }
}

TEST_F(TransmissionTest, InvoiceNumberComesFromXField6) {
    session.conv.InvoiceOpen = true;
    sender.script("X", {Accepted(Answer({"00", "00", "00", "a", "b", "c", "55"}))});
    ASSERT_EQ(Run(), 0);
    EXPECT_EQ(sender.count("9"), 0);
    EXPECT_NE(Out().find("SCONTR. N.55,"), std::string::npos);
    EXPECT_FALSE(session.conv.InvoiceOpen);
}

TEST_F(TransmissionTest, TheTenthSkippedLineFailsTheJob) {
    for (const int skipped : {9, 10}) {
        SCOPED_TRACE(skipped);
        commands = {"LINE1"};
        for (int i = 0; i < skipped; ++i) commands.push_back(i % 2 ? "" : "(comment");
        commands.push_back("LINE2");
        EXPECT_EQ(Run(), skipped == 9 ? 0 : -5);
        EXPECT_EQ(SentLines(), (skipped == 9 ? Lines{"LINE1", "LINE2"} : Lines{"LINE1"}));
        EXPECT_EQ(Out().empty(), skipped == 10);
    }
}

TEST_F(TransmissionTest, RefusedLineStopsTheJobWithEmptyResultFile) {
    commands = {"LINE1", "LINE2", "LINE3"};
    sender.script("LINE2", {Refused()});
    EXPECT_EQ(timed([&] { return Run(); }), -5);
    EXPECT_EQ(SentLines(), (Lines{"LINE1", "LINE2"}));
    EXPECT_EQ(sender.count("9"), 0);
    EXPECT_TRUE(files.fileExists(session.OutPath));
    EXPECT_EQ(Out(), "");
    EXPECT_EQ(elapsedMs, 1500 + 2000);  // failed-line pause, then the job pause
    EXPECT_EQ(traceFiles.logsWritten, 1);
    EXPECT_FALSE(sender.portOpen);
}

TEST_F(TransmissionTest, WLineNeverFailsAndResetsTheVtPort) {
    const struct {
        const char* model;
        int result;
        int resets;  // ClosePort calls before the next line
    } cases[] = {{"VT", -1, 1}, {"VT", 0, 1}, {"VT", 1, 0}, {"AA", -1, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.model) + " " + std::to_string(c.result));
        session.reg.ModelCode = c.model;
        commands = {"LINE1", "W", "LINE2"};
        sender.script("W", {Answered(c.result, "02")});
        sender.closes = 0;
        sender.onSend = [&](const std::string& line) {
            if (line == "LINE2") {
                EXPECT_EQ(sender.closes, c.resets);
            }
        };
        EXPECT_EQ(Run(), 0);
        EXPECT_EQ(SentLines(), (Lines{"LINE1", "LINE2"}));
    }
}

TEST_F(TransmissionTest, OpenDocumentPolicy) {
    const struct {
        const char* name;
        bool documentOpen;
        int policy, plusResult, expected, plusSent;
        bool linesSent;
    } cases[] = {
        {"send anyway", true, 0, 1, 0, 0, true},
        {"close then send", true, 1, 1, 0, 1, true},
        {"close refused", true, 1, -1, -2, 1, false},
        {"stop", true, 2, 1, -2, 0, false},
        {"closed document ignores stop", false, 2, 1, 0, 0, true},
        {"closed document sends no +", false, 1, 1, 0, 0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        session.link.DocumentOpen = c.documentOpen;
        session.options.Combo1 = c.policy;
        sender.script("+", {Answered(c.plusResult, c.plusResult == 1 ? "00" : "02")});
        std::int64_t plusAt = -1;
        sender.onSend = [&](const std::string& line) {
            if (line == "+") plusAt = loop.nowMs();
            // The job's lines follow a closing "+" after its 2000 ms pause.
            if (line == "LINE1" && plusAt >= 0) {
                EXPECT_EQ(loop.nowMs() - plusAt, 2000);
            }
        };
        EXPECT_EQ(Run(), c.expected);
        EXPECT_EQ(sender.count("+"), c.plusSent);
        EXPECT_EQ(!SentLines().empty(), c.linesSent);
    }
}

TEST_F(TransmissionTest, BusyLineGetsOneReleaseAndOneResend) {
    for (const int release : {1, -1}) {
        SCOPED_TRACE(release);
        sender.script("LINE1", {Answered(-9, "1A")});
        sender.script(",/5", {Answered(release, "00")});
        EXPECT_EQ(Run(), release == 1 ? 0 : -5);
        EXPECT_EQ(sender.count(",/5"), 1);
        EXPECT_EQ(SentLines(), (release == 1 ? Lines{"LINE1", "LINE1", "LINE2"} : Lines{"LINE1"}));
    }
}

TEST_F(TransmissionTest, OutcomesBeforeAnyLine) {
    converterFails = true;
    EXPECT_EQ(Run(), -6);
    EXPECT_TRUE(SentLines().empty());
    converterFails = false;
    commands.clear();
    EXPECT_EQ(Run(), -2);
    std::filesystem::remove(session.DatiPath);  // data file gone: nothing is sent at all
    EXPECT_EQ(Run(), -100);
    EXPECT_TRUE(sender.sent.empty());
    EXPECT_EQ(traceFiles.closed, 2);  // every job closed its trace file
}

TEST_F(TransmissionTest, PortAndNetworkOpening) {
    sender.portOpens = false;
    sender.script("LINE1", {Reply{-1, ""}});  // the link refuses on a closed port
    EXPECT_EQ(Run(), -5);
    EXPECT_EQ(sender.opens, 2);  // opened twice, then the job fails
    session.options.OptionRete = true;
    sender.raw.clear();
    sender.script("LINE1", {Accepted("00/00/00/0/")});
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(sender.raw, "");  // no CAN on the network
    EXPECT_EQ(sender.connections, 1);
    EXPECT_EQ(sender.opens, 2);
}

TEST_F(TransmissionTest, FileFaultsRestartAtMostThreeTimes) {
    commandFile = folder.file("missing.txt");  // 500 ms apart, then a failed job
    EXPECT_EQ(Run(), -5);
    EXPECT_EQ(conversions, 4);
    EXPECT_EQ(shell.notices,
              Lines{"ERRORE = FileInput: " + commandFile + " Not Exists! - Err.num: 53 Riga: 6"});
    EXPECT_EQ(traceFiles.closed, 1);
    EXPECT_EQ(traceFiles.logsWritten, 0);
}

TEST_F(TransmissionTest, ResultFileWriteRetriesWithoutSendingTheDocumentAgain) {
    for (const int failures : {3, 4}) {
        SCOPED_TRACE(failures);
        files.failWrites = failures;
        shell.notices.clear();
        EXPECT_EQ(Run(), failures <= 3 ? 0 : -5);
        EXPECT_EQ(SentLines(), (Lines{"LINE1", "LINE2"}));
        EXPECT_EQ(sender.count("9"), 1);
        EXPECT_EQ(shell.notices.size(), failures <= 3 ? 0u : 1u);
    }
}

TEST_F(TransmissionTest, UnexpectedErrorIsAFailedJob) {
    throwInConversion = true;
    EXPECT_EQ(Run(), -5);
    ASSERT_EQ(shell.notices.size(), 1u);
    EXPECT_EQ(shell.notices[0].rfind("ERRORE = boom - Err.num: 0", 0), 0u);
}

}  // namespace
}  // namespace zelmar::link::scripted
