#pragma once

#include <QString>

// Who may read the program's files. An archive holds every password of the book, so it is
// never readable by other users of the computer, whatever the umask.
namespace permessi {

// Creates the folder and any missing folder above it readable by the owner only; true when
// the folder exists afterwards.
bool creaCartellaPrivata(const QString& cartella);

// Takes group and others' access away from an existing folder of the person's own (the
// program's configuration and data folders); a folder of someone else is left as it is.
void rendiPrivata(const QString& cartella);

// Creates an empty file for a new archive: readable and writable by its owner, and by the
// folder's group when its group may write into the folder (a shared folder stays shared),
// never by others. False, with the reason, when the file exists or cannot be made.
bool creaFilePrivato(const QString& percorso, QString* motivo);

// Makes an archive file the program has just written (a copy) readable and writable by its
// owner only, plus the group of the folder it is going into when that group may write there.
// False, with the reason, when the permissions cannot be set.
bool rendiArchivioPrivato(const QString& file, const QString& cartella, QString* errore);

}  // namespace permessi
