#include "jobs/job_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "config/scratch_folder.h"
#include "jobs/job_messages.h"
#include "platform/fake/fake_event_loop.h"
#include "platform/fake/fake_file_system.h"

namespace zelmar::jobs {
namespace {

// A fresh data folder and its job files, on virtual time from 04/03/2027 05:06:07.
struct Rig {
    explicit Rig(int slot) {
        session.DataFolder = data.path();
        session.CurrentSlot = slot;
        loop.setStartDateTime({2027, 3, 4, 5, 6, 7});
    }
    std::set<std::string> FilesLeft() const {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(data.path())) {
            names.insert(entry.path().filename().string());
        }
        return names;
    }

    testing::ScratchFolder data{"jobs"};
    Session session;
    platform::FakeFileSystem files;
    platform::FakeEventLoop loop;
    JobFiles jobs{session, files, loop};
};

// The end of a job on slot 2 (the result files themselves are the job cycle's and the
// integration tests'): an error for a slot that does not exist is written nowhere, and without
// SR_START there was no job to answer.
TEST(JobFiles, OnlyAJobThePosStartedIsAnsweredAndOnlyOnItsSlot) {
    Rig r(2);
    r.data.put("SR_START.002", "");
    r.jobs.WriteErrorFile(kMsgNoAnswer, 2);
    for (const int bad : {0, 5, -1}) r.jobs.WriteErrorFile("E507", bad);
    r.jobs.AnswerJob(JobEnd::kFailed);
    EXPECT_EQ(r.FilesLeft(), std::set<std::string>{"SR_ERR.002"});
    EXPECT_EQ(r.data.read("SR_ERR.002"), std::string(kMsgNoAnswer) + "\r\n");
    r.jobs.DeleteErrorFile();
    r.jobs.AnswerJob(JobEnd::kDone);
    EXPECT_TRUE(r.FilesLeft().empty());
}

// The folder is read-only for a moment at the end of a failed job: no SR_ERR, and still no
// FINESCO; the write failure is told to the operator (LOGFILE.TXT cannot be written either).
TEST(JobFiles, AFailedJobNeverGetsFinescoEvenWithoutItsErrorFile) {
    Rig r(1);
    std::vector<std::string> notices;
    r.jobs.setNoticeSink([&](const std::string& text) { notices.push_back(text); });
    r.data.put("SR_START.001", "");
    r.files.failWrites(true);
    EXPECT_FALSE(r.jobs.WriteErrorFile(kMsgInterrupted, 1));
    r.jobs.AnswerJob(JobEnd::kFailed);
    EXPECT_TRUE(r.FilesLeft().empty());
    EXPECT_EQ(notices, (std::vector<std::string>{"Errore nella scrittura di SR_ERR.001: " +
                                                 std::string(kMsgInterrupted)}));
}

// Each deletion is tried 20 times, 500 ms apart; the job's own routines sleep without serving
// events, the command file's deletion (no routine below) serves them and logs the path.
TEST(JobFiles, ALockedFileIsTriedTwentyTimesAndLoggedOnceWhereTheRoutineLogs) {
    struct Case {
        const char* file;
        void (JobFiles::*kill)();  // nullptr: DeleteLogged
        int failures;
        const char* logged;  // nullptr: nothing logged
    };
    const Case cases[] = {
        {"SR_ERR.003", &JobFiles::DeleteErrorFile, 3, nullptr},
        {"SR_ERR.003", &JobFiles::DeleteErrorFile, 1000, "Errore nella Kill di SR_ERR"},
        {"SR_DATI.003", &JobFiles::DeleteJobFile, 1000, nullptr},
        {kCommandFileName, nullptr, 1000, "Errore nella Kill di "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " failing " + std::to_string(c.failures));
        Rig r(3);
        const std::string path = r.jobs.DataFile(c.file);
        r.data.put(c.file, "locked");
        r.files.failRemove(path, c.failures);
        bool served = false;
        r.loop.postDelayed(200, [&served] { served = true; });
        c.kill ? (r.jobs.*c.kill)() : r.jobs.DeleteLogged(path);
        const int attempts = std::min(c.failures + 1, kDeleteAttempts);
        EXPECT_EQ(r.files.removeAttempts(path), attempts);
        EXPECT_EQ(r.loop.nowMs(), (attempts - 1) * 500);
        EXPECT_EQ(r.data.has(c.file), attempts == kDeleteAttempts);
        EXPECT_EQ(served, !c.kill);
        const std::string logged =
            c.logged ? "04/03/2027 05:06:16 " + (c.logged + (c.kill ? "" : path)) + "\r\n" : "";
        EXPECT_EQ(r.data.has(kDeletionLogFile) ? r.data.read(kDeletionLogFile) : "", logged);
    }
}

}  // namespace
}  // namespace zelmar::jobs
