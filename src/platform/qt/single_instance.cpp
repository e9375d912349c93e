#include "platform/qt/single_instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

namespace zelmar::platform {
namespace {
QString LockPathFor(const std::string& programFolder) {
    const QString folder =
        QFileInfo(QString::fromLocal8Bit(programFolder.c_str())).absoluteFilePath();
    const QByteArray hash =
        QCryptographicHash::hash(folder.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    return QDir::temp().filePath(QStringLiteral("zelmar1-%1.lock").arg(QString::fromLatin1(hash)));
}
}  // namespace

SingleInstance::SingleInstance(const std::string& programFolder)
    : lock_(std::make_unique<QLockFile>(LockPathFor(programFolder))) {
    // Only a dead owner makes the lock stale, never its age: the program runs for months.
    lock_->setStaleLockTime(0);
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::tryAcquire() {
    return lock_->isLocked() || lock_->tryLock(0);
}

std::string SingleInstance::lockFilePath() const {
    return lock_->fileName().toLocal8Bit().toStdString();
}

}  // namespace zelmar::platform
