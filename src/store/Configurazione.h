#pragma once

#include <QString>

// The configuration file "vardello.ini" in the program's folder: its first line, from the 13th
// character on, names the archive.

// The configuration file in use: "vardello.ini" in the program's folder when it is there,
// otherwise the one in the person's configuration folder when that is there; the program's
// folder's name when there is none.
QString percorsoFileIni();
// The default archive "VARDELLO.MDB": in the program's folder when the program may write
// there (a copy in a folder of its own, the build folder) or when one is already there (a
// read-only folder that holds the archive), otherwise in the person's data folder (an
// installed program).
QString percorsoArchivioPredefinito();

// True when something is at the path, a link that leads nowhere included.
bool presente(const QString& percorso);

// Why a file that is present cannot be read (a link to a share that is not mounted, a
// folder, no permission); empty when it can be.
QString motivoIlleggibile(const QString& percorso);

// Reads the archive path of the configuration file into PercorsoArchivio. A missing file is
// told to the person; an empty file leaves PercorsoArchivio as it was. True when a path was
// read. A carriage return ending the line (a file edited on Windows) is not part of the path.
bool LeggiFileIni(const QString& percorso);

// The computer's network name.
QString NomeComputer();
