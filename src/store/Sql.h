#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QVariantList>
#include <memory>

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
// finished when the object goes away, so the engine holds nothing of it between uses. While
// one object uses it, another object with the same text gets a statement of its own. A
// failure throws ErroreArchivio and the statement is prepared afresh at its next use; a
// connection closed or opened again through archivio::chiudi or archivio::riapri starts with
// none.
struct IstruzionePreparata;
class Istruzione {
  public:
    Istruzione(QSqlDatabase db, const QString& sql);
    ~Istruzione();
    Istruzione(const Istruzione&) = delete;
    Istruzione& operator=(const Istruzione&) = delete;

    // Runs the statement with these values; the query then holds its result.
    QSqlQuery& esegui(const QVariantList& valori = {});

  private:
    std::shared_ptr<struct IstruzionePreparata> q_;
    QString sql_;
    QString connessione_;
};

// Drops the statements kept for a connection: called before it is closed or opened again.
void dimenticaIstruzioni(const QString& nomeConnessione);

// What a person can do about an engine error, in Italian: a full disk, an archive that can
// only be read, a connection to the server that broke, another computer holding the lock for
// longer than the wait, a damaged file. For any other error the engine's own text. The one
// place where engine error numbers (SQLite result codes, PostgreSQL SQLSTATEs) become words.
QString motivoErrore(const QString& codice, const QString& testoMotore);

// "Codice errore = " and the engine's error number, then on its own line the reason.
QString codiceEMotivo(const QString& codice, const QString& testoMotore);
