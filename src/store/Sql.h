#pragma once

#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QVariantList>

// An engine error that a routine without handling of its own passes to its caller, with the
// engine's error number for "Codice errore = ".
struct ErroreArchivio {
    QString codice;
    QString testo;
};

// Throws the engine's error as ErroreArchivio.
[[noreturn]] void lanciaErrore(const QSqlError& errore);

// Prepares a statement, binds its values in order and runs it. False when preparing or
// running failed; q.lastError() then holds the engine's error of the step that failed.
bool eseguiSql(QSqlQuery& q, const QString& sql, const QVariantList& valori = {});
