#include "PermessiFile.h"

#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>

namespace permessi {

namespace {
constexpr QFile::Permissions kSoloProprietario = QFile::ReadOwner | QFile::WriteOwner |
                                                 QFile::ExeOwner | QFile::ReadUser |
                                                 QFile::WriteUser | QFile::ExeUser;
}  // namespace

bool creaCartellaPrivata(const QString& cartella) {
    const QString assoluta = QDir::cleanPath(QFileInfo(cartella).absoluteFilePath());
    if (QFileInfo(assoluta).isDir()) {
        return true;
    }
    const QString sopra = QFileInfo(assoluta).path();
    if (sopra != assoluta && !creaCartellaPrivata(sopra)) {
        return false;
    }
    return QDir().mkdir(assoluta, kSoloProprietario) || QFileInfo(assoluta).isDir();
}

void rendiPrivata(const QString& cartella) {
    const QFileInfo info(cartella);
    if (info.isDir() && !info.isSymLink() && info.ownerId() == ::geteuid()) {
        QFile::setPermissions(cartella, info.permissions() & kSoloProprietario);
    }
}

bool creaFilePrivato(const QString& percorso, QString* motivo) {
    const QFile::Permissions cartella = QFileInfo(QFileInfo(percorso).absolutePath()).permissions();
    const QFile::Permissions permessi =
        QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser |
        (cartella.testFlag(QFile::WriteGroup) ? QFile::ReadGroup | QFile::WriteGroup
                                              : QFile::Permissions());
    QFile file(percorso);
    // NewOnly never opens an existing file; the permissions are set before anything is written.
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly) || !file.setPermissions(permessi)) {
        if (motivo) {
            *motivo = file.errorString();
        }
        if (file.isOpen()) {
            file.close();
            file.remove();
        }
        return false;
    }
    return true;
}

bool rendiArchivioPrivato(const QString& file, const QString& cartella, QString* errore) {
    const QByteArray nomeFile = QFile::encodeName(file);
    struct stat datiCartella {};
    struct stat datiFile {};
    if (::stat(QFile::encodeName(cartella).constData(), &datiCartella) != 0 ||
        ::stat(nomeFile.constData(), &datiFile) != 0) {
        *errore = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    mode_t permessi = S_IRUSR | S_IWUSR;
    // Only a folder its group may write into is shared by that group (an ordinary folder that
    // others may merely list shares nothing), and only when the file belongs to that group: a
    // folder with the set-group-ID bit gives it; otherwise it is given here when the owner may.
    const bool cartellaCondivisa =
        (datiCartella.st_mode & S_IWGRP) != 0 &&
        (datiFile.st_gid == datiCartella.st_gid ||
         ::chown(nomeFile.constData(), static_cast<uid_t>(-1), datiCartella.st_gid) == 0);
    if (cartellaCondivisa) {
        permessi |= datiCartella.st_mode & (S_IRGRP | S_IWGRP);
    }
    if (::chmod(nomeFile.constData(), permessi) != 0) {
        *errore = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    return true;
}

}  // namespace permessi
