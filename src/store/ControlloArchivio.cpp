#include "ControlloArchivio.h"

#include <sqlite3.h>

#include <QFile>
#include <QHash>
#include <QSqlDriver>
#include <QSqlQuery>

#include "Schema.h"

namespace archivio {

namespace {

using schema::TipoCampo;

// SQLite keeps the type a column was declared with and stores values by its affinity.
bool affinitaIntera(const QString& dichiarato) {
    return dichiarato.contains(QLatin1String("INT"));
}

bool affinitaTesto(const QString& dichiarato) {
    return !affinitaIntera(dichiarato) && (dichiarato.contains(QLatin1String("CHAR")) ||
                                           dichiarato.contains(QLatin1String("CLOB")) ||
                                           dichiarato.contains(QLatin1String("TEXT")));
}

bool tipoAdatto(Motore motore, TipoCampo atteso, const QString& tipo) {
    const QString t = tipo.trimmed().toUpper();
    if (motore == Motore::SQLite) {
        switch (atteso) {
            case TipoCampo::Valuta:
            case TipoCampo::Intero:
                return affinitaIntera(t);
            case TipoCampo::Data:
                return t == QLatin1String("DATE");
            case TipoCampo::Booleano:
                return t == QLatin1String("BOOLEAN") || affinitaIntera(t);
            case TipoCampo::Testo:
                return affinitaTesto(t);
        }
        return false;
    }
    switch (atteso) {
        case TipoCampo::Valuta:  // ten-thousandths need 64 bits
            return t == QLatin1String("BIGINT");
        case TipoCampo::Intero:
            return t == QLatin1String("SMALLINT") || t == QLatin1String("INTEGER") ||
                   t == QLatin1String("BIGINT");
        case TipoCampo::Data:
            return t == QLatin1String("DATE");
        case TipoCampo::Booleano:
            return t == QLatin1String("BOOLEAN");
        case TipoCampo::Testo:
            return t == QLatin1String("TEXT") || t.startsWith(QLatin1String("CHARACTER"));
    }
    return false;
}

QString descrizione(TipoCampo tipo) {
    switch (tipo) {
        case TipoCampo::Valuta:
            return QStringLiteral("importi interi in decimillesimi");
        case TipoCampo::Intero:
            return QStringLiteral("numeri interi");
        case TipoCampo::Data:
            return QStringLiteral("date");
        case TipoCampo::Booleano:
            return QStringLiteral("valori sì/no");
        case TipoCampo::Testo:
            break;
    }
    return QStringLiteral("testo");
}

// SQLite compares table and column names without regard to letter case, PostgreSQL exactly.
QString chiave(Motore motore, const QString& nome) {
    return motore == Motore::SQLite ? nome.toCaseFolded() : nome;
}

bool fallisce(Errore* errore, const QString& codice, const QString& testo) {
    if (errore) {
        *errore = {codice, testo};
    }
    return false;
}

}  // namespace

bool soloNomiVeri(QSqlDatabase& db) {
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0) {
        return false;
    }
    sqlite3* connessione = *static_cast<sqlite3* const*>(handle.constData());
    return connessione &&
           sqlite3_db_config(connessione, SQLITE_DBCONFIG_DQS_DML, 0, nullptr) == SQLITE_OK &&
           sqlite3_db_config(connessione, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr) == SQLITE_OK;
}

