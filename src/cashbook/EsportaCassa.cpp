#include "EsportaCassa.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

#include "LibroEsportato.h"
#include "ScriviFogli.h"
#include "Sql.h"

namespace {

QString nonScrivibile(const QString& percorso, const QString& motivo) {
    return QStringLiteral("Impossibile scrivere il file '%1'.\n%2")
        .arg(QDir::toNativeSeparators(percorso), motivo);
}

// libxlsxwriter writes a file by name: it goes to a private temporary file first and is then
// copied into the destination through `file`.
bool scriviXlsxIn(const QList<TabellaEsportata>& fogli, QSaveFile& file, QString* errore) {
    QTemporaryFile provvisorio(QDir::temp().filePath(QStringLiteral("vardello-XXXXXX.xlsx")));
    if (!provvisorio.open()) {
        *errore = nonScrivibile(provvisorio.fileTemplate(), provvisorio.errorString());
        return false;
    }
    provvisorio.close();
    if (!scriviXlsx(fogli, provvisorio.fileName(), errore)) {
        return false;
    }
    if (!provvisorio.open()) {
        *errore = nonScrivibile(provvisorio.fileName(), provvisorio.errorString());
        return false;
    }
    while (!provvisorio.atEnd()) {
        const QByteArray blocco = provvisorio.read(1 << 20);
        if (blocco.isEmpty() || file.write(blocco) != blocco.size()) {
            *errore = nonScrivibile(file.fileName(), file.errorString());
            return false;
        }
    }
    return true;
}

}  // namespace

std::optional<FormatoEsportazione> formatoDi(const QString& percorso) {
    const QString estensione = QFileInfo(percorso).suffix().toLower();
    if (estensione == QLatin1String("xlsx")) {
        return FormatoEsportazione::Xlsx;
    }
    if (estensione == QLatin1String("csv")) {
        return FormatoEsportazione::Csv;
    }
    return std::nullopt;
}

bool esportaCassa(QSqlDatabase db, const QDate& dal, const QDate& al, const QString& percorso,
                  QString* errore) {
    const std::optional<FormatoEsportazione> formato = formatoDi(percorso);
    if (!formato) {
        *errore = QStringLiteral("Il file '%1' deve terminare con .xlsx o .csv.")
                      .arg(QDir::toNativeSeparators(percorso));
        return false;
    }
    if (!dal.isValid() || !al.isValid() || dal > al) {
        *errore = QStringLiteral("Il periodo da esportare non è valido.");
        return false;
    }
    QSaveFile file(percorso);
    if (!file.open(QIODevice::WriteOnly)) {
        *errore = nonScrivibile(percorso, file.errorString());
        return false;
    }
    LibroEsportato libro;
    try {
        libro = leggiLibroEsportato(db, dal, al);
    } catch (const ErroreArchivio& e) {
        *errore =
            QStringLiteral("Errore nell'accesso alla tabella 'Vardello'\n\nCodice errore = ") +
            e.codice;
        return false;  // the destination is left untouched
    }
    bool scritto = false;
    if (*formato == FormatoEsportazione::Csv) {
        scritto = scriviCsv(primaNota(libro), file);
        if (!scritto) {
            *errore = nonScrivibile(percorso, file.errorString());
        }
    } else {
        QList<TabellaEsportata> fogli{primaNota(libro)};
        if (libro.gestioneIva) {
            fogli.append(situazioneIva(libro));
        }
        scritto = scriviXlsxIn(fogli, file, errore);
    }
    if (!scritto) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        *errore = nonScrivibile(percorso, file.errorString());
        return false;
    }
    return true;
}
