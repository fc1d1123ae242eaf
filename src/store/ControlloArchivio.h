#pragma once

#include <QSqlDatabase>
#include <QString>

#include "Archivio.h"

// What opening an archive checks before anyone may write into it.
namespace archivio {

// Makes an SQLite connection read every double-quoted word as a name: a name that matches no
// table or column is an error, never taken as a text constant (the engine's old habit, which
// would turn a missing "Password" column into the word Password). Every SQLite connection of
// the program goes through here right after it opens. False when the setting was refused.
bool soloNomiVeri(QSqlDatabase& db);

// Every table and column the program uses is there and holds the kind of value the program
// stores in it (amounts and numbers as integers, dates as dates, yes/no, text). Otherwise
// false, with a text naming the table and the column.
bool controllaSchema(QSqlDatabase& db, Motore motore, Errore* errore);

// The SQLite file's pages and b-trees are sound (the engine's quick check): a file cut short
// or with a damaged page is refused before anything is written into it.
bool controllaIntegrita(QSqlDatabase& db, Errore* errore);

}  // namespace archivio
