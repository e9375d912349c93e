#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "common/text_file.h"
#include "common/version_text.h"
#include "link/transmission.h"
#include "platform/file_system.h"
#include "tests/link/scripted_sender.h"

namespace zelmar::link::scripted {
namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

// A file system whose result-file writes fail a given number of times.
class FlakyWrites : public platform::StdFileSystem {
  public:
    bool writeLines(const std::string& path, const std::vector<std::string>& lines,
                    bool append) override {
        if (failures > 0) {
            --failures;
            return false;
        }
        return StdFileSystem::writeLines(path, lines, append);
    }
    int failures = 0;
};

class TransmissionTest : public ::testing::Test {
  protected:
    TransmissionTest() {
        session.DataFolder = folder.path();
        session.DatiPath = folder.file("SR_DATI.001");
        session.OutPath = folder.file("SR_OUT.001");
        session.texts.txtEcrMatr = "99MEY012345";
        WriteTextLines(session.DatiPath, {"VEND,D\"PANE\",P100;", "CASH;"});
        driver.setTraceFileControl(&traceFiles);
        driver.setConverter([this](std::string&) {
            ++conversions;
            if (throwInConversion) throw std::runtime_error("boom");
            session.conv.CommandFilePath = folder.file("Micrel.txt");
            session.conv.ReceiptHasSales = receiptHasSales;
            return converterFails ? 1
                                  : (WriteTextLines(folder.file("Micrel.txt"), commands) ? 0 : 1);
        });
        // The register's read-back after the last line.
        sender.script("9", {Accepted(Answer({"00", "00", "00", "a", "b", "c", "d", "e", "7"}))});
        sender.script("t", {Accepted(Answer({"00", "00", "00", "06122026", "153012"}))});
        sender.script("i", {Accepted(Answer({"00", "00", "00", "a", "b", "41", "c", "9876543"}))});
        sender.script("0",
                      {Accepted(Answer({"00", "00", "00", "a", "b", "c", "d", "e", "12345"}))});
    }

    int Run() { return driver.TransmitJob(); }
    std::string Out() const { return ReadAll(session.OutPath); }
    std::vector<std::string> SentLines() const {
        std::vector<std::string> lines;
        for (const auto& line : sender.sent) {
            if (line.rfind("VEND", 0) == 0 || line.rfind("LINE", 0) == 0) lines.push_back(line);
        }
        return lines;
    }

