#include "Archivio.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSqlQuery>
#include <QUrl>
#include <QUrlQuery>
#include <functional>
#include <optional>

#include "ControlloArchivio.h"
#include "GiornaleSospeso.h"
#include "PermessiFile.h"
#include "Schema.h"
#include "Sql.h"

namespace archivio {

namespace {

constexpr int kAttesaBloccoMs = 30000;  // copies wait for each other instead of failing
constexpr int kAttesaServerS = 10;      // longest wait for a server's answer to a connection

bool fallito(Errore* errore, const QString& codice, const QString& testo) {
    if (errore) {
        *errore = {codice, testo};
    }
    return false;
}

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

// Passwords that came written in a server URI, by server and user (as a password file
// keeps them): the lookup's connection and a connection opened again find them.
QHash<QString, QString>& passwordRicordate() {
    static QHash<QString, QString> password;
    return password;
}

QString chiaveServer(const QUrl& url) {
    return url
        .adjusted(QUrl::RemovePassword | QUrl::RemovePath | QUrl::RemoveQuery |
                  QUrl::RemoveFragment)
        .toString();
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
        db.setPassword(url.password(QUrl::FullyDecoded).isEmpty()
                           ? passwordRicordate().value(chiaveServer(url))
                           : url.password(QUrl::FullyDecoded));
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

bool impostaSQLite(QSqlDatabase& db, bool integrita, Errore* errore) {
    if (!soloNomiVeri(db)) {
        return fallito(errore, QStringLiteral("1"),
                       QStringLiteral("Il motore SQLite non accetta l'impostazione dei nomi."));
    }
    // Reading the catalogue makes the engine read the file header: "not a database" shows here
    // (and a journal beside the file is played back here).
    return esegui(db, QStringLiteral("SELECT count(*) FROM sqlite_master"), errore) &&
           (!integrita || controllaIntegrita(db, errore)) &&
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

// Opens the connection prepared and runs the checks of an opening; false leaves it open.
bool apriEControlla(QSqlDatabase& db, Motore motore, bool integrita, Errore* errore) {
    if (!db.open()) {
        if (errore) {
            *errore = erroreDi(db.lastError());
        }
        return false;
    }
    const bool impostata = motore == Motore::SQLite ? impostaSQLite(db, integrita, errore)
                                                    : impostaPostgres(db, errore);
    return impostata && controllaSchema(db, motore, errore) && controllaTabelle(db, errore);
}

// Runs `lavoro` on a connection to the server's maintenance database "postgres" (a database
// is created, found or dropped from there); false with the engine's error when a step fails.
bool suManutenzione(const QString& percorso, const std::function<bool(QSqlDatabase&)>& lavoro,
                    Errore* errore) {
    const QString nome = QStringLiteral("vardello-manutenzione");
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
            fatto = lavoro(db);  // which tells its own error
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(nome);
    return fatto;
}

// The database's name, quoted as an identifier (a database name cannot be a bound value).
QString identificatoreDatabase(const QString& percorso) {
    QString identificatore = QUrl(percorso).path().mid(1);
    identificatore.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + identificatore + QLatin1Char('"');
}

bool cercaDatabase(QSqlDatabase& db, const QString& percorso, bool* esiste, Errore* errore) {
    QSqlQuery q(db);
    if (!eseguiSql(q, QStringLiteral("SELECT count(*) FROM pg_database WHERE datname = ?"),
                   {QUrl(percorso).path().mid(1)}) ||
        !q.next()) {
        if (errore) {
            *errore = erroreDi(q.lastError());
        }
        return false;
    }
    *esiste = q.value(0).toInt() > 0;
    return true;
}

// Creates the database named by a PostgreSQL URI when the server does not have it yet.
bool creaDatabasePostgres(const QString& percorso, Errore* errore) {
    return suManutenzione(
        percorso,
        [&](QSqlDatabase& db) {
            bool esiste = false;
            return cercaDatabase(db, percorso, &esiste, errore) &&
                   (esiste ||
                    esegui(
                        db,
                        QStringLiteral("CREATE DATABASE %1").arg(identificatoreDatabase(percorso)),
                        errore));
        },
        errore);
}

}  // namespace

bool eUriPostgres(const QString& percorso) {
    return percorso.startsWith(QStringLiteral("postgresql://")) ||
           percorso.startsWith(QStringLiteral("postgres://"));
}

QString nomeVisibile(const QString& percorso) {
    return eUriPostgres(percorso) ? QUrl(percorso).toString(QUrl::RemovePassword) : percorso;
}

QString ricordaPassword(const QString& percorso) {
    const QString visibile = nomeVisibile(percorso);
    if (visibile != percorso) {
        const QUrl url(percorso);
        passwordRicordate().insert(chiaveServer(url), url.password(QUrl::FullyDecoded));
    }
    return visibile;
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

bool apri(const QString& percorso, const QString& nomeConnessione, Errore* errore,
          Verifica verifica) {
    if (percorso.isEmpty()) {
        return fallito(errore, QStringLiteral("14"),
                       QStringLiteral("Percorso dell'archivio vuoto"));
    }
    const Motore motore = motoreDi(percorso);
    std::optional<GiornaleSospeso> giornale;
    if (motore == Motore::SQLite) {
        giornale.emplace(QFileInfo(percorso).absoluteFilePath());
        if (giornale->presente() && !giornale->conservaCopia(errore)) {
            return false;
        }
    }
    const bool giornaleDaApplicare = giornale && giornale->presente();
    bool aperto = false;
    {
        QSqlDatabase db = prepara(percorso, nomeConnessione, false);
        // A journal played back is checked like a file that may be damaged.
        aperto = apriEControlla(db, motore, verifica == Verifica::Completa || giornaleDaApplicare,
                                errore);
        if (!aperto) {
            db.close();
        }
    }
    if (!aperto) {
        QSqlDatabase::removeDatabase(nomeConnessione);
    }
    if (giornaleDaApplicare) {
        if (aperto) {
            giornale->confermaApertura();
        } else {
            giornale->rimettiOriginale(errore);
        }
    }
    return aperto;
}

bool crea(const QString& percorso, Errore* errore) {
    const QString nome = QStringLiteral("vardello-crea-archivio");
    if (motoreDi(percorso) == Motore::PostgreSQL && !creaDatabasePostgres(percorso, errore)) {
        return false;
    }
    if (motoreDi(percorso) == Motore::SQLite) {
        if (QFileInfo::exists(percorso)) {
            return fallito(errore, QStringLiteral("0"), QStringLiteral("Il file esiste gia'"));
        }
        QString motivo;
        if (!permessi::creaFilePrivato(percorso, &motivo)) {
            return fallito(errore, QStringLiteral("14"), motivo);
        }
    }
    bool creato = false;
    {
        QSqlDatabase db = prepara(percorso, nome, true);
        if (!db.open()) {
            if (errore) {
                *errore = erroreDi(db.lastError());
            }
        } else {
            creato = motoreDi(percorso) == Motore::PostgreSQL || soloNomiVeri(db);
            creato = creato && db.transaction();
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

bool esisteDatabase(const QString& percorso, bool* esiste, Errore* errore) {
    return suManutenzione(
        percorso, [&](QSqlDatabase& db) { return cercaDatabase(db, percorso, esiste, errore); },
        errore);
}

bool eliminaDatabase(const QString& percorso, Errore* errore) {
    return suManutenzione(
        percorso,
        [&](QSqlDatabase& db) {
            return esegui(
                db,
                QStringLiteral("DROP DATABASE IF EXISTS %1").arg(identificatoreDatabase(percorso)),
                errore);
        },
        errore);
}

bool riapri(QSqlDatabase& db) {
    dimenticaIstruzioni(db.connectionName());
    return db.open() && impostaPostgres(db, nullptr);
}

void chiudi(const QString& nomeConnessione) {
    dimenticaIstruzioni(nomeConnessione);
    {
        QSqlDatabase db = QSqlDatabase::database(nomeConnessione, false);
        if (db.isValid()) {
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(nomeConnessione);
}

}  // namespace archivio
