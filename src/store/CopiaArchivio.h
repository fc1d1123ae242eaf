#pragma once

#include <QString>
#include <functional>

// Copies a whole archive into a new one (an SQLite file or a PostgreSQL database, in any
// direction), for moving a growing business from the file to the server and as a consistent
// backup of a file in use. Only the program's own tables and fields are copied, under the
// program's own names. The copy is compared row by row with the source; only a copy found
// equal is reported as done. A failed copy leaves no destination behind: a new file appears
// only once it is complete and checked, and a server database made by the copy is dropped.
// A new file is readable by its owner only (and the group of a shared folder).
//
// File to file, the engine copies the pages a few thousand at a time, releasing the source
// between two steps, so the other computers keep writing while the copy runs (see
// CopiaPagine.h). `traPassi`, when given, runs between two such steps (a progress display).
bool copiaArchivio(const QString& origine, const QString& destinazione, QString* errore);
bool copiaArchivio(const QString& origine, const QString& destinazione, QString* errore,
                   const std::function<void()>& traPassi);
