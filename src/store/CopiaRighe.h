#pragma once

#include <QSqlDatabase>
#include <QString>

// The copy of an archive row by row between any two archives (a file and a server, or two
// servers): only the program's own tables and fields are read and written, under the
// program's own names, whatever else the source holds. The source is read inside one read
// transaction (one moment of the archive), the copy written inside one write transaction in
// batches of many rows, and then both are read again ordered by key and compared value by
// value, each value read as the kind of its field. A value that is not of its field's kind
// stops the copy.
namespace copiarighe {

// `copia` holds the program's empty tables. False, with the reason, when a step fails or
// the copy differs.
bool copiaEVerifica(QSqlDatabase origine, QSqlDatabase copia, QString* errore);

}  // namespace copiarighe
