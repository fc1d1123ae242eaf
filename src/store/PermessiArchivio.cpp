#include "PermessiArchivio.h"

#include <sys/stat.h>
#include <unistd.h>
#include <QFile>
#include <cerrno>
#include <cstring>

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
