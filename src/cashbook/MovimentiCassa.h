#pragma once

#include <QDate>
#include <QList>
#include <QSqlDatabase>
#include <QSqlRecord>
#include <QString>
#include <optional>

#include "Money.h"
#include "RigaCassa.h"
#include "Sql.h"
#include "TotaliCassa.h"

// The movements of the cash book (table "Vardello"). Engine errors are thrown as
// ErroreArchivio.

// What the edit area stores into a movement.
struct DatiMovimento {
    QDate dataRegistrazione;
    QString operazione;
    Money entrate;
    Money uscite;
    QString codiceIva;
    Money imponibileIva;
    QDate dataDocumento;  // invalid: stored as NULL
    QString utente;
    QString dataIns;  // "dd/mm/yyyy"
    QString oraIns;   // "HH:nn"
};

// The values bound for a movement's stored fields after its number, in the columns' order
// ("Data Registrazione" to "OraIns").
QVariantList valoriCampi(const DatiMovimento& d);

// A stored movement as a window last read it: its number, what the grid shows of it, and who
// inserted it and when (as stored, NULL as empty). A number freed by a deletion is given
// again to the next insert, so a window that read the movement before could otherwise change
// or delete another computer's new movement under the same number; a movement another
// computer changed meanwhile is not overwritten unseen either.
struct MovimentoLetto {
    qint64 numero = 0;
    QDate dataRegistrazione;
    QString operazione;
    Money entrate;  // NULL as 0
    Money uscite;
    QString utente;
    QString dataIns;
    QString oraIns;
};

// The movement as the grid row shows it, and as the whole stored record reads.
MovimentoLetto movimentoLetto(const RigaCassa& riga);
MovimentoLetto movimentoLetto(const QSqlRecord& record);

// The movements of one month in date order, and within a day in number order, appended to
// `righe` as they are read (so the rows read before an error stay there), their amounts added
// to `somme` as they come (a second pass over a month of rows costs as much again). One
// range query on "Data Registrazione".
void leggiMese(QSqlDatabase db, int anno, int mese, QList<RigaCassa>& righe, TotaliMese& somme);

// True when the cash book holds no movement at all.
bool cassaVuota(QSqlDatabase db);

// The whole stored movement, or no value when there is none with that number.
std::optional<QSqlRecord> leggiMovimento(QSqlDatabase db, qint64 numero);

// The number for a new movement: the highest stored plus one, 1 for an empty book. One
// sequence over all years and months.
qint64 NumeroProCas(QSqlDatabase db);

// A write whose commit failed and whose outcome could not be asked of the archive afterwards
// (the server cannot be reached): it may or may not be stored.
struct EsitoIgnoto : ErroreArchivio {
    qint64 numero = 0;  // of an insert: the number it was stored under, if it was
};

// A commit can fail after the engine carried it out (the connection breaks before its answer
// arrives). Each write below then opens a lost connection again and asks the archive whether
// it holds the write: when it does, the write returns as done and `rispostaPersa` (when
// given) receives the commit's error, so the window can tell the person; when it does not,
// the commit's error is thrown; when the archive cannot be asked, EsitoIgnoto is thrown.

// Stores a new movement under the next number and stores its month's totals afresh, in one
// write transaction; a number taken meanwhile by another copy of the program is retried.
// Returns the number given.
qint64 inserisciMovimento(QSqlDatabase db, const DatiMovimento& dati,
                          ErroreArchivio* rispostaPersa = nullptr);

// Rewrites the movement read, and stores afresh the totals of its month (and of the month it
// left, when the change moves it) in the same transaction. False when that movement is no
// longer stored (nothing is written).
bool variaMovimento(QSqlDatabase db, const MovimentoLetto& letto, const DatiMovimento& dati,
                    ErroreArchivio* rispostaPersa = nullptr);

// Deletes the movements read (those no longer stored are skipped) and brings the totals of
// their months up to date: all of it or nothing. Returns how many were deleted.
int cancellaMovimenti(QSqlDatabase db, const QList<MovimentoLetto>& letti,
                      ErroreArchivio* rispostaPersa = nullptr);

// True when the movement under `numero` holds exactly what `dati` stores.
bool movimentoRegistrato(QSqlDatabase db, qint64 numero, const DatiMovimento& dati);

// The row of the grid for a stored movement.
RigaCassa rigaDi(qint64 numero, const DatiMovimento& dati);
