#pragma once

#include <QDate>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <optional>
#include <utility>

#include "Money.h"
#include "SituazioneIva.h"

// One movement as the accountant's export shows it: the stored values, the running balance
// after it and, with VAT management, its VAT code's description and rate and its VAT.
struct MovimentoEsportato {
    qint64 numero = 0;
    QDate dataRegistrazione;
    QString operazione;
    std::optional<Money> entrate;  // no value for a NULL amount
    std::optional<Money> uscite;
    Money saldo;
    QString codiceIva;
    QString descrizioneIva;
    std::optional<Money> aliquota;  // no value without a code or for a code not in the table
    std::optional<Money> imponibileIva;
    std::optional<Money> impostaIva;  // the VAT contained, as the VAT situation counts it
    QDate dataDocumento;
    QString utente;
    QString dataIns;  // as stored (text "dd/mm/yyyy")
    QString oraIns;   // as stored (text "HH:mm")
};

// The book of a date range for the accountant, read from one consistent moment of the archive.
struct LibroEsportato {
    QDate dal, al;
    Money riporto;                        // the balance of every movement registered before `dal`
    QList<MovimentoEsportato> movimenti;  // by registration date, then number
    Money entrate, uscite;                // the range's sums
    Money imponibile, imposta;            // the sums of the VAT columns
    bool gestioneIva = false;
    bool ivaTrimestrale = false;
    // The VAT situation of each year the range touches, with VAT management on.
    QList<std::pair<int, SituazioneIva>> situazioni;

    Money saldoFinale() const { return riporto + entrate - uscite; }
};

// Reads the range inside one read transaction, so the carried-forward balance, the rows and
// the VAT situations belong together even while other computers write. An engine error is
// thrown as ErroreArchivio.
LibroEsportato leggiLibroEsportato(QSqlDatabase db, const QDate& dal, const QDate& al);
