#include "Archivio.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QUrl>
#include <QUrlQuery>

#include "Schema.h"
#include "Sql.h"

namespace archivio {

namespace {

constexpr int kAttesaBloccoMs = 30000;  // copies wait for each other instead of failing
constexpr int kAttesaServerS = 10;      // longest wait for a server's answer to a connection

bool esegui(QSqlDatabase& db, const QString& sql, Errore* errore) {
    QSqlQuery q(db);
    if (!q.exec(sql)) {
        if (errore) {
            *errore = erroreDi(q.lastError());
        }
        return false;
    }
    return true;
}

// Configures a connection for the archive named; nothing is opened yet.
QSqlDatabase prepara(const QString& percorso, const QString& nomeConnessione, bool scrivibile) {
    if (eUriPostgres(percorso)) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), nomeConnessione);
        const QUrl url(percorso);
        db.setHostName(url.host());
        if (url.port() > 0) {
            db.setPort(url.port());
        }
        db.setUserName(url.userName());
        db.setDatabaseName(url.path().mid(1));
        // A server that cannot be reached is reported after a while instead of never.
        db.setConnectOptions(QStringLiteral("connect_timeout=%1").arg(kAttesaServerS));
        return db;
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), nomeConnessione);
    // mode=rw opens an existing file only; mode=rwc (creation) is used by crea alone.
    QUrl url = QUrl::fromLocalFile(QFileInfo(percorso).absoluteFilePath());
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("mode"),
                       scrivibile ? QStringLiteral("rwc") : QStringLiteral("rw"));
    url.setQuery(query);
    db.setDatabaseName(url.toString(QUrl::FullyEncoded));
    db.setConnectOptions(
        QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(kAttesaBloccoMs));
    return db;
}

// A write waits for another computer's lock as long as on a file, not for ever: a computer
// cut off in the middle of a write keeps its lock until the server notices. (A session
// setting rather than a connection option, which a connection pooler may refuse.)
bool impostaPostgres(QSqlDatabase& db, Errore* errore) {
    return esegui(db, QStringLiteral("SET lock_timeout = %1").arg(kAttesaBloccoMs), errore);
}

bool impostaSQLite(QSqlDatabase& db, Errore* errore) {
    // Reading the catalogue makes the engine read the file header: "not a database" shows here.
    return esegui(db, QStringLiteral("SELECT count(*) FROM sqlite_master"), errore) &&
           esegui(db, QStringLiteral("PRAGMA synchronous = FULL"), errore);
}

bool controllaTabelle(QSqlDatabase& db, Errore* errore) {
    for (const QString& tabella : schema::tabelle()) {
        if (!esegui(db, QStringLiteral("SELECT 1 FROM \"%1\" WHERE 1 = 0").arg(tabella), errore)) {
            return false;
        }
    }
    return true;
}

