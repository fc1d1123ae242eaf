#pragma once

#include <QString>

// The configuration file "vardello.ini" in the program's folder: its first line, from the 13th
// character on, names the archive.

QString percorsoFileIni();          // program folder + "vardello.ini"
QString percorsoArchivioPredefinito();  // program folder + "VARDELLO.MDB"

// Reads the archive path of the configuration file into PercorsoArchivio. A missing file is
// told to the person; an empty file leaves PercorsoArchivio as it was. True when a path was
// read. A carriage return ending the line (a file edited on Windows) is not part of the path.
bool LeggiFileIni(const QString& percorso);

// The computer's network name.
QString NomeComputer();
