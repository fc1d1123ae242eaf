#include "SituazioneIva.h"

#include <QDate>
#include <QSqlError>
#include <QSqlQuery>

#include "Archivio.h"
#include "DatiCondivisi.h"
#include "Sql.h"

namespace {

// Rounds half away from zero to whole cents, as writing an amount with two decimals does.
Money centesimi(Money importo) {
    const qint64 unita = importo.units();
    const qint64 resto = unita % 100;
    qint64 arrotondato = unita - resto;
    if (resto >= 50) {
        arrotondato += 100;
    } else if (resto <= -50) {
        arrotondato -= 100;
    }
    return Money::fromUnits(arrotondato);
}

Money valore(const std::optional<Money>& importo) {
    return importo.value_or(Money());
}

}  // namespace

Money ImpostaContenuta(Money importoIvato, Money aliquota) {
    const double divisore = aliquota.toDouble() / 100.0 + 1.0;
    if (divisore <= 0.0) {
        return Money();  // a rate of -100 % or less (only an archive edited elsewhere) has no VAT
    }
    const double netto = importoIvato.toDouble() / divisore;
    return importoIvato - Money::fromDouble(netto);
}

Money ImpostaMovimento(Money importoIvato, Money aliquota) {
    return centesimi(ImpostaContenuta(centesimi(importoIvato), aliquota));
}

AliquoteIva AliquoteIva::leggi(QSqlDatabase db) {
    AliquoteIva risultato;
    QSqlQuery q(db);
    if (!eseguiSql(q, QStringLiteral(R"(SELECT "Codice Iva", "Aliquota" FROM "Codici Iva")"))) {
        lanciaErrore(q.lastError());
    }
    while (q.next()) {
        risultato.aliquote_.insert(q.value(0).toString(), valutaDaSql(q.value(1)));
    }
    if (q.lastError().isValid()) {
        lanciaErrore(q.lastError());
    }
    return risultato;
}

Money AliquoteIva::Trova_aliquota_iva(const QString& codiceIva) const {
    const QString codice = codiceIva.trimmed();
    return codice.isEmpty() ? Money() : aliquote_.value(codice);
}

Money SituazioneIva::saldoMese(int mese) const {
    return valore(credito[mese]) - valore(debito[mese]);
}

Money SituazioneIva::saldoTrimestre(int ultimoMese) const {
    return saldoMese(ultimoMese - 2) + saldoMese(ultimoMese - 1) + saldoMese(ultimoMese);
}

Money SituazioneIva::saldoFinale() const {
    Money totale;
    for (int mese = 0; mese < 12; ++mese) {
        totale += saldoMese(mese);
    }
    return totale;
}

SituazioneIva CalcolaSituazioneIva(QSqlDatabase db, int anno) {
    SituazioneIva situazione;
    {
        QSqlQuery q(db);
        if (!eseguiSql(q, QStringLiteral(R"(SELECT 1 FROM "Vardello" LIMIT 1)"))) {
            lanciaErrore(q.lastError());
        }
        situazione.libroVuoto = !q.next();
        if (q.lastError().isValid()) {
            lanciaErrore(q.lastError());
        }
    }
    if (situazione.libroVuoto) {
        return situazione;
    }
    const AliquoteIva aliquote = AliquoteIva::leggi(db);

    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!eseguiSql(q, QStringLiteral(R"(SELECT "Data documento", "Codice Iva", "Imponibile Iva"
                                       FROM "Vardello"
                                       WHERE "Data documento" >= ? AND "Data documento" < ?)"),
                   {valoreSql(QDate(anno, 1, 1)), valoreSql(QDate(anno + 1, 1, 1))})) {
        lanciaErrore(q.lastError());
    }
    while (q.next()) {
        const QDate data = dataDaSql(q.value(0));
        if (!data.isValid()) {
            continue;
        }
        const Money iva = ImpostaMovimento(valutaDaSql(q.value(2)),
                                           aliquote.Trova_aliquota_iva(q.value(1).toString()));
        const int mese = data.month() - 1;
        if (iva.isNegative()) {
            situazione.credito[mese] = valore(situazione.credito[mese]) - iva;
        } else {
            situazione.debito[mese] = valore(situazione.debito[mese]) + iva;
        }
    }
    if (q.lastError().isValid()) {
        lanciaErrore(q.lastError());
    }
    return situazione;
}
