#include "TestEnvironment.h"

#include <QDir>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

#include "Archivio.h"
#include "Programma.h"
#include "Services.h"

TestEnvironment::TestEnvironment() {
    platform.folder = QDir::toNativeSeparators(dir.path());
    services::setInteraction(&ui);
    services::setClock(&clock);
    services::setPlatform(&platform);
    programma() = StatoProgramma{};
}

TestEnvironment::~TestEnvironment() {
    archivio::chiudi(kConnessioneArchivio);
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
    const QString path = createArchiveFile(QStringLiteral("VARDELLO.MDB"));
    archivio::Errore errore;
    if (!archivio::apri(path, kConnessioneArchivio, &errore)) {
        qFatal("cannot open test archive: %s", qPrintable(errore.testo));
    }
    programma().PercorsoArchivio = path;
    return DbArchivio();
}

void TestEnvironment::exec(const QString& sql, const QVariantList& values) {
    QSqlQuery q(DbArchivio());
    q.prepare(sql);
    for (const QVariant& v : values) {
        q.addBindValue(v);
    }
    if (!q.exec()) {
        qFatal("test statement failed: %s\n%s", qPrintable(sql), qPrintable(q.lastError().text()));
    }
}

QVariant TestEnvironment::scalar(const QString& sql, const QVariantList& values) {
    QSqlQuery q(DbArchivio());
    q.prepare(sql);
    for (const QVariant& v : values) {
        q.addBindValue(v);
    }
    if (!q.exec() || !q.next()) {
        qFatal("test query failed: %s\n%s", qPrintable(sql), qPrintable(q.lastError().text()));
    }
    return q.value(0);
}
