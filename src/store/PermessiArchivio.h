#pragma once

#include <QString>

// Makes an archive file the program has just written readable and writable by its owner only,
// plus the group of the folder it is going into when that group may write there (a shared
// folder keeps being shared): the archive holds every password, so other users of the computer
// never read it. False, with the reason, when the permissions cannot be set.
bool rendiArchivioPrivato(const QString& file, const QString& cartella, QString* errore);
