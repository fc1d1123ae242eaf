#include "Programma.h"

StatoProgramma& programma() {
    static StatoProgramma stato;
    return stato;
}

QSqlDatabase DbArchivio() {
    QSqlDatabase db = QSqlDatabase::database(kConnessioneArchivio, false);
    if (db.isValid() && !db.isOpen() && db.driverName() == QLatin1String("QPSQL")) {
        db.open();
    }
    return db;
}
