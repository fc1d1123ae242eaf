#include "Platform.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>
#include <QSysInfo>

struct SystemPlatform::Lock {
    explicit Lock(const QString& path) : file(path) {}
    QLockFile file;
};

SystemPlatform::SystemPlatform() = default;
SystemPlatform::~SystemPlatform() {
    delete lock_;
}

QString SystemPlatform::programFolder() const {
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
}

bool SystemPlatform::programFolderWritable() const {
    // A program installed under /usr lives in a system folder, even when the person running
    // it (root) could write there.
    const QString folder = QCoreApplication::applicationDirPath();
    return QFileInfo(folder).isWritable() && !folder.startsWith(QStringLiteral("/usr/"));
}

QString SystemPlatform::userConfigFolder() const {
    return QDir::toNativeSeparators(
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
        QStringLiteral("/vardello"));
}

QString SystemPlatform::userDataFolder() const {
    return QDir::toNativeSeparators(
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
        QStringLiteral("/vardello"));
}

QString SystemPlatform::computerName() const {
    QString name = QSysInfo::machineHostName();
    const qsizetype nul = name.indexOf(QChar(u'\0'));
    if (nul >= 0) {
        name.truncate(nul);
    }
    return name.left(255);
}

QString SystemPlatform::singleInstanceLockPath() const {
    // One lock per person and program folder, in the person's private runtime folder (no
    // other user can plant it or be blocked by it); copies started from other folders are
    // other programs.
    const QByteArray key =
        QCryptographicHash::hash(programFolder().toUtf8(), QCryptographicHash::Sha1).toHex();
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) +
           QStringLiteral("/vardello-%1.lock").arg(QString::fromLatin1(key.left(16)));
}

bool SystemPlatform::claimSingleInstance() {
    if (lock_) {
        return true;
    }
    auto* lock = new Lock(singleInstanceLockPath());
    // A lock whose owner is no longer running (a copy killed or crashed) is taken over.
    lock->file.setStaleLockTime(0);
    if (!lock->file.tryLock(0)) {
        delete lock;
        return false;
    }
    lock_ = lock;
    return true;
}
