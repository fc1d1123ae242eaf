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
