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

// The stored row of a month: its totals, and whether both are present (not NULL).
struct RigaTotali {
    TotaliMese totali;
    bool completa = false;
};

std::optional<RigaTotali> rigaTotali(QSqlDatabase db, int anno, int mese) {
    Istruzione lettura(db, QStringLiteral(R"(SELECT "Totale Entrate", "Totale Uscite"
                                           FROM "Totali di Cassa" WHERE "Anno" = ? AND "mese" = ?)"));
    QSqlQuery& q = lettura.esegui({anno, mese});
    if (!q.next()) {
        return std::nullopt;
    }
    return RigaTotali{{valutaDaSql(q.value(0)), valutaDaSql(q.value(1))},
                      !q.isNull(0) && !q.isNull(1)};
}

}  // namespace

void registraTotaliMese(QSqlDatabase db, int anno, int mese, const TotaliMese& totali) {
    if (totaliCompleti(db, anno, mese) == totali) {
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

TotaliMese sommeDelMese(QSqlDatabase db, int anno, int mese) {
    Istruzione somma(db, QStringLiteral(R"(SELECT CAST(COALESCE(SUM("Entrate"), 0) AS BIGINT),
                                             CAST(COALESCE(SUM("Uscite"), 0) AS BIGINT)
                                      FROM "Vardello"
                                      WHERE "Data Registrazione" >= ?
                                        AND "Data Registrazione" < ?)"));
    return leggiSomme(somma.esegui(
        {valoreSql(primoGiorno(anno, mese)), valoreSql(primoGiornoSuccessivo(anno, mese))}));
}

std::optional<TotaliMese> totaliRegistrati(QSqlDatabase db, int anno, int mese) {
    const std::optional<RigaTotali> riga = rigaTotali(db, anno, mese);
    if (!riga) {
        return std::nullopt;
    }
    return riga->totali;
}

std::optional<TotaliMese> totaliCompleti(QSqlDatabase db, int anno, int mese) {
    const std::optional<RigaTotali> riga = rigaTotali(db, anno, mese);
    if (!riga || !riga->completa) {
        return std::nullopt;
    }
    return riga->totali;
}

void ricalcolaTotaliMese(QSqlDatabase db, int anno, int mese) {
    registraTotaliMese(db, anno, mese, sommeDelMese(db, anno, mese));
}

AggiuntaTotaliMese aggiuntaTotaliMese(int anno, int mese, const TotaliMese& aggiunta) {
    return {QStringLiteral(R"(UPDATE "Totali di Cassa"
                             SET "Totale Entrate" = "Totale Entrate" + ?,
                                 "Totale Uscite" = "Totale Uscite" + ?
                             WHERE "Anno" = ? AND "mese" = ?
                               AND "Totale Entrate" IS NOT NULL
                               AND "Totale Uscite" IS NOT NULL)"),
            {valoreSql(aggiunta.entrate), valoreSql(aggiunta.uscite), anno, mese}};
}

void completaTotaliMese(QSqlDatabase db, int anno, int mese, int righeAggiunte) {
    if (righeAggiunte != 1) {
        ricalcolaTotaliMese(db, anno, mese);
    }
}

void aggiungiATotaliMese(QSqlDatabase db, int anno, int mese, const TotaliMese& aggiunta) {
    const AggiuntaTotaliMese istruzione = aggiuntaTotaliMese(anno, mese, aggiunta);
    Istruzione somma(db, istruzione.sql);
    completaTotaliMese(db, anno, mese, somma.esegui(istruzione.valori).numRowsAffected());
}

TotaliMese sommaTotaliFinoA(QSqlDatabase db, int anno, int mese) {
    Istruzione somma(db,
                     QStringLiteral(R"(SELECT CAST(COALESCE(SUM("Totale Entrate"), 0) AS BIGINT),
                                             CAST(COALESCE(SUM("Totale Uscite"), 0) AS BIGINT)
                                      FROM "Totali di Cassa"
                                      WHERE "Anno" < ? OR ("Anno" = ? AND "mese" <= ?))"));
    return leggiSomme(somma.esegui({anno, anno, mese}));
}