// Creates the database named by a PostgreSQL URI when the server does not have it yet,
// through the server's maintenance database "postgres".
bool creaDatabasePostgres(const QString& percorso, Errore* errore) {
    const QString nome = QStringLiteral("vardello-crea-database");
    const QString database = QUrl(percorso).path().mid(1);
    bool fatto = false;
    {
        QUrl manutenzione(percorso);
        manutenzione.setPath(QStringLiteral("/postgres"));
        QSqlDatabase db = prepara(manutenzione.toString(), nome, true);
        if (!db.open()) {
            if (errore) {
                *errore = erroreDi(db.lastError());
            }
        } else {
            bool esiste = false;
            {
                QSqlQuery q(db);
                fatto = eseguiSql(
                            q, QStringLiteral("SELECT count(*) FROM pg_database WHERE datname = ?"),
                            {database}) &&
                        q.next();
                esiste = fatto && q.value(0).toInt() > 0;
                if (!fatto && errore) {
                    *errore = erroreDi(q.lastError());
                }
            }
            if (fatto && !esiste) {
                // A database name cannot be a bound value: it is quoted as an identifier.
                QString identificatore = database;
                identificatore.replace(QLatin1Char('"'), QStringLiteral("\"\""));
                fatto = esegui(db, QStringLiteral("CREATE DATABASE \"%1\"").arg(identificatore),
                               errore);
            }
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(nome);
    return fatto;
}

}  // namespace

bool eUriPostgres(const QString& percorso) {
    return percorso.startsWith(QStringLiteral("postgresql://")) ||
           percorso.startsWith(QStringLiteral("postgres://"));
}

Motore motoreDi(const QString& percorso) {
    return eUriPostgres(percorso) ? Motore::PostgreSQL : Motore::SQLite;
}

QString codiceErrore(const QSqlError& errore) {
    const QString codice = errore.nativeErrorCode();
    return codice.isEmpty() ? QStringLiteral("0") : codice;
}

Errore erroreDi(const QSqlError& errore) {
    // A statement on a connection that is not open fails without any error of the engine's:
    // the server went away and could not be reached again.
    if (!errore.isValid()) {
        return {QStringLiteral("08006"),
                QStringLiteral("Connessione all'archivio interrotta: il server non risponde.")};
    }
    QString testo = errore.databaseText();
    if (testo.isEmpty()) {
        testo = errore.text();
    }
    // The server driver gives no SQLSTATE only for a failure of the connection itself (the
    // answer to a statement or a commit never arrived).
    if (errore.nativeErrorCode().isEmpty() &&
        (errore.type() == QSqlError::ConnectionError ||
         errore.driverText().startsWith(QLatin1String("QPSQL")))) {
        return {QStringLiteral("08006"), testo};
    }
    return {codiceErrore(errore), testo};
}

bool apri(const QString& percorso, const QString& nomeConnessione, Errore* errore) {
    if (percorso.isEmpty()) {
        if (errore) {
            *errore = {QStringLiteral("14"), QStringLiteral("Percorso dell'archivio vuoto")};
        }
        return false;
    }
    bool aperto = false;
    {
        QSqlDatabase db = prepara(percorso, nomeConnessione, false);
        if (!db.open()) {
            if (errore) {
                *errore = erroreDi(db.lastError());
            }
        } else if (motoreDi(percorso) == Motore::SQLite && !impostaSQLite(db, errore)) {
            db.close();
        } else if (motoreDi(percorso) == Motore::PostgreSQL && !impostaPostgres(db, errore)) {
            db.close();
        } else if (!controllaTabelle(db, errore)) {
            db.close();
        } else {
            aperto = true;
        }
    }
    if (!aperto) {
        QSqlDatabase::removeDatabase(nomeConnessione);
    }
    return aperto;
}

bool crea(const QString& percorso, Errore* errore) {
    const QString nome = QStringLiteral("vardello-crea-archivio");
    if (motoreDi(percorso) == Motore::PostgreSQL && !creaDatabasePostgres(percorso, errore)) {
        return false;
    }
    if (motoreDi(percorso) == Motore::SQLite && QFileInfo::exists(percorso)) {
        if (errore) {
            *errore = {QStringLiteral("0"), QStringLiteral("Il file esiste gia'")};
        }
        return false;
    }
    bool creato = false;
    {
        QSqlDatabase db = prepara(percorso, nome, true);
        if (!db.open()) {
            if (errore) {
                *errore = erroreDi(db.lastError());
            }
        } else {
            creato = db.transaction();
            for (const QString& istruzione : schema::istruzioniCreazione()) {
                creato = creato && esegui(db, istruzione, errore);
            }
            creato = creato && db.commit();
            if (!creato) {
                if (errore && errore->testo.isEmpty()) {
                    *errore = erroreDi(db.lastError());
                }
                db.rollback();
            }
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(nome);
    // A file left without its tables would be taken for an archive at the next start and
    // refused there for good: a failed creation removes the empty file it made (the rollback
    // leaves it at 0 bytes; a file with anything in it is never touched).
    if (!creato && motoreDi(percorso) == Motore::SQLite && QFileInfo::exists(percorso) &&
        QFileInfo(percorso).size() == 0) {
        QFile::remove(percorso);
    }
    return creato;
}

bool riapri(QSqlDatabase& db) {
    return db.open() && impostaPostgres(db, nullptr);
}

void chiudi(const QString& nomeConnessione) {
    {
        QSqlDatabase db = QSqlDatabase::database(nomeConnessione, false);
        if (db.isValid()) {
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(nomeConnessione);
}

}  // namespace archivio
