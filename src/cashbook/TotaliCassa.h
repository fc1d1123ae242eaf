#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QVariantList>
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

// The same in two steps, for a caller that sends the statement together with its own: the
// UPDATE that adds the amounts to the month's row (changing none when the month has no row or
// a total is missing) with its values, then, given how many rows it changed, the month summed
// afresh when it changed none.
struct AggiuntaTotaliMese {
    QString sql;
    QVariantList valori;
};
AggiuntaTotaliMese aggiuntaTotaliMese(int anno, int mese, const TotaliMese& aggiunta);
void completaTotaliMese(QSqlDatabase db, int anno, int mese, int righeAggiunte);

// The sums of the stored month totals up to and including the month given.
TotaliMese sommaTotaliFinoA(QSqlDatabase db, int anno, int mese);
