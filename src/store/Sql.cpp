#include "Sql.h"

#include <QPointer>
#include <QSqlDriver>
#include <memory>
#include <unordered_map>

#include "Archivio.h"

void lanciaErrore(const QSqlError& errore) {
    const archivio::Errore e = archivio::erroreDi(errore);
    throw ErroreArchivio{e.codice, e.testo};
}

bool eseguiSql(QSqlQuery& q, const QString& sql, const QVariantList& valori) {
    // A statement without values runs directly: PostgreSQL cannot prepare every statement
    // (table definitions, for one).
    if (valori.isEmpty()) {
        return q.exec(sql);
    }
    if (!q.prepare(sql)) {
        return false;
    }
    for (const QVariant& valore : valori) {
        q.addBindValue(valore);
    }
    return q.exec();
}

namespace {

// The statements kept for one connection, valid while the driver that prepared them lives
// and the connection has not been closed since.
struct IstruzioniConnessione {
    QPointer<QSqlDriver> driver;
    bool valide = true;
    int inUso = 0;  // statements being used now, which are never released under them
    std::unordered_map<QString, std::unique_ptr<QSqlQuery>> preparate;
};

// Connections belong to the thread that opened them, and so do their statements.
thread_local std::unordered_map<QString, IstruzioniConnessione> istruzioni;

IstruzioniConnessione& istruzioniDi(const QSqlDatabase& db) {
    IstruzioniConnessione& kept = istruzioni[db.connectionName()];
    if (kept.inUso == 0 && (!kept.valide || kept.driver != db.driver())) {
        kept.preparate.clear();
        kept.driver = db.driver();
        kept.valide = true;
    }
    return kept;
}

}  // namespace

Istruzione::Istruzione(QSqlDatabase db, const QString& sql) : connessione_(db.connectionName()) {
    IstruzioniConnessione& kept = istruzioniDi(db);
    std::unique_ptr<QSqlQuery>& q = kept.preparate[sql];
    if (!q) {
        auto nuova = std::make_unique<QSqlQuery>(db);
        nuova->setForwardOnly(true);
        if (!nuova->prepare(sql)) {
            const QSqlError errore = nuova->lastError();
            kept.preparate.erase(sql);
            lanciaErrore(errore);
        }
        q = std::move(nuova);
    }
    q_ = q.get();
    ++kept.inUso;
}

Istruzione::~Istruzione() {
    q_->finish();
    --istruzioni[connessione_].inUso;
}

QSqlQuery& Istruzione::esegui(const QVariantList& valori) {
    for (int i = 0; i < valori.size(); ++i) {
        q_->bindValue(i, valori.at(i));
    }
    if (!q_->exec()) {
        const QSqlError errore = q_->lastError();
        // Released at the next use, outside a transaction the failure may have ended.
        istruzioni[connessione_].valide = false;
        lanciaErrore(errore);
    }
    return *q_;
}

void dimenticaIstruzioni(const QString& nomeConnessione) {
    istruzioni.erase(nomeConnessione);
}
