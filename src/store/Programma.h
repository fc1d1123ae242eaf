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

// The shared open archive.
inline QSqlDatabase DbArchivio() { return QSqlDatabase::database(kConnessioneArchivio, false); }
