#include "platform/qt/single_instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

namespace zelmar::platform {
namespace {

// The path with links and "." / ".." resolved; a folder that does not exist (yet) keeps its
// cleaned absolute path.
QString CanonicalFolder(const std::string& folder) {
    const QFileInfo info(QString::fromLocal8Bit(folder.c_str()));
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

QString LockPathFor(SingleInstance::Scope scope, const std::string& folder) {
    const QByteArray hash =
        QCryptographicHash::hash(CanonicalFolder(folder).toUtf8(), QCryptographicHash::Sha1)
            .toHex()
            .left(16);
    // Distinct names: on Linux the data folder is by default the program folder itself.
    const QString kind =
        scope == SingleInstance::Scope::kDataFolder ? QStringLiteral("-data") : QString();
    return QDir::temp().filePath(
        QStringLiteral("zelmar1%1-%2.lock").arg(kind, QString::fromLatin1(hash)));
}

}  // namespace

SingleInstance::SingleInstance(Scope scope, const std::string& folder)
    : lock_(std::make_unique<QLockFile>(LockPathFor(scope, folder))) {
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
