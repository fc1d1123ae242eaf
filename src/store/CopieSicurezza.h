#pragma once

#include <QDate>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <functional>

// The automatic backups made when the program ends: one verified copy a day of the archive in
// use, an SQLite file named with the archive's name and the date
// ("VARDELLO 2026-03-15.sqlite") in the backup folder. The last 14 daily copies are kept and,
// for each of the last 12 months, its latest copy; older copies of this archive are deleted,
// never any other file.
namespace copie {

// The named values of "Riferimenti standard" that hold the settings.
inline const QString kRiferimentoCartella = QStringLiteral("Cartella copie di sicurezza");
inline const QString kRiferimentoServer = QStringLiteral("Copie di sicurezza da server");

struct Impostazioni {
    QString cartella;         // empty: the user's data folder, "copie" under it
    bool ancheServer = true;  // an archive on a server is copied to a file too
};

// Reads the settings (absent: the defaults). An engine error is thrown as ErroreArchivio.
Impostazioni leggiImpostazioni(QSqlDatabase db);

// The folder the copies go to with these settings.
QString cartellaCopie(const Impostazioni& impostazioni);

// The file name of the archive's copy of that day.
QString nomeCopia(const QString& archivio, const QDate& giorno);

// The days whose copies are no longer kept, out of the days that have one.
QList<QDate> copieDaEliminare(QList<QDate> giorni, const QDate& oggi);

enum class Esito { Fatta, GiaFatta, Disattivata, Fallita };

// Copies the archive into a file: copiaArchivio, or a test's stand-in.
using Copiatore =
    std::function<bool(const QString& origine, const QString& destinazione, QString* errore)>;

// Makes today's copy of the archive unless it exists already (or the archive is on a server
// and copies of it are turned off), then deletes the copies no longer kept. The copy is
// written under a provisional name and takes its own only once verified. On failure `errore`
// tells why; a copy that failed leaves no file behind.
Esito copiaDelGiorno(const QString& archivio, const Impostazioni& impostazioni, const QDate& oggi,
                     const Copiatore& copia, QString* errore);

}  // namespace copie
