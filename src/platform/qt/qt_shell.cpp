#include "platform/qt/qt_shell.h"

#include <QApplication>
#include <QDesktopServices>
#include <QEventLoop>
#include <QMessageBox>
#include <QProcess>
#include <QTimer>
#include <QUrl>
#include <cstdio>

#include "platform/ping_reply.h"
#include "platform/qt/windows1252.h"

#ifdef _WIN32
#include <windows.h>

#include <QDir>
#include <QFile>
#include <QTemporaryFile>
#endif

namespace zelmar::platform {
namespace {

// One echo request waits up to 2 s (Linux, "-W 2") or 4 s (Windows' default); the rest is
// for starting the command and resolving a name. Past this the ping counts as failed.
constexpr int kPingBudgetMs = 6000;

// Runs the prepared process to its end inside a local event loop: the window stays alive and
// nothing spins. False when it cannot start, crashes or overruns the budget.
bool RunBounded(QProcess& process) {
    QEventLoop wait;
    bool done = false;
    const auto finish = [&] {
        done = true;
        wait.quit();
    };
    QObject::connect(&process, &QProcess::finished, &wait, finish);
    QObject::connect(&process, &QProcess::errorOccurred, &wait, finish);
    QTimer::singleShot(kPingBudgetMs, &wait, [&] { wait.quit(); });
    process.start();
    if (!done) wait.exec();
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(1000);
        return false;
    }
    return process.error() == QProcess::UnknownError &&
           process.exitStatus() == QProcess::NormalExit;
}

#ifdef _WIN32
// As the system has always done it: the command interpreter, hidden, writes the output of one
// ping into a temporary file "pin…" that is read and deleted.
std::string PingOutput(const std::string& host) {
    QTemporaryFile file(QDir::tempPath() + QStringLiteral("/pinXXXXXX"));
    if (!file.open()) return {};
    file.close();
    QProcess process;
    process.setProgram(qEnvironmentVariable("COMSPEC", QStringLiteral("cmd.exe")));
    process.setNativeArguments(
        QStringLiteral("/c ping -n 1 %1 > \"%2\"")
            .arg(QString::fromLatin1(host.c_str()), QDir::toNativeSeparators(file.fileName())));
    process.setCreateProcessArgumentsModifier(
        [](QProcess::CreateProcessArguments* args) { args->flags |= CREATE_NO_WINDOW; });
    if (!RunBounded(process)) return {};
    QFile output(file.fileName());
    if (!output.open(QIODevice::ReadOnly)) return {};
    return output.readAll().toStdString();
}
#else
std::string PingOutput(const std::string& host) {
    QProcess process;
    process.setProgram(QStringLiteral("ping"));
    process.setArguments({"-c", "1", "-W", "2", QString::fromLatin1(host.c_str())});
    if (!RunBounded(process)) return {};
    return process.readAllStandardOutput().toStdString();
}
#endif

}  // namespace

void QtShell::notice(const std::string& text) {
    const QString message = FromWindows1252(text);
    if (windowMode_ && qobject_cast<QApplication*>(QCoreApplication::instance())) {
        QMessageBox::information(nullptr, QCoreApplication::applicationName(), message);
        return;
    }
    if (noticeLog_) {
        noticeLog_->write(LogLevel::kWarning, message.toStdString());
        return;
    }
    const QByteArray local = message.toLocal8Bit();
    std::fwrite(local.constData(), 1, static_cast<size_t>(local.size()), stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);
}

bool QtShell::openDocument(const std::string& path) {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromLocal8Bit(path.c_str())));
}

int QtShell::ping(const std::string& host) {
    if (!IsPlainHostText(host)) return -1;
    return PingReplyMs(PingOutput(host));
}

}  // namespace zelmar::platform
