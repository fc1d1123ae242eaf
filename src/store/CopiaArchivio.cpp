#include "CopiaArchivio.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <algorithm>

#include "Archivio.h"
#include "DatiCondivisi.h"
#include "Schema.h"
#include "Sql.h"

namespace {

const QString kOrigine = QStringLiteral("vardello-copia-origine");
const QString kDestinazione = QStringLiteral("vardello-copia-destinazione");

QString descrivi(const QSqlError& errore) {
    const archivio::Errore e = archivio::erroreDi(errore);
    return QStringLiteral("Codice errore = %1\n%2").arg(e.codice, e.testo);
}

// One stored value in a form that compares equal across the two engines.
QString valoreConfrontabile(const QSqlRecord& record, int colonna) {
    const QVariant valore = record.value(colonna);
    if (valore.isNull()) {
        return QStringLiteral("\u2400");
    }
    switch (schema::tipoCampo(record.fieldName(colonna))) {
        case schema::TipoCampo::Valuta:
        case schema::TipoCampo::Intero:
            return QString::number(valore.toLongLong());
        case schema::TipoCampo::Data:
            return dataDaSql(valore).toString(Qt::ISODate);
        case schema::TipoCampo::Booleano:
            return valore.toBool() ? QStringLiteral("1") : QStringLiteral("0");
        case schema::TipoCampo::Testo:
            break;
    }
    return valore.toString();
}

// Every row of a table as comparable text, sorted (the engines order text differently).
bool righeDi(QSqlDatabase db, const QString& tabella, QStringList* righe, QString* errore) {
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!eseguiSql(q, QStringLiteral("SELECT * FROM \"%1\"").arg(tabella))) {
        *errore = descrivi(q.lastError());
        return false;
    }
    while (q.next()) {
        const QSqlRecord r = q.record();
        QStringList campi;
        for (int i = 0; i < r.count(); ++i) {
            campi.append(r.fieldName(i) + QLatin1Char('=') + valoreConfrontabile(r, i));
        }
        std::sort(campi.begin(), campi.end());  // column order may differ between engines
        righe->append(campi.join(QChar(0x1f)));
    }
    std::sort(righe->begin(), righe->end());
    return true;
}

bool copiaTabella(QSqlDatabase da, QSqlDatabase a, const QString& tabella, QString* errore) {
    QSqlQuery lettura(da);
    lettura.setForwardOnly(true);
    if (!eseguiSql(lettura, QStringLiteral("SELECT * FROM \"%1\"").arg(tabella))) {
        *errore = descrivi(lettura.lastError());
        return false;
    }
    QSqlQuery scrittura(a);
    bool preparata = false;
    while (lettura.next()) {
        const QSqlRecord r = lettura.record();
        if (!preparata) {
            QStringList campi;
            QStringList segnaposti;
            for (int i = 0; i < r.count(); ++i) {
                campi.append(QLatin1Char('"') + r.fieldName(i) + QLatin1Char('"'));
                segnaposti.append(QStringLiteral("?"));
            }
            if (!scrittura.prepare(QStringLiteral("INSERT INTO \"%1\" (%2) VALUES (%3)")
                                       .arg(tabella, campi.join(QStringLiteral(", ")),
                                            segnaposti.join(QStringLiteral(", "))))) {
                *errore = descrivi(scrittura.lastError());
                return false;
            }
            preparata = true;
        }
        for (int i = 0; i < r.count(); ++i) {
            QVariant valore = r.value(i);
            if (schema::tipoCampo(r.fieldName(i)) == schema::TipoCampo::Data) {
                valore = valoreSql(dataDaSql(valore));
            } else if (schema::tipoCampo(r.fieldName(i)) == schema::TipoCampo::Booleano &&
                       !valore.isNull()) {
                valore = valore.toBool();
            }
            scrittura.bindValue(i, valore);
        }
        if (!scrittura.exec()) {
            *errore =
                QStringLiteral("Tabella '%1': %2").arg(tabella, descrivi(scrittura.lastError()));
            return false;
        }
    }
    return true;
}

bool copiaEVerifica(QSqlDatabase da, QSqlDatabase a, QString* errore) {
    // One read transaction on the source: every table is read from the same moment.
    if (!da.transaction()) {
        *errore = descrivi(da.lastError());
        return false;
    }
    if (da.driverName() == QLatin1String("QPSQL")) {
        QSqlQuery q(da);
        q.exec(QStringLiteral("SET TRANSACTION ISOLATION LEVEL REPEATABLE READ"));
    }
    bool ok = a.transaction();
    if (!ok) {
        *errore = descrivi(a.lastError());
    }
    for (const QString& tabella : schema::tabelle()) {
        ok = ok && copiaTabella(da, a, tabella, errore);
    }
    if (ok && !a.commit()) {
        *errore = descrivi(a.lastError());
        ok = false;
    }
    if (!ok) {
        a.rollback();
    }
    for (const QString& tabella : schema::tabelle()) {
        if (!ok) {
            break;
        }
        QStringList righeOrigine;
        QStringList righeCopia;
        ok =
            righeDi(da, tabella, &righeOrigine, errore) && righeDi(a, tabella, &righeCopia, errore);
        if (ok && righeOrigine != righeCopia) {
            *errore = QStringLiteral(
                          "La copia della tabella '%1' non corrisponde all'originale "
                          "(%2 righe nell'originale, %3 nella copia).")
                          .arg(tabella)
                          .arg(righeOrigine.size())
                          .arg(righeCopia.size());
            ok = false;
        }
    }
    da.rollback();  // ends the read transaction; nothing was written to the source
    return ok;
}

}  // namespace

bool copiaArchivio(const QString& origine, const QString& destinazione, QString* errore) {
    archivio::Errore e;
    if (!archivio::apri(origine, kOrigine, &e)) {
        *errore = QStringLiteral("Impossibile aprire l'archivio '%1'.\nCodice errore = %2\n%3")
                      .arg(origine, e.codice, e.testo);
        return false;
    }
    bool ok = archivio::crea(destinazione, &e) && archivio::apri(destinazione, kDestinazione, &e);
    if (!ok) {
        *errore = QStringLiteral("Impossibile creare l'archivio '%1'.\nCodice errore = %2\n%3")
                      .arg(destinazione, e.codice, e.testo);
    } else {
        ok = copiaEVerifica(QSqlDatabase::database(kOrigine, false),
                            QSqlDatabase::database(kDestinazione, false), errore);
    }
    archivio::chiudi(kDestinazione);
    archivio::chiudi(kOrigine);
    return ok;
}
