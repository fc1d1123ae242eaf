#pragma once

#include <QSqlDatabase>
#include <QString>

// Program-wide values shared by every window.
struct StatoProgramma {
    QString PercorsoArchivio;  // the archive opened: a file path or a PostgreSQL URI
    QString UtenteCorrente;    // the user who logged in
    bool IvaTrimestrale = false;
    bool RicercaInCorso = false;  // set while the VAT code lookup is open
};

StatoProgramma& programma();

// The name of the one connection to the archive shared by every window.
inline const QString kConnessioneArchivio = QStringLiteral("DbArchivio");

// The shared open archive. A server connection that was lost (the server restarted, the
// network dropped) is opened again here, so that once the server is back the next action
// works: the action that met the loss was refused and reported, nothing half done.
QSqlDatabase DbArchivio();
