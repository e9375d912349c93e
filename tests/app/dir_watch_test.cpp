#include <gtest/gtest.h>

#include "form_fixture.h"

namespace zelmar::app::testing {
namespace {

class DirWatchTest : public FormTest {
  protected:
    // Slot 1 served and read: the watcher runs, as after a successful read.
    void ReadSlotOne(bool fast) {
        session.options.FastMode = fast;
        Serve({1});
        form.StartRegisterRead(1);
        ASSERT_FALSE(watchers.empty());
        loop.advance(1000);  // the port-close tick
        calls.clear();
    }
    int Attempts() const { return Count(calls, "NewLogLines"); }
};

TEST_F(DirWatchTest, FastModeRunsAJobThatWasWaitingBeforeTheRead) {
    session.options.FastMode = true;
    Serve({1});
    Submit(1);
    form.StartRegisterRead(1);
    loop.advance(100);
    EXPECT_EQ(Count(calls, "TransmitJob 1 test 0"), 1);
}

TEST_F(DirWatchTest, SlowModeEventMakesNoAttempt) {
    ReadSlotOne(false);
    form.PollTimer().setEnabled(false);
    Submit(1);
    watchers.back()->fire(1 | 2);
    loop.advance(100);
    EXPECT_EQ(Attempts(), 0);
    EXPECT_FALSE(form.DirWatch()->SuspendWatch());
}

// Fast mode: a change runs the job; the changes made while it runs are held back and give one
// event after it.
TEST_F(DirWatchTest, FastModeChangesDuringTheAttemptGiveOneEventAfterIt) {
    ReadSlotOne(true);
    Submit(1);
    outside.onTransmit = [&] {
        EXPECT_TRUE(form.DirWatch()->SuspendWatch());
        for (int bits : {1, 2, 4, 1}) {
            watchers.back()->fire(bits);
            loop.pumpWait(100);  // the job's waits pump the loop
        }
        return jobs::JobResult::kOk;
    };
    watchers.back()->fire(1);
    loop.advance(1000);
    EXPECT_EQ(Attempts(), 2);  // the job's, then one for everything held back
    EXPECT_EQ(Count(calls, "TransmitJob 1 test 0"), 1);
    EXPECT_FALSE(form.PollTimer().enabled());  // fast mode: no poll after the attempt
    EXPECT_FALSE(form.DirWatch()->SuspendWatch());
}

TEST_F(DirWatchTest, AReadStartedByAnEventMayReplaceTheWatcher) {
    ReadSlotOne(true);
    std::filesystem::remove(Path("SR_MATR", 1));
    auto* first = watchers.back();
    first->fire(1);
    loop.advance(10);
    EXPECT_EQ(Count(calls, "ReadRegisterData 1"), 1);
    ASSERT_NE(watchers.back(), first);
    EXPECT_TRUE(watchers.back()->running());
    EXPECT_FALSE(form.DirWatch()->SuspendWatch());
}

}  // namespace
}  // namespace zelmar::app::testing
