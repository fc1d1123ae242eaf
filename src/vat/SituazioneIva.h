#pragma once

#include <QHash>
#include <QSqlDatabase>
#include <QString>
#include <array>
#include <optional>

#include "Money.h"

// The VAT contained in an amount that includes it, at the given rate in percent: the net
// amount is worked out in floating point and taken to four decimals, the VAT is what is left.
Money ImpostaContenuta(Money importoIvato, Money aliquota);

// The VAT of one movement as the VAT situation counts it: the amount taken to the cent, its
// contained VAT taken to the cent (half away from zero).
Money ImpostaMovimento(Money importoIvato, Money aliquota);

// The rate of every VAT code, read with one query.
class AliquoteIva {
  public:
    // An engine error is thrown as ErroreArchivio.
    static AliquoteIva leggi(QSqlDatabase db);

    // The rate in percent of the code (trimmed); 0 for an empty or unknown code and for a
    // code without a rate.
    Money Trova_aliquota_iva(const QString& codiceIva) const;

  private:
    QHash<QString, Money> aliquote_;
};

// The VAT of one year's movements by month (index 0 = January), assigned by "Data documento":
// the VAT of income is debit, the VAT of expenses credit. A month's column that no movement
// reached holds no value.
struct SituazioneIva {
    bool libroVuoto = true;  // the cash book holds no movement at all
    std::array<std::optional<Money>, 12> credito;
    std::array<std::optional<Money>, 12> debito;

    // Credit minus debit of the month (a missing value counts as 0).
    Money saldoMese(int mese) const;
    // The sum of the balances of the quarter that ends with this month (2, 5, 8 or 11).
    Money saldoTrimestre(int ultimoMese) const;
    // The sum of the twelve monthly balances.
    Money saldoFinale() const;
};

// Reads the rates once and the year's movements with one range query on "Data documento".
// Each movement's VAT counts rounded to the cent, as the boxes show it. An engine error is
// thrown as ErroreArchivio.
SituazioneIva CalcolaSituazioneIva(QSqlDatabase db, int anno);
