#include "TotaliCassa.h"

#include <QSqlQuery>

#include "Sql.h"

#include "SqlCassa.h"

namespace {

TotaliMese leggiSomme(QSqlQuery& q) {
    if (!q.next()) {
        return {};
    }
    return {valutaDaSql(q.value(0)), valutaDaSql(q.value(1))};
}

}  // namespace

std::optional<TotaliMese> totaliRegistrati(QSqlDatabase db, int anno, int mese) {
    Istruzione lettura(db, QStringLiteral(R"(SELECT "Totale Entrate", "Totale Uscite"
                                           FROM "Totali di Cassa" WHERE "Anno" = ? AND "mese" = ?)"));
    QSqlQuery& q = lettura.esegui({anno, mese});
    if (!q.next() || q.isNull(0) || q.isNull(1)) {
        return std::nullopt;
    }
    return TotaliMese{valutaDaSql(q.value(0)), valutaDaSql(q.value(1))};
}

void registraTotaliMese(QSqlDatabase db, int anno, int mese, const TotaliMese& totali) {
    if (totaliRegistrati(db, anno, mese) == totali) {
        return;
    }
    Istruzione scrittura(db, QStringLiteral(R"(INSERT INTO "Totali di Cassa"
                                             ("Anno", "mese", "Totale Entrate", "Totale Uscite")
                                             VALUES (?, ?, ?, ?)
                                             ON CONFLICT ("Anno", "mese") DO UPDATE
                                             SET "Totale Entrate" = excluded."Totale Entrate",
                                                 "Totale Uscite" = excluded."Totale Uscite")"));
    scrittura.esegui({anno, mese, valoreSql(totali.entrate), valoreSql(totali.uscite)});
}

void ricalcolaTotaliMese(QSqlDatabase db, int anno, int mese) {
    TotaliMese somme;
    {
        Istruzione somma(db, QStringLiteral(R"(SELECT CAST(COALESCE(SUM("Entrate"), 0) AS BIGINT),
                                                 CAST(COALESCE(SUM("Uscite"), 0) AS BIGINT)
                                          FROM "Vardello"
                                          WHERE "Data Registrazione" >= ?
                                            AND "Data Registrazione" < ?)"));
        somme = leggiSomme(somma.esegui(
            {valoreSql(primoGiorno(anno, mese)), valoreSql(primoGiornoSuccessivo(anno, mese))}));
    }
    registraTotaliMese(db, anno, mese, somme);
}

void aggiungiATotaliMese(QSqlDatabase db, int anno, int mese, const TotaliMese& aggiunta) {
    Istruzione somma(db, QStringLiteral(R"(UPDATE "Totali di Cassa"
                                          SET "Totale Entrate" = "Totale Entrate" + ?,
                                              "Totale Uscite" = "Totale Uscite" + ?
                                          WHERE "Anno" = ? AND "mese" = ?
                                            AND "Totale Entrate" IS NOT NULL
                                            AND "Totale Uscite" IS NOT NULL)"));
    if (somma.esegui({valoreSql(aggiunta.entrate), valoreSql(aggiunta.uscite), anno, mese})
            .numRowsAffected() != 1) {
        ricalcolaTotaliMese(db, anno, mese);
    }
}

TotaliMese sommaTotaliFinoA(QSqlDatabase db, int anno, int mese) {
    Istruzione somma(db, QStringLiteral(R"(SELECT CAST(COALESCE(SUM("Totale Entrate"), 0) AS BIGINT),
                                             CAST(COALESCE(SUM("Totale Uscite"), 0) AS BIGINT)
                                      FROM "Totali di Cassa"
                                      WHERE "Anno" < ? OR ("Anno" = ? AND "mese" <= ?))"));
    return leggiSomme(somma.esegui({anno, anno, mese}));
}
