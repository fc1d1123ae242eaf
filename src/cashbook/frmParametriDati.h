#pragma once

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

// Empties "Conti Utilizzati", "Vardello" and "Totali di Cassa", all or nothing: on failure
// every table stays as it was and `errore` tells why. Nothing else is touched.
bool azzeraArchivi(QSqlDatabase db, archivio::Errore* errore);
