#include "Programma.h"

#include "Archivio.h"

StatoProgramma& programma() {
    static StatoProgramma stato;
    return stato;
}

QSqlDatabase DbArchivio() {
    QSqlDatabase db = QSqlDatabase::database(kConnessioneArchivio, false);
    if (db.isValid() && !db.isOpen() && db.driverName() == QLatin1String("QPSQL")) {
        archivio::riapri(db);
    }
    return db;
}
