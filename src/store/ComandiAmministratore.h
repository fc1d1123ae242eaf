#pragma once

#include <QStringList>
#include <optional>

// The administrator's command-line options of vardello, which run without any window:
//   --help, --version, --nuovo-archivio <archivio>, --copia-archivio <origine> <destinazione>.
// True when the arguments ask for one of them (then no window must open).
bool eComandoAmministratore(const QStringList& argomenti);

// Runs the command and returns the program's exit code (0 when it succeeded). Messages go to
// standard output and standard error.
int eseguiComandoAmministratore(const QStringList& argomenti);
