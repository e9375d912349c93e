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

namespace zelmar::platform {
namespace {

// One echo request waits up to 2 s ("-W 2"); the rest is for starting the command and
// resolving a name. Past this the ping counts as failed.
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

std::string PingOutput(const std::string& host) {
    QProcess process;
    process.setProgram(QStringLiteral("ping"));
    process.setArguments({"-c", "1", "-W", "2", QString::fromLatin1(host.c_str())});
    if (!RunBounded(process)) return {};
    return process.readAllStandardOutput().toStdString();
}

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
