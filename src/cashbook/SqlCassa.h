#pragma once

#include <QDate>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariantList>

#include "DatiCondivisi.h"

// Statements of the cash book. Every routine here throws ErroreArchivio when the engine
// fails; the window that called it tells the person.

// Prepares, binds and runs a statement; throws the engine's error.
void esegui(QSqlQuery& q, const QString& sql, const QVariantList& valori = {});

// True when the error is a refused duplicate key.
bool eChiaveDuplicata(const ErroreArchivio& errore);

// The first day of a month and the first day of the month after it: a month is the range
// [primoGiorno, primoGiornoSuccessivo) of "Data Registrazione".
QDate primoGiorno(int anno, int mese);
QDate primoGiornoSuccessivo(int anno, int mese);

// Whether the archive is on a PostgreSQL server, where some statements are written its way.
bool suPostgres(const QSqlDatabase& db);

// A commit that failed: whether the engine carried it out is not known from its answer.
struct ErroreConferma : ErroreArchivio {};

// A read transaction: what is read while it lasts is one moment of the archive (on a server
// a repeatable-read snapshot), so that rows and a stored total read in it agree with each
// other. Ended when it goes away; nothing is written in it.
class LetturaCoerente {
  public:
    explicit LetturaCoerente(QSqlDatabase db);
    ~LetturaCoerente();
    LetturaCoerente(const LetturaCoerente&) = delete;
    LetturaCoerente& operator=(const LetturaCoerente&) = delete;

  private:
    QSqlDatabase db_;
};

// One write transaction on the cash book. It takes the write lock when it begins (an
// immediate transaction on SQLite, a lock on "Vardello" on PostgreSQL), so that reading the
// highest number and storing the next one cannot interleave with another copy of the
// program. Rolled back when it goes away unconfirmed.
class TransazioneScrittura {
  public:
    explicit TransazioneScrittura(QSqlDatabase db);
    ~TransazioneScrittura();
    TransazioneScrittura(const TransazioneScrittura&) = delete;
    TransazioneScrittura& operator=(const TransazioneScrittura&) = delete;

    // Commits; a refused commit, or one whose answer was lost with the connection, is thrown
    // as ErroreConferma: the archive may hold the write all the same.
    void conferma();
    // Rolls back now (nothing when already ended), so that the connection no longer sees
    // what the transaction wrote.
    void annulla();

  private:
    QSqlDatabase db_;
    bool aperta_ = false;
};
