#include "Sql.h"

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
