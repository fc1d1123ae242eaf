#pragma once

#include <QSqlDatabase>
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

// A statement prepared once per connection and kept while the connection stays open, so
// that each later run is one step for the engine (on a server one round trip, instead of
// prepare, run and release). Each use binds its values in order and runs it; the statement is
// finished when the object goes away, so the engine holds nothing of it between uses. A
// failure throws ErroreArchivio and lets the connection's statements be prepared afresh at
// their next use (a connection opened again starts with none).
class Istruzione {
  public:
    Istruzione(QSqlDatabase db, const QString& sql);
    ~Istruzione();
    Istruzione(const Istruzione&) = delete;
    Istruzione& operator=(const Istruzione&) = delete;

    // Runs the statement with these values; the query then holds its result.
    QSqlQuery& esegui(const QVariantList& valori = {});

  private:
    QSqlQuery* q_;
    QString connessione_;
};

// Drops the statements kept for a connection: called before it is closed or opened again.
void dimenticaIstruzioni(const QString& nomeConnessione);
