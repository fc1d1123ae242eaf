#pragma once

#include <QDate>
#include <QString>
#include <QStringView>
#include <optional>

#include "Money.h"

// The columns of the month grid.
enum ColonnaCassa {
    ColonnaData,
    ColonnaOperazione,
    ColonnaEntrate,
    ColonnaUscite,
    ColonnaNumero,
    ColonnaUtente,
    ColonnaDataIns,
    ColonnaOraIns,
    NumeroColonne
};

// One movement as the month grid shows it: the stored values from which the cells' texts are
// made. Each cell holds a fixed-width text, cut to its width or padded on the right with
// blanks (date 10, operation 100, number 6, user 25, insertion date 10, insertion time 5);
// the amounts are written "###,###,##0.00", or left empty when NULL.
class RigaCassa {
  public:
    // The texts are copied into the row's one block of text.
    RigaCassa(const QDate& dataRegistrazione, QStringView operazione, std::optional<Money> entrate,
              std::optional<Money> uscite, qint64 numero, QStringView utente, QStringView dataIns,
              QStringView oraIns);

    // "Numero Progressivo": ties the row to its movement.
    qint64 numero() const { return numero_; }
    // No value when NULL.
    std::optional<Money> entrate() const { return entrate_; }
    std::optional<Money> uscite() const { return uscite_; }

    // Invalid when NULL.
    const QDate& dataRegistrazione() const { return dataRegistrazione_; }
    // The operation, and who inserted the movement and when, as stored (NULL as empty).
    QStringView operazione() const { return testo(0, fineOperazione_); }
    QStringView utente() const { return testo(fineOperazione_, fineUtente_); }
    QStringView dataIns() const { return testo(fineUtente_, fineDataIns_); }
    QStringView oraIns() const { return testo(fineDataIns_, testi_.size()); }

    QString cella(int colonna) const;

  private:
    QStringView testo(qsizetype inizio, qsizetype fine) const {
        return QStringView(testi_).sliced(inizio, fine - inizio);
    }

    QDate dataRegistrazione_;  // invalid when NULL
    std::optional<Money> entrate_;
    std::optional<Money> uscite_;
    qint64 numero_ = 0;
    // The operation, the user, the insertion date and time one after the other, each ending
    // where the next begins: one allocation a row instead of four (a month loads thousands
    // of rows, and frees them at the next month).
    QString testi_;
    qsizetype fineOperazione_ = 0;
    qsizetype fineUtente_ = 0;
    qsizetype fineDataIns_ = 0;
};

// Moved in memory as plain bytes when a list of them grows (a month loads thousands).
Q_DECLARE_TYPEINFO(RigaCassa, Q_RELOCATABLE_TYPE);
