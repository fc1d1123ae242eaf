#pragma once

#include <QSqlDatabase>
#include <optional>

#include "Money.h"

// The month totals kept in "Totali di Cassa": one row per year and month with the month's
// income and expense as last computed. Engine errors are thrown as ErroreArchivio.

struct TotaliMese {
    Money entrate;
    Money uscite;
    bool operator==(const TotaliMese&) const = default;
};

// Stores the totals of a month; a row that already holds them is left alone.
void registraTotaliMese(QSqlDatabase db, int anno, int mese, const TotaliMese& totali);

// The sums of a month's movements as the archive holds them now.
TotaliMese sommeDelMese(QSqlDatabase db, int anno, int mese);

// The stored totals row of a month (NULL amounts as 0), no value when none is stored.
std::optional<TotaliMese> totaliRegistrati(QSqlDatabase db, int anno, int mese);

// The stored totals row of a month, no value when none is stored or a total is NULL.
std::optional<TotaliMese> totaliCompleti(QSqlDatabase db, int anno, int mese);

// Stores, as the totals of a month, the sums of its movements as the archive holds them now.
void ricalcolaTotaliMese(QSqlDatabase db, int anno, int mese);

// Adds a new movement's amounts to the stored totals of its month, inside the write
// transaction that stores the movement. The stored totals are the month's sums after every
// write and every load of the month, so adding keeps them so; a month without a stored row
// (or with an amount missing) is summed afresh instead.
void aggiungiATotaliMese(QSqlDatabase db, int anno, int mese, const TotaliMese& aggiunta);

// The stored totals of a month; no value when the month has no row or a total is missing.
std::optional<TotaliMese> totaliRegistrati(QSqlDatabase db, int anno, int mese);

// Adds a new movement's amounts to the stored totals of its month, inside the write
// transaction that stores the movement. Every write of the book keeps a month's row equal to
// the sums of its movements (and a month load stores it afresh when it finds it different),
// so adding keeps it so without summing the month again; a month without a row, or with a
// total missing, is summed afresh instead.
void aggiungiATotaliMese(QSqlDatabase db, int anno, int mese, const TotaliMese& aggiunta);

// The sums of the stored month totals up to and including the month given.
TotaliMese sommaTotaliFinoA(QSqlDatabase db, int anno, int mese);
