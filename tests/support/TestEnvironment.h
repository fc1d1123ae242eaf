#pragma once

#include <QDateTime>
#include <QSqlDatabase>
#include <QString>
#include <QTemporaryDir>

#include "Clock.h"
#include "Platform.h"
#include "ScriptedInteraction.h"

// A platform for tests: a program folder of the test's own, a settable computer name and a
// single-instance claim that can be made to fail.
class TestPlatform : public Platform {
public:
    QString programFolder() const override { return folder; }
    bool programFolderWritable() const override { return folderWritable; }
    QString userConfigFolder() const override { return configFolder; }
    QString userDataFolder() const override { return dataFolder; }
    QString computerName() const override { return computer; }
    bool claimSingleInstance() override { return !otherInstanceRunning; }

    QString folder;
    bool folderWritable = true;
    QString configFolder;
    QString dataFolder;
    QString computer = QStringLiteral("CASSA1");
    bool otherInstanceRunning = false;
};

// Everything a test needs: the seams installed (scripted person, clock fixed at
// 15/03/2005 10:30, test platform in a temporary program folder) and, on request, a new
// archive in that folder opened as DbArchivio. Undone when the object goes away.
class TestEnvironment {
public:
    TestEnvironment();
    ~TestEnvironment();

    // Creates a new archive and opens it as DbArchivio: "VARDELLO.MDB" in the program folder,
    // or, when the test runs on PostgreSQL (VARDELLO_TEST_ENGINE=postgresql), a new database
    // on the server named by VARDELLO_TEST_PG, dropped again at the end.
    QSqlDatabase openNewArchive();
    // A path for a further new archive of the engine under test (created, not opened).
    QString createArchive(const QString& name);
    // Where a further archive of the engine under test may be created: a file path in the
    // temporary folder, or the URI of a database not yet on the server (dropped at the end).
    QString newArchiveLocation(const QString& name);
    static bool onPostgres();
    // The path of a new archive file in the temporary folder (created, not opened).
    QString createArchiveFile(const QString& fileName);
    // Runs one statement with bound values on the archive; fails the test on error.
    void exec(const QString& sql, const QVariantList& values = {});
    // The first column of the first row of a query.
    QVariant scalar(const QString& sql, const QVariantList& values = {});

    QTemporaryDir dir;
    QStringList postgresDatabases;  // created by this test, dropped at the end
    ScriptedInteraction ui;
    FixedClock clock{QDateTime(QDate(2005, 3, 15), QTime(10, 30))};
    TestPlatform platform;
};
