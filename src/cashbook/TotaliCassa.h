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

// Stores, as the totals of a month, the sums of its movements as the archive holds them now.
void ricalcolaTotaliMese(QSqlDatabase db, int anno, int mese);

// Adds a new movement's amounts to the stored totals of its month, inside the write
// transaction that stores the movement. The stored totals are the month's sums after every
// write and every load of the month, so adding keeps them so; a month without a stored row
// (or with an amount missing) is summed afresh instead.
void aggiungiATotaliMese(QSqlDatabase db, int anno, int mese, const TotaliMese& aggiunta);

// The stored totals of a month; no value when the month has no row or a total is missing.
std::optional<TotaliMese> totaliRegistrati(QSqlDatabase db, int anno, int mese);

// The sums of the stored month totals up to and including the month given.
TotaliMese sommaTotaliFinoA(QSqlDatabase db, int anno, int mese);
