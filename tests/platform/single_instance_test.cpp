#include "platform/qt/single_instance.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#include <QTemporaryDir>

#include "qt_test_app.h"

namespace zelmar::platform {
namespace {

class SingleInstanceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        EnsureQtApp();
        ASSERT_TRUE(programFolder_.isValid());
    }
    std::string folder() const { return programFolder_.path().toStdString(); }
    QTemporaryDir programFolder_;
};

TEST_F(SingleInstanceTest, ASecondCopyIsRefusedWhileTheFirstRuns) {
    auto first = std::make_unique<SingleInstance>(folder());
    SingleInstance second(folder() + "/.");  // the same folder, written differently
    SingleInstance elsewhere(folder() + "/other");
    EXPECT_EQ(first->lockFilePath(), second.lockFilePath());
    ASSERT_TRUE(first->tryAcquire());
    EXPECT_TRUE(first->tryAcquire());
    EXPECT_FALSE(second.tryAcquire());
    EXPECT_TRUE(elsewhere.tryAcquire());
    first.reset();
    EXPECT_TRUE(second.tryAcquire());
}

TEST_F(SingleInstanceTest, TheLockOfADeadCopyIsTakenOver) {
    QByteArray content;
    std::string path;
    {
        SingleInstance model(folder());
        ASSERT_TRUE(model.tryAcquire());
        path = model.lockFilePath();
        QFile lock(QString::fromStdString(path));
        ASSERT_TRUE(lock.open(QIODevice::ReadOnly));
        content = lock.readAll();
    }
    const pid_t dead = fork();
    if (dead == 0) _exit(0);
    ASSERT_GT(dead, 0);
    waitpid(dead, nullptr, 0);
    // The same lock as a crashed copy leaves it: its own process id, no owner alive.
    content = QByteArray::number(dead) + content.mid(content.indexOf('\n'));
    QFile lock(QString::fromStdString(path));
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    lock.write(content);
    lock.close();

    SingleInstance next(folder());
    EXPECT_TRUE(next.tryAcquire());
}

}  // namespace
}  // namespace zelmar::platform