bool controllaSchema(QSqlDatabase& db, Motore motore, Errore* errore) {
    QSqlQuery q(db);
    q.setForwardOnly(true);
    const bool letto =
        motore == Motore::SQLite
            ? q.exec(QStringLiteral("SELECT m.name, c.name, c.type FROM sqlite_master AS m, "
                                    "pragma_table_info(m.name) AS c WHERE m.type = 'table'"))
            // The catalogue itself, which shows also a table this user may not read (the
            // reading is tried afterwards and gives the server's own refusal).
            : q.exec(QStringLiteral(
                  "SELECT c.relname, a.attname, format_type(a.atttypid, a.atttypmod) "
                  "FROM pg_catalog.pg_attribute AS a "
                  "JOIN pg_catalog.pg_class AS c ON c.oid = a.attrelid "
                  "JOIN pg_catalog.pg_namespace AS n ON n.oid = c.relnamespace "
                  "WHERE n.nspname = current_schema() AND c.relkind IN ('r', 'p', 'v') "
                  "AND a.attnum > 0 AND NOT a.attisdropped"));
    if (!letto) {
        if (errore) {
            *errore = erroreDi(q.lastError());
        }
        return false;
    }
    QHash<QString, QHash<QString, QString>> tipi;  // table -> column -> declared type
    while (q.next()) {
        tipi[chiave(motore, q.value(0).toString())][chiave(motore, q.value(1).toString())] =
            q.value(2).toString();
    }
    const bool sqlite = motore == Motore::SQLite;
    for (const QString& tabella : schema::tabelle()) {
        const auto colonne = tipi.constFind(chiave(motore, tabella));
        if (colonne == tipi.constEnd()) {
            return fallisce(errore, sqlite ? QStringLiteral("1") : QStringLiteral("42P01"),
                            QStringLiteral("Nell'archivio manca la tabella '%1'.").arg(tabella));
        }
        for (const QString& colonna : schema::campi(tabella)) {
            const auto tipo = colonne->constFind(chiave(motore, colonna));
            if (tipo == colonne->constEnd()) {
                return fallisce(errore, sqlite ? QStringLiteral("1") : QStringLiteral("42703"),
                                QStringLiteral("Nella tabella '%1' manca la colonna '%2'.")
                                    .arg(tabella, colonna));
            }
            const TipoCampo atteso = schema::tipoCampo(colonna);
            if (!tipoAdatto(motore, atteso, *tipo)) {
                return fallisce(
                    errore, sqlite ? QStringLiteral("20") : QStringLiteral("42804"),
                    QStringLiteral("Nella tabella '%1' la colonna '%2' è di tipo %3, ma il "
                                   "programma vi tiene %4.")
                        .arg(tabella, colonna,
                             tipo->isEmpty() ? QStringLiteral("non dichiarato") : *tipo,
                             descrizione(atteso)));
            }
        }
    }
    return true;
}

namespace {

quint32 bigEndian(const QByteArray& dati, int da, int byte) {
    quint32 valore = 0;
    for (int i = da; i < da + byte; ++i) {
        valore = (valore << 8) | static_cast<quint8>(dati[i]);
    }
    return valore;
}

// The length of the file against its header: the engine reads the missing end of a file cut
// short as zeros, so a cut through the empty end of a page passes the page check. The header
// gives the page size and, when its counter says it is current, the number of pages.
bool controllaLunghezza(QSqlDatabase& db, Errore* errore) {
    QSqlQuery elenco(db);
    if (!elenco.exec(QStringLiteral("PRAGMA database_list")) || !elenco.next()) {
        return true;  // no file to measure: the page check still runs
    }
    QFile file(elenco.value(2).toString());
    if (!file.open(QIODevice::ReadOnly)) {
        return true;
    }
    const QByteArray intestazione = file.read(100);
    if (intestazione.size() < 100 || !intestazione.startsWith("SQLite format 3")) {
        return true;  // the engine itself refuses what is not its file
    }
    const quint32 dimensionePagina =
        bigEndian(intestazione, 16, 2) == 1 ? 65536 : bigEndian(intestazione, 16, 2);
    const quint32 pagine = bigEndian(intestazione, 28, 4);
    const bool pagineAggiornate = bigEndian(intestazione, 24, 4) == bigEndian(intestazione, 92, 4);
    const qint64 attesa = pagineAggiornate ? qint64(pagine) * dimensionePagina : 0;
    if (dimensionePagina >= 512 && (file.size() % dimensionePagina != 0 || file.size() < attesa)) {
        return fallisce(
            errore, QString::number(SQLITE_CORRUPT),
            QStringLiteral("Il file è danneggiato: è lungo %1 byte, le sue pagine "
                           "ne richiedono %2 (file troncato).")
                .arg(file.size())
                .arg(std::max(attesa, (file.size() / dimensionePagina + 1) * dimensionePagina)));
    }
    return true;
}

}  // namespace

bool controllaIntegrita(QSqlDatabase& db, Errore* errore) {
    if (!controllaLunghezza(db, errore)) {
        return false;
    }
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("PRAGMA quick_check"))) {
        if (errore) {
            *errore = erroreDi(q.lastError());
        }
        return false;
    }
    QStringList problemi;
    while (q.next()) {
        problemi += q.value(0).toString().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    if (problemi == QStringList{QStringLiteral("ok")}) {
        return true;
    }
    // The engine lists up to 100 problems; the first few tell what is wrong.
    problemi.removeAll(QStringLiteral("*** in database main ***"));
    return fallisce(
        errore, QString::number(SQLITE_CORRUPT),
        QStringLiteral("Il file è danneggiato:\n") + problemi.mid(0, 5).join(QLatin1Char('\n')));
}

}  // namespace archivio
