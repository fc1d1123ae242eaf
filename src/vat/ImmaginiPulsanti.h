#pragma once

#include <QIcon>
#include <QString>

// The pictures of the VAT windows' buttons, drawn by the program itself: "RIPRISTINA",
// "NUOVO", "CANCELLA" and their greyed forms "RIPRISTINA_D", "NUOVO_D", "CANCELLA_D", plus
// "PRECEDENTE", "SUCCESSIVO" and "ESCI". Any other name gives a null icon.
QIcon immaginePulsante(const QString& nome);
