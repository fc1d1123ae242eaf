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

// What a person can do about an engine error, in Italian: a full disk, an archive that can
// only be read, a connection to the server that broke, another computer holding the lock for
// longer than the wait, a damaged file. For any other error the engine's own text. The one
// place where engine error numbers (SQLite result codes, PostgreSQL SQLSTATEs) become words.
QString motivoErrore(const QString& codice, const QString& testoMotore);

// "Codice errore = " and the engine's error number, then on its own line the reason.
QString codiceEMotivo(const QString& codice, const QString& testoMotore);
