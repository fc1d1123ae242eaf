#pragma once

#include <QDate>
#include <QString>
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
struct RigaCassa {
    QDate dataRegistrazione;  // invalid when NULL
    QString operazione;
    std::optional<Money> entrate;  // no value when NULL
    std::optional<Money> uscite;
    qint64 numero = 0;  // "Numero Progressivo": ties the row to its movement
    QString utente;
    QString dataIns;
    QString oraIns;

    QString cella(int colonna) const;
};
