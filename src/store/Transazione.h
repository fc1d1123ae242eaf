#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <functional>

#include "Archivio.h"

// Runs `lavoro` as one transaction on db: all it writes is kept when it returns true and the
// commit succeeds; nothing is kept otherwise. `lavoro` runs its statements on the query it is
// given, so that a failing statement leaves its error there. On failure `errore` holds the
// engine's error and the result is false.
bool eseguiInTransazione(QSqlDatabase db, const std::function<bool(QSqlQuery&)>& lavoro,
                         archivio::Errore* errore);

// For a rewrite inside eseguiInTransazione: on a PostgreSQL server, locks `tabella` against
// other computers' writes until the transaction ends, so that two rewrites at the same moment
// run one after the other instead of mixing (on a file the engine's write lock does this by
// itself). False, with the error on q, when the lock cannot be taken.
bool bloccaTabella(QSqlQuery& q, const QString& tabella);

// Begins and commits a transaction so that a refusal carries the engine's own error number
// (the SQLite driver's own transaction calls drop it, which showed as code 0). False, with
// the error, when the engine refused.
bool iniziaTransazione(QSqlDatabase db, archivio::Errore* errore);
bool confermaTransazione(QSqlDatabase db, archivio::Errore* errore);
