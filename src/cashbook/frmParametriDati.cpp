#include "frmParametriDati.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

#include "Clock.h"
#include "CopiaArchivio.h"
#include "DatiCondivisi.h"
#include "Platform.h"
#include "Services.h"
#include "Sql.h"
#include "Transazione.h"

bool scriviParametri(QSqlDatabase db, const Parametri& parametri, archivio::Errore* errore) {
    const QVariantList valori = {parametri.GestioneIva, parametri.CodiceIvaStandard,
                                 parametri.IvaTrimestrale};
    return eseguiInTransazione(
        db,
        [&valori](QSqlQuery& q) {
            // The table holds one row; should it hold more, they all get the same values,
            // so whichever row is read first carries them.
            if (!bloccaTabella(q, QStringLiteral("Parametri")) ||
                !eseguiSql(q, QStringLiteral(R"(UPDATE "Parametri" SET "Gestione Iva" = ?,
                                             "Codice Iva Standard" = ?, "Iva Trimestrale" = ?)"),
                           valori)) {
                return false;
            }
            if (q.numRowsAffected() > 0) {
                return true;
            }
            return eseguiSql(q, QStringLiteral(R"(INSERT INTO "Parametri" ("Gestione Iva",
                                               "Codice Iva Standard", "Iva Trimestrale")
                                               VALUES (?, ?, ?))"),
                             valori);
        },
        errore);
}

std::optional<QString> descrizioneCodiceIva(QSqlDatabase db, const QString& codice) {
    QSqlQuery q(db);
    if (!eseguiSql(
            q,
            QStringLiteral(R"(SELECT "Descrizione Iva" FROM "Codici Iva" WHERE "Codice Iva" = ?)"),
            {codice})) {
        const archivio::Errore e = archivio::erroreDi(q.lastError());
        throw ErroreArchivio{e.codice, e.testo};
    }
    if (!q.next()) {
        return std::nullopt;
    }
    return LeggiCampo(q.record(), QStringLiteral("Descrizione Iva"), QString());
}

bool azzeraArchivi(QSqlDatabase db, archivio::Errore* errore) {
    return eseguiInTransazione(
        db,
        [](QSqlQuery& q) {
            return eseguiSql(q, QStringLiteral(R"(DELETE FROM "Conti Utilizzati")")) &&
                   eseguiSql(q, QStringLiteral(R"(DELETE FROM "Vardello")")) &&
                   eseguiSql(q, QStringLiteral(R"(DELETE FROM "Totali di Cassa")"));
        },
        errore);
}

QString percorsoCopiaAzzeramento(const QString& archivio, const QDateTime& quando) {
    QString cartella = services::platform().userDataFolder();
    QString nome;
    QString estensione = QStringLiteral("MDB");
    if (archivio::motoreDi(archivio) == archivio::Motore::PostgreSQL) {
        nome = QUrl(archivio).path().mid(1);
    } else {
        const QFileInfo file(archivio);
        nome = file.completeBaseName();
        if (!file.suffix().isEmpty()) {
            estensione = file.suffix();
        }
        if (QFileInfo(file.absolutePath()).isWritable()) {
            cartella = file.absolutePath();
        }
    }
    const QString data = quando.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    return QDir(cartella).filePath(
        QStringLiteral("%1-azzeramento-%2.%3").arg(nome, data, estensione));
}

bool copiaPrimaDiAzzerare(const QString& archivio, QString* copia, QString* errore) {
    *copia = QDir::toNativeSeparators(percorsoCopiaAzzeramento(archivio, services::clock().now()));
    QDir().mkpath(QFileInfo(*copia).absolutePath());
    return copiaArchivio(archivio, *copia, errore);
}
