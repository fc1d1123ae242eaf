#include "TotaliCassa.h"

#include <QSqlQuery>

#include "SqlCassa.h"

namespace {

TotaliMese leggiSomme(QSqlQuery& q) {
    if (!q.next()) {
        return {};
    }
    return {valutaDaSql(q.value(0)), valutaDaSql(q.value(1))};
}

}  // namespace

void registraTotaliMese(QSqlDatabase db, int anno, int mese, const TotaliMese& totali) {
    QSqlQuery q(db);
    esegui(q, QStringLiteral(R"(SELECT "Totale Entrate", "Totale Uscite" FROM "Totali di Cassa"
                             WHERE "Anno" = ? AND "mese" = ?)"),
           {anno, mese});
    const bool presente = q.next();
    if (presente && TotaliMese{valutaDaSql(q.value(0)), valutaDaSql(q.value(1))} == totali &&
        !q.isNull(0) && !q.isNull(1)) {
        return;
    }
    q.finish();
    esegui(q, QStringLiteral(R"(INSERT INTO "Totali di Cassa"
                             ("Anno", "mese", "Totale Entrate", "Totale Uscite")
                             VALUES (?, ?, ?, ?)
                             ON CONFLICT ("Anno", "mese") DO UPDATE
                             SET "Totale Entrate" = excluded."Totale Entrate",
                                 "Totale Uscite" = excluded."Totale Uscite")"),
           {anno, mese, valoreSql(totali.entrate), valoreSql(totali.uscite)});
}

TotaliMese sommeDelMese(QSqlDatabase db, int anno, int mese) {
    QSqlQuery q(db);
    esegui(q, QStringLiteral(R"(SELECT CAST(COALESCE(SUM("Entrate"), 0) AS BIGINT),
                                    CAST(COALESCE(SUM("Uscite"), 0) AS BIGINT)
                             FROM "Vardello"
                             WHERE "Data Registrazione" >= ? AND "Data Registrazione" < ?)"),
           {valoreSql(primoGiorno(anno, mese)), valoreSql(primoGiornoSuccessivo(anno, mese))});
    return leggiSomme(q);
}

std::optional<TotaliMese> totaliRegistrati(QSqlDatabase db, int anno, int mese) {
    QSqlQuery q(db);
    esegui(q, QStringLiteral(R"(SELECT "Totale Entrate", "Totale Uscite" FROM "Totali di Cassa"
                             WHERE "Anno" = ? AND "mese" = ?)"),
           {anno, mese});
    if (!q.next()) {
        return std::nullopt;
    }
    return TotaliMese{valutaDaSql(q.value(0)), valutaDaSql(q.value(1))};
}

void ricalcolaTotaliMese(QSqlDatabase db, int anno, int mese) {
    registraTotaliMese(db, anno, mese, sommeDelMese(db, anno, mese));
}

TotaliMese sommaTotaliFinoA(QSqlDatabase db, int anno, int mese) {
    QSqlQuery q(db);
    esegui(q, QStringLiteral(R"(SELECT CAST(COALESCE(SUM("Totale Entrate"), 0) AS BIGINT),
                                    CAST(COALESCE(SUM("Totale Uscite"), 0) AS BIGINT)
                             FROM "Totali di Cassa"
                             WHERE "Anno" < ? OR ("Anno" = ? AND "mese" <= ?))"),
           {anno, anno, mese});
    return leggiSomme(q);
}
