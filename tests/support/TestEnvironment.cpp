#include "TestEnvironment.h"

#include <QCoreApplication>
#include <QDir>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>
#include <QUrl>

#include "Archivio.h"
#include "InvioSuPulsanti.h"
#include "Programma.h"
#include "Services.h"
#include "Sql.h"

TestEnvironment::TestEnvironment() {
    platform.folder = QDir::toNativeSeparators(dir.path());
    platform.configFolder = QDir::toNativeSeparators(dir.filePath(QStringLiteral("config")));
    platform.dataFolder = QDir::toNativeSeparators(dir.filePath(QStringLiteral("data")));
    services::setInteraction(&ui);
    services::setClock(&clock);
    services::setPlatform(&platform);
    installaInvioSuPulsanti();  // as the program does at start
    programma() = StatoProgramma{};
}

namespace {

QString serverUri() {
    const QString uri = qEnvironmentVariable("VARDELLO_TEST_PG");
    if (uri.isEmpty()) {
        qFatal("VARDELLO_TEST_ENGINE=postgresql needs VARDELLO_TEST_PG (a PostgreSQL server URI)");
    }
    return uri;
}

QString uriOfDatabase(const QString& database) {
    QUrl url(serverUri());
    url.setPath(QLatin1Char('/') + database);
    return url.toString();
}

void dropDatabase(const QString& database) {
    const QString name = QStringLiteral("vardello-test-drop");
    {
        QUrl url(serverUri());
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setHostName(url.host());
        db.setPort(url.port(5432));
        db.setUserName(url.userName());
        db.setDatabaseName(url.path().mid(1));
        if (db.open()) {
            QSqlQuery q(db);
            q.exec(QStringLiteral("DROP DATABASE IF EXISTS \"%1\" WITH (FORCE)").arg(database));
        }
    }
    QSqlDatabase::removeDatabase(name);
}

}  // namespace

bool TestEnvironment::onPostgres() {
    return qEnvironmentVariable("VARDELLO_TEST_ENGINE") == QLatin1String("postgresql");
}

QString TestEnvironment::newArchiveLocation(const QString& name) {
    if (!onPostgres()) {
        return QDir(dir.path()).filePath(name);
    }
    static int counter = 0;
    const QString database = QStringLiteral("vardello_test_%1_%2_%3")
                                 .arg(QCoreApplication::applicationPid())
                                 .arg(++counter)
                                 .arg(QString(name).remove(QLatin1Char('.')).toLower());
    postgresDatabases.append(database);
    return uriOfDatabase(database);
}

QString TestEnvironment::createArchive(const QString& name) {
    if (!onPostgres()) {
        return createArchiveFile(name);
    }
    const QString uri = newArchiveLocation(name);
    archivio::Errore errore;
    if (!archivio::crea(uri, &errore)) {
        qFatal("cannot create test database: %s %s", qPrintable(errore.codice),
               qPrintable(errore.testo));
    }
    return uri;
}

TestEnvironment::~TestEnvironment() {
    archivio::chiudi(kConnessioneArchivio);
    for (const QString& database : postgresDatabases) {
        dropDatabase(database);
    }
    services::setInteraction(nullptr);
    services::setClock(nullptr);
    services::setPlatform(nullptr);
    programma() = StatoProgramma{};
}

QString TestEnvironment::createArchiveFile(const QString& fileName) {
    const QString path = QDir(dir.path()).filePath(fileName);
    archivio::Errore errore;
    if (!archivio::crea(path, &errore)) {
        qFatal("cannot create test archive: %s", qPrintable(errore.testo));
    }
    return path;
}

QSqlDatabase TestEnvironment::openNewArchive() {
    const QString path = createArchive(QStringLiteral("VARDELLO.MDB"));
    archivio::Errore errore;
    if (!archivio::apri(path, kConnessioneArchivio, &errore)) {
        qFatal("cannot open test archive: %s", qPrintable(errore.testo));
    }
    programma().PercorsoArchivio = path;
    return DbArchivio();
}

void TestEnvironment::exec(const QString& sql, const QVariantList& values) {
    QSqlQuery q(DbArchivio());
    if (!eseguiSql(q, sql, values)) {
        qFatal("test statement failed: %s\n%s", qPrintable(sql), qPrintable(q.lastError().text()));
    }
}

QVariant TestEnvironment::scalar(const QString& sql, const QVariantList& values) {
    QSqlQuery q(DbArchivio());
    if (!eseguiSql(q, sql, values) || !q.next()) {
        qFatal("test query failed: %s\n%s", qPrintable(sql), qPrintable(q.lastError().text()));
    }
    return q.value(0);
}