    ScratchFolder folder;
    Session session;
    platform::FakeEventLoop loop;
    FlakyWrites files;
    ScriptedSender sender{session, loop};
    RecordingTraceSink trace;
    RecordingTraceFiles traceFiles;
    RecordingShell shell;
    TransmissionDriver driver{session, sender, loop, files, trace, shell};
    std::vector<std::string> commands{"LINE1", "LINE2"};
    int conversions = 0;
    bool converterFails = false;
    bool throwInConversion = false;
    bool receiptHasSales = false;
};

const std::string kVersion = VersionText();

TEST_F(TransmissionTest, RtResultFileAndCopyCarryClosureAndDocumentNumbers) {
    session.reg.IsRtRegister = true;
    session.options.chbDoppioScontrino = true;
    receiptHasSales = true;
    ASSERT_EQ(Run(), 0);
    EXPECT_EQ(Out(),
              "TIME,CASS. 1 15:30 CASSA   1 ,E,A1;\r\n"
              "DATE,06/12/2026  SCONTR. N.0042-0007,E,A1;\r\n"
              "Versione " +
                  kVersion +
                  "\r\n"
                  "MATR,99MEY012345;\r\n"
                  "GTOT,V12345\r\n"
                  "GRTO,V9876543\r\n"
                  "NAZF,V41\r\n");
    EXPECT_EQ(sender.sent.back(), "@/1/1/42/7/7///1");
    EXPECT_EQ(sender.raw, "\x18");
    EXPECT_FALSE(session.conv.ReceiptHasSales);
}

struct ResultFileCase {
    const char* name;
    bool rt, clockRefused, closureRefused, totalsDisabled;
    std::string expected;
};

TEST_F(TransmissionTest, ResultFileLinesFollowWhatTheRegisterAccepted) {
    const std::string time = "TIME,CASS. 1 15:30 CASSA   1 ,E,A1;\r\n";
    const std::string tail = "Versione " + kVersion + "\r\nMATR,99MEY012345;\r\n";
    const std::vector<ResultFileCase> cases{
        {"mf document number as received", false, false, false, false,
         time + "DATE,06/12/2026  SCONTR. N.7,E,A1;\r\n" + tail +
             "GTOT,V12345\r\nGRTO,V9876543\r\nNAZF,V41\r\n"},
        {"clock refused keeps only the totals", true, true, false, false,
         "GTOT,V12345\r\nGRTO,V9876543\r\nNAZF,V41\r\n"},
        {"clock refused and totals disabled: empty", true, true, false, true, ""},
        {"closure refused", true, false, true, true,
         time + "DATE,06/12/2026  SCONTR. N.0000-0007,E,A1;\r\n" + tail},
        {"closure refused with totals", false, true, true, false,
         "GTOT,V12345\r\nGRTO,V\r\nNAZF,V-1\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        session.reg.IsRtRegister = c.rt;
        session.options.chbDisableTotalizzatori = c.totalsDisabled;
        sender.script("t",
                      {c.clockRefused ? Refused()
                                      : Accepted(Answer({"00", "00", "00", "06122026", "1530"}))});
        sender.script("i",
                      {c.closureRefused
                           ? Refused()
                           : Accepted(Answer({"00", "00", "00", "a", "b", "41", "c", "9876543"}))});
        sender.sent.clear();
        ASSERT_EQ(Run(), 0);
        EXPECT_EQ(Out(), c.expected);
        EXPECT_EQ(sender.count("0"), c.totalsDisabled ? 0 : 1);
    }
}

TEST_F(TransmissionTest, CopyRequestRules) {
    struct Case {
        const char* name;
        bool doppio, reprint, sales, closureRefused;
        std::string documentField;
        std::string copy;  // empty: no "@" line
    };
    const std::vector<Case> cases{
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
        driver.setConverter([&, reprint = c.reprint](std::string&) {
            session.conv.CommandFilePath = folder.file("Micrel.txt");
            session.conv.ReceiptHasSales = receiptHasSales;
            session.conv.ReprintRequest = reprint;
            return WriteTextLines(folder.file("Micrel.txt"), commands) ? 0 : 1;
        });
        sender.script(
            "9", {Accepted(Answer({"00", "00", "00", "a", "b", "c", "d", "e", c.documentField}))});
        sender.script(
            "i",
            {c.closureRefused ? Refused() : Accepted(Answer({"00", "00", "00", "a", "b", "41"}))});
        sender.sent.clear();
        ASSERT_EQ(Run(), 0);
        const bool copied = sender.sent.back().rfind("@", 0) == 0;
        EXPECT_EQ(copied ? sender.sent.back() : std::string(), c.copy);
        EXPECT_FALSE(session.conv.ReprintRequest);
    }
}

TEST_F(TransmissionTest, InvoiceNumberComesFromXField6) {
    session.conv.InvoiceOpen = true;
    driver.setConverter([&](std::string&) {
        session.conv.CommandFilePath = folder.file("Micrel.txt");
        return WriteTextLines(folder.file("Micrel.txt"), commands) ? 0 : 1;
    });
    sender.script("X", {Accepted(Answer({"00", "00", "00", "a", "b", "c", "55"}))});
    ASSERT_EQ(Run(), 0);
    EXPECT_EQ(sender.count("9"), 0);
    EXPECT_NE(Out().find("SCONTR. N.55,"), std::string::npos);
    EXPECT_FALSE(session.conv.InvoiceOpen);
}

TEST_F(TransmissionTest, SkipBudgetAllowsNineSkippedLines) {
    for (const int skipped : {9, 10}) {
        SCOPED_TRACE(skipped);
        commands = {"LINE1"};
        for (int i = 0; i < skipped; ++i) commands.push_back(i % 2 ? "" : "(comment");
        commands.push_back("LINE2");
        sender.sent.clear();
        const int result = Run();
        if (skipped == 9) {
            EXPECT_EQ(result, 0);
            EXPECT_EQ(SentLines(), (std::vector<std::string>{"LINE1", "LINE2"}));
        } else {
            EXPECT_EQ(result, -5);
            EXPECT_EQ(SentLines(), std::vector<std::string>{"LINE1"});
            EXPECT_EQ(Out(), "");
        }
    }
}

TEST_F(TransmissionTest, RefusedLineStopsTheJobWithEmptyResultFile) {
    commands = {"LINE1", "LINE2", "LINE3"};
    sender.script("LINE2", {Refused()});
    const auto start = loop.nowMs();
    EXPECT_EQ(Run(), -5);
    EXPECT_EQ(SentLines(), (std::vector<std::string>{"LINE1", "LINE2"}));
    EXPECT_EQ(sender.count("9"), 0);
    EXPECT_TRUE(files.fileExists(session.OutPath));
    EXPECT_EQ(Out(), "");
    EXPECT_EQ(loop.nowMs() - start, 1500 + 2000);  // failed-line pause, then the job pause
    EXPECT_EQ(traceFiles.logsWritten, 1);
    EXPECT_FALSE(sender.portOpen);
}

TEST_F(TransmissionTest, WLineNeverFailsAndResetsTheVtPort) {
    struct Case {
        const char* model;
        int result;
        int resets;  // ClosePort calls before the end of the job
    };
    for (const Case& c :
         {Case{"VT", -1, 1}, Case{"VT", 0, 1}, Case{"VT", 1, 0}, Case{"AA", -1, 0}}) {
        SCOPED_TRACE(std::string(c.model) + " " + std::to_string(c.result));
        session.reg.ModelCode = c.model;
        commands = {"LINE1", "W", "LINE2"};
        sender.script("W", {Reply{c.result, Answer({"02", "00", "00", "0"}), 0}});
        sender.sent.clear();
        sender.closes = 0;
        sender.onSend = [&](const std::string& line) {
            if (line == "LINE2") {
                EXPECT_EQ(sender.closes, c.resets);
            }
        };
        EXPECT_EQ(Run(), 0);
        EXPECT_EQ(SentLines(), (std::vector<std::string>{"LINE1", "LINE2"}));
    }
}

TEST_F(TransmissionTest, OpenDocumentPolicy) {
    struct Case {
        const char* name;
        bool documentOpen;
        int policy;
        int plusResult;
        int expected;
        int plusSent;
        bool linesSent;
    };
    const std::vector<Case> cases{
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
        sender.script("+", {Reply{c.plusResult,
                                  Answer({c.plusResult == 1 ? "00" : "02", "00", "04", "0"}), 0}});
        sender.sent.clear();
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
    struct Case {
        const char* name;
        int releaseResult;
        int expected;
        std::vector<std::string> lines;
    };
    const std::vector<Case> cases{
        {"released", 1, 0, {"LINE1", "LINE1", "LINE2"}},
        {"release refused", -1, -5, {"LINE1"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        sender.script("LINE1", {Reply{-9, Answer({"1A", "00", "00", "0"}), 0},
                                Reply{-9, Answer({"1A", "00", "00", "0"}), 0}});
        sender.script(",/5", {Reply{c.releaseResult, Answer({"00", "00", "00", "0"}), 0}});
        sender.sent.clear();
        EXPECT_EQ(Run(), c.expected);
        EXPECT_EQ(sender.count(",/5"), 1);
        EXPECT_EQ(SentLines(), c.lines);
    }
}

TEST_F(TransmissionTest, OutcomesBeforeAnyLine) {
    // Conversion failure.
    converterFails = true;
    EXPECT_EQ(Run(), -6);
    EXPECT_TRUE(SentLines().empty());
    converterFails = false;
    // Command file without lines.
    commands.clear();
    EXPECT_EQ(Run(), -2);
    // Data file gone: nothing is sent at all.
    std::filesystem::remove(session.DatiPath);
    sender.sent.clear();
    EXPECT_EQ(Run(), -100);
    EXPECT_TRUE(sender.sent.empty());
    // Every job closed its trace file, with its log lines.
    EXPECT_EQ(traceFiles.closed, 2);
}

TEST_F(TransmissionTest, InputAlreadyInRegisterForm) {
    WriteTextLines(session.DatiPath, {"LINE7"});
    for (const bool testReceipt : {false, true}) {
        SCOPED_TRACE(testReceipt);
        session.options.chbEnableMicrelecInput = !testReceipt;
        session.TestReceiptJob = testReceipt ? 1 : 0;
        sender.sent.clear();
        EXPECT_EQ(Run(), 0);
        EXPECT_EQ(conversions, 0);
        EXPECT_EQ(SentLines(), std::vector<std::string>{"LINE7"});
        EXPECT_EQ(session.TestReceiptJob, 0);
    }
}

TEST_F(TransmissionTest, NetworkJobSendsNoCancelAndOpensTheConnection) {
    session.options.OptionRete = true;
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(sender.raw, "");
    EXPECT_EQ(sender.connections, 1);
    EXPECT_EQ(sender.opens, 0);
}

TEST_F(TransmissionTest, ClosedPortIsOpenedTwiceThenTheJobFails) {
    sender.portOpens = false;
    sender.script("LINE1", {Reply{-1, "", 0}});  // the link refuses on a closed port
    EXPECT_EQ(Run(), -5);
    EXPECT_EQ(sender.opens, 2);
}

TEST_F(TransmissionTest, FileFaultsRestartAtMostThreeTimes) {
    // A command file that cannot be read: three restarts 500 ms apart, then a failed job.
    driver.setConverter([&](std::string&) {
        ++conversions;
        session.conv.CommandFilePath = folder.file("missing.txt");
        return 0;
    });
    EXPECT_EQ(Run(), -5);
    EXPECT_EQ(conversions, 4);
    ASSERT_EQ(shell.notices.size(), 1u);
    EXPECT_EQ(shell.notices[0], "ERRORE = FileInput: " + folder.file("missing.txt") +
                                    " Not Exists! - Err.num: 53 Riga: 6");
    EXPECT_EQ(traceFiles.closed, 1);
    EXPECT_EQ(traceFiles.logsWritten, 0);
}

TEST_F(TransmissionTest, ResultFileWriteRetriesWithoutSendingTheDocumentAgain) {
    for (const int failures : {2, 4}) {
        SCOPED_TRACE(failures);
        files.failures = failures;
        sender.sent.clear();
        shell.notices.clear();
        EXPECT_EQ(Run(), failures <= 3 ? 0 : -5);
        EXPECT_EQ(SentLines(), (std::vector<std::string>{"LINE1", "LINE2"}));
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

TEST_F(TransmissionTest, SilentRegisterFailsTheJobInBoundedTime) {
    commands = std::vector<std::string>(50, "LINE1");
    sender.script("LINE1", {Accepted("00/00/00/0/"), Reply{0, "", 9000}});
    const auto start = loop.nowMs();
    EXPECT_EQ(Run(), -5);
    EXPECT_EQ(sender.count("LINE1"), 2);
    EXPECT_LT(loop.nowMs() - start, 15000);
}

TEST_F(TransmissionTest, TracesTheDateLineAtTheEnd) {
    trace.on = true;
    ASSERT_EQ(Run(), 0);
    ASSERT_FALSE(trace.lines.empty());
    EXPECT_EQ(trace.lines.back(), " --> DATE,06/12/2026  SCONTR. N.7,E,A1;");
    sender.script("t", {Refused()});
    ASSERT_EQ(Run(), 0);
    EXPECT_EQ(trace.lines.back(), " --> ");
}

}  // namespace
}  // namespace zelmar::link::scripted
