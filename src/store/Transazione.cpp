#include "Transazione.h"

#include <QSqlDriver>
#include <QSqlError>

#include "DatiCondivisi.h"

bool eseguiInTransazione(QSqlDatabase db, const std::function<bool(QSqlQuery&)>& lavoro,
                         archivio::Errore* errore) {
    if (!iniziaTransazione(db, errore)) {
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
        if (riuscito && !confermaTransazione(db, errore)) {
            riuscito = false;
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

namespace {

bool suFile(const QSqlDatabase& db) {
    return db.driver()->dbmsType() == QSqlDriver::SQLite;
}

bool eseguiComando(QSqlDatabase db, const QString& comando, archivio::Errore* errore) {
    QSqlQuery q(db);
    if (q.exec(comando)) {
        return true;
    }
    if (errore) {
        *errore = archivio::erroreDi(q.lastError());
    }
    return false;
}

}  // namespace

bool iniziaTransazione(QSqlDatabase db, archivio::Errore* errore) {
    if (suFile(db)) {
        return eseguiComando(db, QStringLiteral("BEGIN"), errore);
    }
    if (db.transaction()) {
        return true;
    }
    if (errore) {
        *errore = archivio::erroreDi(db.lastError());
    }
    return false;
}

bool confermaTransazione(QSqlDatabase db, archivio::Errore* errore) {
    if (suFile(db)) {
        return eseguiComando(db, QStringLiteral("COMMIT"), errore);
    }
    // On a server the driver's commit also notices a transaction the server has already
    // given up, which a plain COMMIT statement would report as done.
    if (db.commit()) {
        return true;
    }
    if (errore) {
        *errore = archivio::erroreDi(db.lastError());
        if (!db.isOpen()) {
            errore->codice = QStringLiteral("08006");  // the answer to the commit was lost
        }
    }
    return false;
}
