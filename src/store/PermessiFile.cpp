#include "PermessiFile.h"

#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>

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

}  // namespace permessi
