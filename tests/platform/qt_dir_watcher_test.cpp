#include "platform/qt/qt_dir_watcher.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <utility>

#include "qt_test_app.h"

namespace zelmar::platform {
namespace {

// Bits: 1 a name changed, 2 a size, 4 a write. Changes made while the loop is busy arrive as
// one event; a stopped watcher is quiet.
TEST(QtDirWatcher, ReportsNameSizeAndWriteBitsOncePerBusySpellAndIsQuietWhenStopped) {
    EnsureQtApp();
    QTemporaryDir folder;
    QtEventLoop loop;
    QtDirWatcher watcher;
    std::vector<int> events;
    ASSERT_TRUE(watcher.start(folder.path().toStdString(), false,
                              [&](int bits) { events.push_back(bits); }));
    const auto write = [&](const char* name, const char* bytes, QIODevice::OpenMode mode) {
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(mode));
        file.write(bytes);
    };
    const auto next = [&](int limitMs = 3000) {  // the events of the next busy spell
        PumpUntil(
            loop, [&] { return !events.empty(); }, limitMs);
        return std::exchange(events, {});
    };
    write("SR_START.001", "", QIODevice::WriteOnly);
    write("SR_DATI.001", "VEND,P100;", QIODevice::WriteOnly);
    EXPECT_EQ(next(), std::vector<int>{1 | 2 | 4});
    write("SR_DATI.001", "CHIU;", QIODevice::Append);
    EXPECT_EQ(next(), std::vector<int>{2 | 4});
    ASSERT_TRUE(QFile::remove(folder.filePath("SR_DATI.001")));
    EXPECT_EQ(next(), std::vector<int>{1});

    watcher.stop();
    watcher.stop();
    write("late.txt", "x", QIODevice::WriteOnly);
    EXPECT_EQ(next(100), std::vector<int>{});
    EXPECT_FALSE(watcher.start(folder.filePath("missing").toStdString(), false, [](int) {}));
}

}  // namespace
}  // namespace zelmar::platform
