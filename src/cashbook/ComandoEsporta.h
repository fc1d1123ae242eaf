#pragma once

#include <QStringList>

// vardello --esporta ARCHIVIO DA A FILE: the accountant's export without any window, the
// format from the file's extension (.xlsx or .csv), the dates dd/mm/yyyy.
bool eComandoEsporta(const QStringList& argomenti);

// Runs it: 0 when the file was written, 1 when the export failed, 2 for wrong arguments.
// Messages go to standard output and standard error.
int eseguiComandoEsporta(const QStringList& argomenti);
