#include <gtest/gtest.h>

#include "app/job_texts.h"
#include "form_fixture.h"

namespace zelmar::app::testing {
namespace {

using JobCycleTest = FormTest;

// Which slot an attempt picks, given what each slot has. Files per slot: M SR_MATR, S SR_START,
// D SR_DATI.
TEST_F(JobCycleTest, SlotSelectionTakesTheFirstCompleteServedSlot) {
    struct Case {
        const char* name;
        std::array<bool, 4> ticked;
        std::array<bool, 4> found;
        std::array<const char*, 4> files;
        int expected;
        std::vector<int> reads;  // slots whose register data is read first
    };
    const Case cases[] = {
        {"first of two complete", {1, 1, 1, 1}, {1, 1, 1, 1}, {"MSD", "MSD", "", ""}, 1, {}},
        {"unticked slot skipped", {0, 1, 1, 1}, {1, 1, 1, 1}, {"MSD", "MSD", "", ""}, 2, {}},
        {"port not found skipped", {1, 1, 1, 1}, {0, 1, 1, 1}, {"MSD", "MSD", "", ""}, 2, {}},
        {"SR_DATI missing", {1, 1, 1, 1}, {1, 1, 1, 1}, {"MS", "MSD", "", ""}, 2, {}},
        {"SR_START missing", {1, 1, 1, 1}, {1, 1, 1, 1}, {"MD", "M", "M", "MSD"}, 4, {}},
        {"unread slot is read first", {1, 1, 0, 0}, {1, 1, 1, 1}, {"SD", "MSD", "", ""}, 2, {1}},
        {"unread unserved slot not read",
         {0, 1, 1, 1},
         {1, 1, 1, 1},
         {"", "", "", ""},
         0,
         {2, 3, 4}},
        {"nothing to do", {1, 1, 1, 1}, {1, 1, 1, 1}, {"M", "M", "M", "M"}, 0, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (int n = 1; n <= 4; ++n) {
            for (const char* base : {"SR_MATR", "SR_START", "SR_DATI"}) {
                std::filesystem::remove(Path(base, n));
            }
            const std::string have = c.files[n - 1];
            if (have.find('M') != std::string::npos) MarkRead(n);
            if (have.find('S') != std::string::npos) Put("SR_START", n, "x");
            if (have.find('D') != std::string::npos) Put("SR_DATI", n, "x");
            session.options.Check[n - 1] = c.ticked[n - 1];
            form.state().PortFound[n - 1] = c.found[n - 1];
        }
        calls.clear();
        EXPECT_EQ(form.iVerifyStartZelmar1(), c.expected);
        std::vector<int> reads;
        for (const auto& call : calls) {
            if (call.rfind("ReadRegisterData ", 0) == 0) reads.push_back(call.back() - '0');
        }
        EXPECT_EQ(reads, c.reads);
        if (c.expected != 0) {
            EXPECT_EQ(session.CurrentSlot, c.expected);
            EXPECT_FALSE(form.state().DumpPending[c.expected - 1]);
        }
    }
}

TEST_F(JobCycleTest, NoPortAtAllWritesE502IntoAllFourErrorFiles) {
    Serve({});
    session.options.Check = {true, true, true, true};
    form.txtTimer_Change();
    for (int n = 1; n <= 4; ++n) EXPECT_EQ(Read("SR_ERR", n), std::string(kNoPortMessage) + "\r\n");
    EXPECT_EQ(Count(calls, "TransmitJob 1 test 0"), 0);
}

TEST_F(JobCycleTest, DataFileGoneAtTheTriggerGivesE506AndNoJob) {
    Serve({1});
    MarkRead(1);
    Submit(1);
    files.vanishAfterChecks(Path("SR_DATI", 1), 1);  // gone right after slot selection saw it
    form.txtTimer_Change();
    EXPECT_EQ(Read("SR_ERR", 1), std::string(kNoInputFileMessage) + "\r\n");
    EXPECT_FALSE(Has("SR_START", 1));
    EXPECT_FALSE(Has("FINESCO", 1));
    EXPECT_TRUE(calls.end() == std::find_if(calls.begin(), calls.end(), [](const auto& call) {
                    return call.rfind("TransmitJob", 0) == 0;
                }));
}

// The files and the status text a job leaves, by result.
TEST_F(JobCycleTest, FinishJobLeavesTheResultFilesOfTheResult) {
    struct Case {
        int result;
        const char* errorLine;  // nullptr: no SR_ERR, FINESCO instead
        const char* status;
    };
    const Case cases[] = {
        {0, nullptr, "ZELMAR1 TERMINATO : TUTTO OK"},
        {-4, "E504: Nessun messaggio ricevuto: controllare connessione con l'Ecr",
         "ZELMAR1 TERMINATO : TIMEOUT SCADUTO"},
        {-6, "ERRORE DI CONVERSIONE", "ZELMAR1 TERMINATO : ERRORE DI CONVERSIONE"},
        {-100, "E-100: Errore generico sull'Ecr; correggere e riavviare l'esecuzione",
         "ZELMAR1 TERMINATO : ERR. IMPREVISTO ECR"},
    };
    Serve({1});
    MarkRead(1);
    session.texts.WindowShown = true;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.result);
        Submit(1);
        Put("SR_ERR", 1, "stale\r\n");
        Put("FINESCO", 1, "finesco");
        Put("SR_OUT", 1, "old");
        session.texts.Text1 = "register message";
        outside.onTransmit = [&] {
            EXPECT_FALSE(Has("FINESCO", 1) || Has("SR_OUT", 1));  // gone when the job is accepted
            EXPECT_EQ(session.texts.Text2, kStatusTransmitting);
            EXPECT_TRUE(form.state().JobBusy);
            data.put("SR_OUT.001", "");
            data.put("Micrel.txt", "=K\r\n");
            return c.result;
        };
        form.txtTimer_Change();
        EXPECT_FALSE(form.state().JobBusy);
        EXPECT_EQ(session.texts.Text2, c.status);
        EXPECT_FALSE(Has("SR_START", 1));
        EXPECT_TRUE(Has("SR_MATR", 1));
        EXPECT_TRUE(Has("SR_OUT", 1));
        EXPECT_EQ(data.read("micrell.txt"), "=K\r\n");
        EXPECT_FALSE(data.has("Micrel.txt"));
        EXPECT_EQ(form.state().ClosePortPending, 2);
        if (c.errorLine) {
            EXPECT_EQ(Read("SR_ERR", 1), std::string(c.errorLine) + "\r\n");
            EXPECT_TRUE(Has("SR_DATI", 1));
            EXPECT_FALSE(Has("FINESCO", 1));
            EXPECT_EQ(session.texts.Text1, "register message");
        } else {
            EXPECT_EQ(Read("FINESCO", 1), "finesco");
            EXPECT_FALSE(Has("SR_ERR", 1));
            EXPECT_FALSE(Has("SR_DATI", 1));
            EXPECT_EQ(session.texts.Text1, "");
        }
        std::filesystem::remove(Path("SR_ERR", 1));
        std::filesystem::remove(Path("FINESCO", 1));
    }
    EXPECT_EQ(calls.back(), std::string("Tray idle ") + kTipIdle);
}

TEST_F(JobCycleTest, TestReceiptFlagBelongsToItsTargetSlot) {
    Serve({1, 3});
    session.options.chbScontiSuReso = true;
    for (int n : {1, 3}) {
        MarkRead(n);
        Submit(n);
    }
    form.BindTestReceipt(3);
    form.txtTimer_Change();  // slot 1's own job runs first, as an ordinary job
    EXPECT_EQ(Count(calls, "Rewrite " + Path("SR_DATI", 1)), 1);
    EXPECT_EQ(Count(calls, "TransmitJob 1 test 0"), 1);
    EXPECT_EQ(session.TestReceiptJob, 1);

    form.txtTimer_Change();
    EXPECT_EQ(Count(calls, "Rewrite " + Path("SR_DATI", 3)), 0);
    EXPECT_EQ(Count(calls, "TransmitJob 3 test 1"), 1);
    EXPECT_EQ(session.TestReceiptJob, 0);
    EXPECT_EQ(form.state().TestReceiptSlot, 0);
}

TEST_F(JobCycleTest, TriggerDuringAJobOrReadDoesNotDisturbIt) {
    Serve({1, 2});
    MarkRead(1);
    Submit(1);
    MarkRead(2);
    Submit(2);
    outside.onTransmit = [&] {
        form.txtTimer_Change();  // e.g. a watcher event while the job pumps the loop
        EXPECT_EQ(session.CurrentSlot, 1);
        return 0;
    };
    form.txtTimer_Change();
    EXPECT_EQ(Count(calls, "TransmitJob 2 test 0"), 0);
    EXPECT_EQ(Read("FINESCO", 1), "finesco");
    EXPECT_TRUE(Has("SR_START", 2));

    std::filesystem::remove(Path("SR_MATR", 1));
    outside.onTransmit = [] { return 0; };
    outside.onRead = [&] {
        form.txtTimer_Change();
        EXPECT_EQ(session.CurrentSlot, 1);
        return ReadSucceeds();
    };
    form.txtTimer_Change();  // reads slot 1, then runs slot 2's job
    EXPECT_EQ(Count(calls, "TransmitJob 2 test 0"), 1);
    EXPECT_TRUE(Has("SR_MATR", 1));
}

TEST_F(JobCycleTest, EndOfARegisterDataReadByOutcome) {
    Serve({1});
    session.texts.WindowShown = true;
    Put("SR_START", 1, "x");

    outside.onRead = [&] {
        jobFiles.WriteErrFile("E501: Dump non eseguito, verificare se Ecr in errore o non connesso",
                              1);
        return -1;
    };
    form.StartRegisterDump(1);
    EXPECT_FALSE(form.state().DumpBusy);
    EXPECT_TRUE(form.state().DumpPending[0]);
    EXPECT_FALSE(Has("SR_START", 1));
    EXPECT_TRUE(Has("SR_ERR", 1));
    EXPECT_EQ(session.texts.DumpState[0], "DUMP NON ESEGUITO : -1");
    EXPECT_EQ(form.state().ClosePortPending, 1);
    EXPECT_TRUE(form.Timer21().enabled());
    EXPECT_EQ(form.Timer21().interval(), 1000);
    EXPECT_EQ(form.DirWatch(), nullptr);

    // The next tick only closes the link: no attempt, no read.
    calls.clear();
    loop.advance(1000);
    EXPECT_EQ(calls, CallLog{"CloseConnection"});
    EXPECT_EQ(form.state().ClosePortPending, 0);

    outside.onRead = [&] { return ReadSucceeds(); };
    calls.clear();
    form.StartRegisterDump(1);
    EXPECT_EQ(calls, (CallLog{"OpenConnection", "ReadRegisterData 1", "CloseConnection"}));
    EXPECT_FALSE(form.state().DumpPending[0]);
    EXPECT_FALSE(Has("SR_ERR", 1));
    EXPECT_EQ(session.texts.DumpState[0], "DUMP ESEGUITO");
    ASSERT_NE(form.DirWatch(), nullptr);
    EXPECT_TRUE(LastWatcher()->running());
    EXPECT_EQ(LastWatcher()->folder(), data.path());
    EXPECT_EQ(session.texts.Text3, kTimerReady);
    EXPECT_FALSE(form.Timer21().enabled());  // the watcher drives from here on
}

TEST_F(JobCycleTest, TraceFileIsOpenedOnlyForATracedJob) {
    Serve({1});
    MarkRead(1);
    for (bool traced : {false, true}) {
        Submit(1);
        session.options.chbTrace = traced;
        calls.clear();
        form.txtTimer_Change();
        EXPECT_EQ(Count(calls, "OpenTraceFiles"), traced ? 1 : 0);
        // a fresh collection of log lines for every attempt, before the job
        EXPECT_EQ(calls.front(), "NewLogLines");
    }
}

}  // namespace
}  // namespace zelmar::app::testing
