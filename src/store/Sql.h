#pragma once

#include <QSqlQuery>
#include <QString>
#include <QVariantList>

// Prepares a statement, binds its values in order and runs it. False when preparing or
// running failed; q.lastError() then holds the engine's error of the step that failed.
bool eseguiSql(QSqlQuery& q, const QString& sql, const QVariantList& valori = {});
