#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

#include "form_fixture.h"
#include "jobs/job_messages.h"

namespace zelmar::app::testing {
namespace {

using JobCycleTest = FormTest;

// Which slot an attempt picks, given what each slot has: M SR_MATR, S SR_START, D SR_DATI.
TEST_F(JobCycleTest, SlotSelectionTakesTheFirstCompleteServedSlot) {
    struct Case {
        const char* name;
        const char* ticked;  // one digit per slot
        const char* found;
        std::array<const char*, 4> files;
        int expected;
        std::vector<int> reads;  // slots whose register data is read first
    };
    const Case cases[] = {
        {"first of two complete", "1111", "1111", {"MSD", "MSD", "", ""}, 1, {}},
        {"unticked slot skipped", "0111", "1111", {"MSD", "MSD", "", ""}, 2, {}},
        {"port not found skipped", "1111", "0111", {"MSD", "MSD", "", ""}, 2, {}},
        {"SR_DATI missing", "1111", "1111", {"MS", "MSD", "", ""}, 2, {}},
        {"unread slot is read first", "1100", "1111", {"SD", "MSD", "", ""}, 2, {1}},
        {"unread unserved slot not read", "0111", "1111", {"", "", "", ""}, 0, {2, 3, 4}},
        {"nothing to do", "1111", "1111", {"M", "M", "M", "M"}, 0, {}},
    };
    const std::pair<char, const char*> bases[] = {
        {'M', "SR_MATR"}, {'S', "SR_START"}, {'D', "SR_DATI"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (int n = 1; n <= 4; ++n) {
            for (const auto& [letter, base] : bases) {
                std::filesystem::remove(Path(base, n));
                if (std::strchr(c.files[n - 1], letter)) Put(base, n, "x");
            }
            session.options.SlotServed[n - 1] = c.ticked[n - 1] == '1';
            form.state().PortFound[n - 1] = c.found[n - 1] == '1';
        }
        calls.clear();
        EXPECT_EQ(form.SelectSlotToRun(), c.expected);
        std::vector<int> reads;
        for (const auto& call : calls) {
            if (call.rfind("ReadRegisterData ", 0) == 0) reads.push_back(call.back() - '0');
        }
        EXPECT_EQ(reads, c.reads);
        if (c.expected != 0) {
            EXPECT_EQ(session.CurrentSlot, c.expected);
            EXPECT_FALSE(form.state().ReadPending[c.expected - 1]);
        }
    }
}

TEST_F(JobCycleTest, DataFileGoneAtTheTriggerGivesE506AndNoJob) {
    Serve({1});
    MarkRead(1);
    Submit(1);
    files.vanishAfterChecks(Path("SR_DATI", 1), 1);  // gone right after slot selection saw it
    form.RunJobAttempt();
    EXPECT_EQ(Read("SR_ERR", 1), std::string(jobs::kMsgInputMissing) + "\r\n");
    EXPECT_FALSE(Has("SR_START", 1) || Has("FINESCO", 1));
    EXPECT_EQ(Count(calls, "TransmitJob 1 test 0"), 0);
}

// The result files of the last job go when a new one is accepted; the job's result decides
// FINESCO or SR_ERR (which files stay is the job files' rule) and the status text. Only a
// failing job opens the trace files; the command file is kept under its log name.
TEST_F(JobCycleTest, FinishJobLeavesTheResultFilesOfTheResult) {
    const std::tuple<jobs::JobResult, const char*, const char*> cases[] = {
        {jobs::JobResult::kOk, nullptr, "ZELMAR1 TERMINATO : TUTTO OK"},
        {jobs::JobResult::kNoAnswer,
         "E504: Nessun messaggio ricevuto: controllare connessione con l'Ecr",
         "ZELMAR1 TERMINATO : TIMEOUT SCADUTO"},
    };
    Serve({1});
    MarkRead(1);
    session.texts.WindowShown = true;
    for (const auto& [result, errorLine, status] : cases) {
        SCOPED_TRACE(status);
        Submit(1);
        for (const char* base : {"SR_ERR", "FINESCO", "SR_OUT"}) Put(base, 1, "old");
        session.options.TraceOn = errorLine != nullptr;
        calls.clear();
        outside.onTransmit = [&] {
            EXPECT_FALSE(Has("FINESCO", 1) || Has("SR_OUT", 1));
            data.put("Micrel.txt", "=K\r\n");
            return result;
        };
        form.RunJobAttempt();
        EXPECT_EQ(Count(calls, "OpenTraceFiles"), errorLine ? 1 : 0);
        EXPECT_EQ(session.texts.JobStatus, status);
        EXPECT_EQ(data.read("micrell.txt"), "=K\r\n");
        EXPECT_FALSE(data.has("Micrel.txt"));
        EXPECT_EQ(Has("FINESCO", 1) ? Read("FINESCO", 1) : "", errorLine ? "" : "finesco");
        EXPECT_EQ(Has("SR_ERR", 1) ? Read("SR_ERR", 1) : "",
                  errorLine ? std::string(errorLine) + "\r\n" : "");
        std::filesystem::remove(Path("SR_ERR", 1));
    }
}

}  // namespace
}  // namespace zelmar::app::testing
