#pragma once

#include <QString>
#include <functional>

struct sqlite3;

// The copy of an archive file into a new file by the engine's own page-level backup, then
// proved equal row by row. The source stays open to the other computers: it is read a few
// thousand pages (or rows) at a time and its lock is released between two steps, so another
// computer's write waits for one step only. A write of theirs makes the copy start again (the
// copy must show one moment of the archive); after a few such restarts the last run keeps the
// source's read lock from its first step to its last.
namespace copiapagine {

enum class Esito {
    Uguale,          // the copy holds exactly the source's rows
    SchemaEstraneo,  // the source holds tables, columns or indexes that are not the program's
    Errore,
};

// `copia` is an empty file's connection; `traPassi` (may be empty) runs between two steps.
// Without `verifica` only the pages are copied (a moment's image that is read afterwards).
Esito copia(sqlite3* origine, sqlite3* copia, bool verifica, const std::function<void()>& traPassi,
            QString* errore);

}  // namespace copiapagine
