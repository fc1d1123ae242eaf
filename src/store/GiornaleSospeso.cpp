#include "GiornaleSospeso.h"

#include <fcntl.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>

namespace {

// Writes `da` over `a` in place (the archive keeps its own permissions and owner).
bool riscrivi(const QString& da, const QString& a) {
    QFile sorgente(da);
    QFile destinazione(a);
    if (!sorgente.open(QIODevice::ReadOnly) ||
        !destinazione.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return false;
    }
    while (!sorgente.atEnd()) {
        const QByteArray blocco = sorgente.read(1 << 20);
        if (blocco.isEmpty() || destinazione.write(blocco) != blocco.size()) {
            return false;
        }
    }
    return destinazione.flush();
}

bool copiaSopra(const QString& da, const QString& a) {
    QFile::remove(a);
    return QFile::copy(da, a);  // the copy gets the original's permissions
}

// Whether another program holds the engine's reserved lock on the archive: it is in the
// middle of a write, and the journal beside the file is its live one, not an interrupted
// write's (the engine marks a writer by a lock on the byte after its pending byte).
bool scritturaInCorso(const QString& archivio) {
    constexpr off_t kByteRiservato = 0x40000001;
    const int fd = ::open(QFile::encodeName(archivio).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    struct flock blocco {};
    blocco.l_type = F_WRLCK;
    blocco.l_whence = SEEK_SET;
    blocco.l_start = kByteRiservato;
    blocco.l_len = 1;
    const bool occupato = ::fcntl(fd, F_GETLK, &blocco) == 0 && blocco.l_type != F_UNLCK;
    ::close(fd);
    return occupato;
}

}  // namespace

GiornaleSospeso::GiornaleSospeso(const QString& archivio)
    : archivio_(archivio), copia_(archivio + QStringLiteral(".prima-del-giornale")) {
    const QFileInfo giornale(giornaleDi(archivio));
    presente_ = giornale.isFile() && giornale.size() > 0 && !scritturaInCorso(archivio);
}

GiornaleSospeso::~GiornaleSospeso() {
    if (copiato_ && confermato_) {
        QFile::remove(copia_);
        QFile::remove(giornaleDi(copia_));
    }
}

QString GiornaleSospeso::giornaleDi(const QString& archivio) {
    return archivio + QStringLiteral("-journal");
}

bool GiornaleSospeso::conservaCopia(archivio::Errore* errore) {
    // The pair aside has the same names as an archive and its journal, so whoever opens the
    // copy sees exactly what was found.
    copiato_ =
        copiaSopra(archivio_, copia_) && copiaSopra(giornaleDi(archivio_), giornaleDi(copia_));
    if (!copiato_) {
        QFile::remove(copia_);
        QFile::remove(giornaleDi(copia_));
        if (!QFileInfo::exists(giornaleDi(archivio_))) {
            // Gone meanwhile: another program's write ended and took its journal away.
            presente_ = false;
            return true;
        }
        if (errore) {
            *errore = {QStringLiteral("10"),
                       QStringLiteral("Accanto all'archivio c'è il giornale '%1' di una scrittura "
                                      "interrotta, e non è stato possibile conservarne una copia "
                                      "in '%2' prima di applicarlo.")
                           .arg(giornaleDi(archivio_), copia_)};
        }
    }
    return copiato_;
}

void GiornaleSospeso::rimettiOriginale(archivio::Errore* errore) {
    if (!copiato_) {
        return;
    }
    const bool rimesso =
        riscrivi(copia_, archivio_) && copiaSopra(giornaleDi(copia_), giornaleDi(archivio_));
    if (errore) {
        errore->testo += rimesso ? QStringLiteral(
                                       "\n\nAccanto all'archivio c'era il giornale '%1' di una "
                                       "scrittura interrotta: l'archivio e il giornale sono stati "
                                       "rimessi come erano. Una loro copia è in '%2' e '%3'.")
                                       .arg(giornaleDi(archivio_), copia_, giornaleDi(copia_))
                                 : QStringLiteral(
                                       "\n\nAccanto all'archivio c'era il giornale '%1' di una "
                                       "scrittura interrotta, e non è stato possibile rimettere "
                                       "l'archivio com'era: l'originale e il suo giornale sono in "
                                       "'%2' e '%3'.")
                                       .arg(giornaleDi(archivio_), copia_, giornaleDi(copia_));
    }
}
