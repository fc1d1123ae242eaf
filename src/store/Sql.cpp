#include "Sql.h"

bool eseguiSql(QSqlQuery& q, const QString& sql, const QVariantList& valori) {
    if (!q.prepare(sql)) {
        return false;
    }
    for (const QVariant& valore : valori) {
        q.addBindValue(valore);
    }
    return q.exec();
}
