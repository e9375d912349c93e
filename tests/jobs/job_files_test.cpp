#include "jobs/job_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "config/scratch_folder.h"
#include "platform/fake/fake_event_loop.h"
#include "platform/fake/fake_file_system.h"

namespace zelmar::jobs {
namespace {

using testing::ScratchFolder;

class JobFilesTest : public ::testing::Test {
  protected:
    JobFilesTest() : data_("jobs"), jobs_(session_, files_, loop_) {
        session_.DataFolder = data_.path();
        loop_.setStartDateTime({2027, 3, 4, 5, 6, 7});
    }

    std::set<std::string> FilesLeft() const {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(data_.path())) {
            names.insert(entry.path().filename().string());
        }
        return names;
    }

    ScratchFolder data_;
    Session session_;
    platform::FakeFileSystem files_;
    platform::FakeEventLoop loop_;
    JobFiles jobs_;
};

TEST_F(JobFilesTest, SuccessAndFailureLeaveTheExchangeFilesOfTheirSlot) {
    for (int slot = 1; slot <= 4; ++slot) {
        for (const bool success : {true, false}) {
            for (const auto& name : FilesLeft()) std::filesystem::remove(data_.file(name));
            const std::string ext = SlotExtension(slot);
            for (const char* base : {kStartFile, kDatiFile, kMatrFile, kOutFile}) {
                data_.put(base + ext, "x");
            }
            data_.put("SR_ERR" + ext, "stale");
            session_.CurrentSlot = slot;
            // The job cycle's order at the end of a job.
            if (success) {
                jobs_.SubKillErrFile();
                jobs_.SubKillDatiFile();
            } else {
                jobs_.WriteErrFile(ErrorMessageForResult(-4), slot);
            }
            jobs_.SubKillStartFile();

            const std::set<std::string> expected =
                success ? std::set<std::string>{"SR_MATR" + ext, "SR_OUT" + ext, "FINESCO" + ext}
                        : std::set<std::string>{"SR_MATR" + ext, "SR_OUT" + ext, "SR_DATI" + ext,
                                                "SR_ERR" + ext};
            EXPECT_EQ(FilesLeft(), expected) << "slot " << slot << " success " << success;
            if (success) {
                EXPECT_EQ(data_.read("FINESCO" + ext), "finesco");
            } else {
                EXPECT_EQ(data_.read("SR_ERR" + ext), std::string(kMsgNoAnswer) + "\r\n");
            }
        }
    }
}

TEST_F(JobFilesTest, FinescoIsWrittenOnlyWhenStartWasPresentAndNoErrorFile) {
    struct Case {
        bool start, error, finesco;
    };
    const Case cases[] = {{true, false, true}, {true, true, false}, {false, false, false}};
    session_.CurrentSlot = 2;
    for (const auto& c : cases) {
        for (const auto& name : FilesLeft()) std::filesystem::remove(data_.file(name));
        if (c.start) data_.put("SR_START.002", "");
        if (c.error) data_.put("SR_ERR.002", "E504\r\n");
        jobs_.SubKillStartFile();
        EXPECT_FALSE(data_.has("SR_START.002"));
        ASSERT_EQ(data_.has("FINESCO.002"), c.finesco) << c.start << c.error;
        if (c.finesco) {
            EXPECT_EQ(std::filesystem::file_size(data_.file("FINESCO.002")), 7u);
            EXPECT_EQ(data_.read("FINESCO.002"), "finesco");
        }
    }
}

TEST_F(JobFilesTest, ALockedFileIsTriedTwentyTimesAndLoggedOnceWhereTheRoutineLogs) {
    struct Case {
        const char* base;
        void (JobFiles::*kill)();
        const char* logged;  // nullptr: gives up silently
    };
    const Case cases[] = {
        {kErrFile, &JobFiles::SubKillErrFile, "Errore nella Kill di SR_ERR"},
        {kOutFile, &JobFiles::SubKillFileOut, "Errore nella Kill di SR_OUT"},
        {kDatiFile, &JobFiles::SubKillDatiFile, nullptr},
        {kStartFile, &JobFiles::SubKillStartFile, nullptr},
    };
    session_.CurrentSlot = 3;
    for (const auto& c : cases) {
        std::filesystem::remove(data_.file(kDeletionLogFile));
        const std::string path = jobs_.SlotFile(c.base, 3);
        data_.put(std::string(c.base) + ".003", "locked");
        files_.failRemove(path, 1000);
        const auto before = loop_.nowMs();
        (jobs_.*c.kill)();
        EXPECT_EQ(files_.removeAttempts(path), kDeleteAttempts) << c.base;
        EXPECT_EQ(loop_.nowMs() - before, 19 * 500) << c.base;
        EXPECT_TRUE(data_.has(std::string(c.base) + ".003"));
        if (c.logged) {
            // 05:06:07 plus the 9.5 s of pauses of this case and of those before it.
            const auto seconds = 7 + loop_.nowMs() / 1000;
            char stamp[32];
            std::snprintf(stamp, sizeof stamp, "04/03/2027 05:06:%02d ", static_cast<int>(seconds));
            EXPECT_EQ(data_.read(kDeletionLogFile), stamp + std::string(c.logged) + "\r\n");
        } else {
            EXPECT_FALSE(data_.has(kDeletionLogFile)) << c.base;
        }
        files_.failRemove(path, 0);
        std::filesystem::remove(data_.file(std::string(c.base) + ".003"));
    }
}

TEST_F(JobFilesTest, KillIfExistsPumpsWhileWaitingAndLogsThePath) {
    const std::string path = jobs_.DataFile(kCommandFile);
    data_.put(kCommandFile, "1/...");
    files_.failRemove(path, 1000);
    bool handled = false;
    loop_.postDelayed(200, [&handled] { handled = true; });
    jobs_.KillIfExists(path);
    EXPECT_TRUE(handled);
    EXPECT_EQ(files_.removeAttempts(path), kDeleteAttempts);
    EXPECT_EQ(data_.read(kDeletionLogFile),
              "04/03/2027 05:06:16 Errore nella Kill di " + path + "\r\n");
}

TEST_F(JobFilesTest, SubKillPausesDoNotPumpAndAFileFreedInTimeIsNotLogged) {
    session_.CurrentSlot = 1;
    const std::string path = jobs_.SlotFile(kErrFile, 1);
    data_.put("SR_ERR.001", "E504");
    files_.failRemove(path, 3);
    bool handled = false;
    loop_.postDelayed(200, [&handled] { handled = true; });
    jobs_.SubKillErrFile();
    EXPECT_FALSE(handled);
    EXPECT_EQ(files_.removeAttempts(path), 4);
    EXPECT_EQ(loop_.nowMs(), 3 * 500);
    EXPECT_FALSE(data_.has("SR_ERR.001"));
    EXPECT_FALSE(data_.has(kDeletionLogFile));
}

TEST_F(JobFilesTest, ErrorFileIsReplacedAndCarriesTheReplyLineOnlyInNetworkMode) {
    struct Case {
        bool network;
        bool provider;
        std::string content;
    };
    const Case cases[] = {
        {false, true, "E507\r\n"},
        {true, false, "E507\r\n"},
        {true, true, "E507\r\n9 - Aliquota IVA errata - 2\r\n"},
    };
    for (const auto& c : cases) {
        JobFiles jobs(session_, files_, loop_);
        if (c.provider) jobs.setReplyLineProvider([] { return "9 - Aliquota IVA errata - 2"; });
        session_.options.OptionRete = c.network;
        data_.put("SR_ERR.004", "an older and much longer message\r\nsecond\r\n");
        jobs.WriteErrFile("E507", 4);
        EXPECT_EQ(data_.read("SR_ERR.004"), c.content) << c.network << c.provider;
    }
    for (const int slot : {0, 5, -1}) {
        jobs_.WriteErrFile("E507", slot);
    }
    EXPECT_EQ(FilesLeft(), std::set<std::string>{"SR_ERR.004"});
}

TEST_F(JobFilesTest, VerifyExistenceAndKillMakesOneAttempt) {
    data_.put("SR_MATR.001", "x");
    data_.put("SR_OUT.001", "x");
    const std::string sep(1, kPathSeparator);
    files_.failRemove(jobs_.SlotFile(kOutFile, 1), 5);
    jobs_.VerifyExistenceAndKill(sep + "SR_MATR.001");
    jobs_.VerifyExistenceAndKill(sep + "SR_OUT.001");
    jobs_.VerifyExistenceAndKill(sep + "FINESCO.001");  // absent: nothing happens
    EXPECT_FALSE(data_.has("SR_MATR.001"));
    EXPECT_TRUE(data_.has("SR_OUT.001"));
    EXPECT_EQ(files_.removeAttempts(jobs_.SlotFile(kOutFile, 1)), 1);
    EXPECT_EQ(loop_.nowMs(), 0);
}

}  // namespace
}  // namespace zelmar::jobs
