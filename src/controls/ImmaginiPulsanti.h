#pragma once

#include <QIcon>
#include <QString>

// The pictures of the program's buttons, drawn by the program itself as vectors on a 24 x 24
// grid: each is painted only when a button first shows it, at the size and screen scaling
// asked for (sharp at 100 % and 200 %), greyed in the disabled state.
//
// Names: "RIPRISTINA", "NUOVO", "CANCELLA", "PRECEDENTE", "SUCCESSIVO", "ESCI", "STAMPA",
// "PARAMETRI", "CODICI_IVA", "SITUAZIONE_IVA", "INFO", "UTENTI", "COPIA", "INSERISCI",
// "VARIA", "ELIMINA", "OK", "ANNULLA", "SALVA", "OROLOGIO". A name ending in "_D" gives the
// greyed form in every state. Any other name gives a null icon.
QIcon immaginePulsante(const QString& nome);
