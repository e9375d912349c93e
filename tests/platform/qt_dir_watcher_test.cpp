#include "platform/qt/qt_dir_watcher.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "qt_test_app.h"

namespace zelmar::platform {
namespace {

class QtDirWatcherTest : public ::testing::Test {
  protected:
    void SetUp() override {
        EnsureQtApp();
        ASSERT_TRUE(folder_.isValid());
        ASSERT_TRUE(watcher_.start(folder_.path().toStdString(), false,
                                   [this](int bits) { events_.push_back(bits); }));
    }
    void write(const QString& name, const QByteArray& bytes, QIODevice::OpenMode mode) {
        QFile file(folder_.filePath(name));
        ASSERT_TRUE(file.open(mode));
        file.write(bytes);
    }
    int collect(int wantedBits) {  // the OR of the events until wantedBits have been seen
        int seen = 0;
        PumpUntil(loop_, [&] {
            for (const int bits : events_) seen |= bits;
            events_.clear();
            return (seen & wantedBits) == wantedBits;
        });
        return seen;
    }

    QTemporaryDir folder_;
    QtEventLoop loop_;
    QtDirWatcher watcher_;
    std::vector<int> events_;
};

// Bits: 1 a name changed, 2 a size, 4 a write.
TEST_F(QtDirWatcherTest, ReportsNamesOnCreateAndSizeAndWriteOnChange) {
    write("SR_DATI.001", "VEND,P100;", QIODevice::WriteOnly);
    EXPECT_EQ(collect(1) & 1, 1);
    loop_.pumpWait(50);
    events_.clear();
    write("SR_DATI.001", "CHIU;", QIODevice::Append);
    EXPECT_EQ(collect(2 | 4) & 6, 6);
    ASSERT_TRUE(QFile::remove(folder_.filePath("SR_DATI.001")));
    EXPECT_EQ(collect(1) & 1, 1);
}

TEST_F(QtDirWatcherTest, ChangesWhileTheLoopIsBusyArriveAsOneEventAndAStoppedWatcherIsQuiet) {
    write("SR_START.001", "", QIODevice::WriteOnly);
    write("SR_DATI.001", "CHIU;", QIODevice::WriteOnly);
    ASSERT_TRUE(PumpUntil(loop_, [&] { return !events_.empty(); }));
    EXPECT_EQ(events_, std::vector<int>{1 | 2 | 4});

    watcher_.stop();
    watcher_.stop();
    events_.clear();
    write("late.txt", "x", QIODevice::WriteOnly);
    loop_.pumpWait(100);
    EXPECT_TRUE(events_.empty());
    EXPECT_FALSE(watcher_.start(folder_.filePath("missing").toStdString(), false, [](int) {}));
}

}  // namespace
}  // namespace zelmar::platform
