#pragma once

#include <QDateTime>
#include <QSqlDatabase>
#include <QString>
#include <optional>

#include "Archivio.h"
#include "Parametri.h"

// What the parameters window reads and writes besides the named values.

// Stores the parameters as the single row of "Parametri", adding the row when the table is
// empty. False, with nothing changed and `errore` telling why, when the archive refuses.
bool scriviParametri(QSqlDatabase db, const Parametri& parametri, archivio::Errore* errore);

// The description of a VAT code (NULL as empty), or no value when the code does not exist.
// An engine error is thrown as ErroreArchivio.
std::optional<QString> descrizioneCodiceIva(QSqlDatabase db, const QString& codice);

// Where the copy made before an archive reset goes: beside an archive file when its folder can
// be written, otherwise (and for an archive on a server) a file in the user's data folder. The
// name is the archive's with the date and time of the reset:
// "VARDELLO-azzeramento-20050315-103000.MDB".
QString percorsoCopiaAzzeramento(const QString& archivio, const QDateTime& quando);

// Copies the whole archive to percorsoCopiaAzzeramento (now) and checks the copy row by row.
// True with `copia` naming the file; false with `errore` telling why.
bool copiaPrimaDiAzzerare(const QString& archivio, QString* copia, QString* errore);

// Empties "Conti Utilizzati", "Vardello" and "Totali di Cassa", all or nothing: on failure
// every table stays as it was and `errore` tells why. Nothing else is touched.
bool azzeraArchivi(QSqlDatabase db, archivio::Errore* errore);
