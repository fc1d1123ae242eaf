#include "Transazione.h"

#include <QSqlDriver>
#include <QSqlError>

#include "DatiCondivisi.h"

bool eseguiInTransazione(QSqlDatabase db, const std::function<bool(QSqlQuery&)>& lavoro,
                         archivio::Errore* errore) {
    if (!db.transaction()) {
        if (errore) {
            *errore = archivio::erroreDi(db.lastError());
        }
        return false;
    }
    bool riuscito = false;
    {
        // The query outlives the end of the transaction: PostgreSQL refuses to release a
        // prepared statement inside a transaction that has failed.
        QSqlQuery q(db);
        riuscito = lavoro(q);
        if (!riuscito && errore) {
            *errore = archivio::erroreDi(q.lastError());
        }
        q.finish();
        if (riuscito && !db.commit()) {
            riuscito = false;
            if (errore) {
                *errore = archivio::erroreDi(db.lastError());
            }
        }
        if (!riuscito) {
            db.rollback();
        }
    }
    LiberaBlocchi(db);
    return riuscito;
}

bool bloccaTabella(QSqlQuery& q, const QString& tabella) {
    if (q.driver()->dbmsType() != QSqlDriver::PostgreSQL) {
        return true;
    }
    return q.exec(QStringLiteral("LOCK TABLE \"%1\" IN EXCLUSIVE MODE").arg(tabella));
}
