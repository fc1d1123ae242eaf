#pragma once

#include <QSqlDatabase>
#include <QString>
#include <optional>

// The program parameters: the single row of "Parametri".
struct Parametri {
    bool GestioneIva = false;
    QString CodiceIvaStandard;
    bool IvaTrimestrale = false;
};

// The stored parameters, or no value when the table is empty (the running program then keeps
// what it has). NULL fields read as off / empty. An engine error is thrown as ErroreArchivio.
std::optional<Parametri> leggiParametri(QSqlDatabase db);
