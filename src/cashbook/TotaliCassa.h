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

// Stores, as the totals of a month, the sums of its movements as the archive holds them now.
void ricalcolaTotaliMese(QSqlDatabase db, int anno, int mese);

// The sums of the stored month totals up to and including the month given.
TotaliMese sommaTotaliFinoA(QSqlDatabase db, int anno, int mese);
