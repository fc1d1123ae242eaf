#pragma once

#include <QString>

// Copies a whole archive into a new one (an SQLite file or a PostgreSQL database, in any
// direction), for moving a growing business from the file to the server and as a consistent
// backup of a file in use: the source is read inside one read transaction, the destination
// written inside one write transaction. The copy is then compared row by row with the source;
// only a copy found equal is reported as done. On failure `errore` tells why and the
// destination is not to be trusted.
bool copiaArchivio(const QString& origine, const QString& destinazione, QString* errore);
