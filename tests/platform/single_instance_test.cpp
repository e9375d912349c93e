#include "platform/qt/single_instance.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#include <QTemporaryDir>

#include "qt_test_app.h"

namespace zelmar::platform {
namespace {

TEST(SingleInstance, ASecondCopyIsRefusedWhileTheFirstRunsAndADeadCopysLockIsTakenOver) {
    EnsureQtApp();
    QTemporaryDir programFolder;
    ASSERT_TRUE(programFolder.isValid());
    const std::string folder = programFolder.path().toStdString();
    constexpr auto kProgram = SingleInstance::Scope::kProgramFolder;
    auto first = std::make_unique<SingleInstance>(kProgram, folder);
    SingleInstance second(kProgram, folder + "/.");  // the same folder, written differently
    SingleInstance elsewhere(kProgram, folder + "/other");
    EXPECT_EQ(first->lockFilePath(), second.lockFilePath());
    ASSERT_TRUE(first->tryAcquire());
    EXPECT_TRUE(first->tryAcquire());
    EXPECT_FALSE(second.tryAcquire());
    EXPECT_TRUE(elsewhere.tryAcquire());

    // The lock as a crashed copy leaves it: its own process id, no owner alive.
    QFile lock(QString::fromStdString(first->lockFilePath()));
    ASSERT_TRUE(lock.open(QIODevice::ReadOnly));
    QByteArray content = lock.readAll();
    lock.close();
    first.reset();
    const pid_t dead = fork();
    if (dead == 0) _exit(0);
    ASSERT_GT(dead, 0);
    waitpid(dead, nullptr, 0);
    content = QByteArray::number(dead) + content.mid(content.indexOf('\n'));
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    lock.write(content);
    lock.close();
    EXPECT_TRUE(second.tryAcquire());
}

}  // namespace
}  // namespace zelmar::platform
