#pragma once

#include <QDate>
#include <QSqlDatabase>
#include <QString>

// Fills an empty archive with a cash book of many movements over many years: realistic
// descriptions, amounts, VAT codes and users, numbered in date order, with the month totals,
// the VAT codes, the users, the remembered descriptions and the parameters that go with them.
struct OpzioniArchivio {
    qint64 movimenti = 1'000'000;
    int primoAnno = 1996;
    int ultimoAnno = 2028;
    // A month that gets exactly this many of the movements (none when the date is invalid).
    QDate meseDenso;
    qint64 movimentiMeseDenso = 0;
    quint32 seme = 20050315;
};

// One transaction with prepared statements. False, with the engine's text in `errore`, when
// a statement fails; nothing is kept then.
bool generaArchivio(QSqlDatabase db, const OpzioniArchivio& opzioni, QString* errore);

// Creates a new archive at `percorso` (a file, or a PostgreSQL URI), fills it as above and
// has the engine gather the statistics of the new rows, so that queries are not planned for
// an empty table. False, with the reason in `errore`, when a step fails; a file made by it is
// removed again.
bool creaArchivioGenerato(const QString& percorso, const OpzioniArchivio& opzioni, QString* errore);
