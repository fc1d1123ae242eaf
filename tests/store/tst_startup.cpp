#include <sys/stat.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include "Archivio.h"
#include "Avvio.h"
#include "Configurazione.h"
#include "Programma.h"
#include "TestEnvironment.h"

// Start-up: which archive opens, and that nothing is ever created or changed by mistake.
class TestStartup : public QObject {
    Q_OBJECT
  private:
    static void writeFile(const QString& path, const QByteArray& content) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    static QByteArray digest(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly)
                   ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256)
                   : QByteArray();
    }

  private slots:
    void configuredPathIsReadFromTheThirteenthCharacter() {
        // The first line ends at CR-LF, LF or a lone CR alike.
        for (const char* fineRiga : {"\r\n", "\n", "\r"}) {
            TestEnvironment env;
            const QString archive = env.createArchiveFile(QStringLiteral("CASSA.MDB"));
            writeFile(env.dir.filePath(QStringLiteral("vardello.ini")),
                      "PERCORSO DB=" + archive.toUtf8() + fineRiga + "ignored line\n");
            QVERIFY(apriArchivioAllAvvio());
            QCOMPARE(programma().PercorsoArchivio, archive);
            QVERIFY(DbArchivio().isOpen());
            QVERIFY(env.ui.messages.isEmpty());
            QVERIFY(!QFile::exists(percorsoArchivioPredefinito()));
        }
    }

    void theReadmeExamplesNameTheArchive() {
        // Each example line of the README, written as the first line of a configuration file,
        // must give exactly the path or URI after its "=".
        QFile readme(QString::fromUtf8(VARDELLO_README));
        QVERIFY(readme.open(QIODevice::ReadOnly | QIODevice::Text));
        const QString testo = QString::fromUtf8(readme.readAll());
        static const QRegularExpression esempio(QStringLiteral("`(ARCHIVIO[^`=]*=([^`]+))`"));
        int esempi = 0;
        for (auto it = esempio.globalMatch(testo); it.hasNext(); ++esempi) {
            const QRegularExpressionMatch riga = it.next();
            TestEnvironment env;
            const QString ini = env.dir.filePath(QStringLiteral("vardello.ini"));
            writeFile(ini, riga.captured(1).toUtf8() + '\n');
            QVERIFY(LeggiFileIni(ini));
            QCOMPARE(programma().PercorsoArchivio, riga.captured(2));
        }
        QVERIFY(esempi >= 2);
    }

    void shortOrEmptyConfigurationEndsTheProgram_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("exactly twelve characters") << QByteArray("123456789012\n");
        QTest::newRow("empty file") << QByteArray();
    }
    void shortOrEmptyConfigurationEndsTheProgram() {
        QFETCH(QByteArray, content);
        TestEnvironment env;
        writeFile(env.dir.filePath(QStringLiteral("vardello.ini")), content);
        QVERIFY(!apriArchivioAllAvvio());
        QCOMPARE(programma().PercorsoArchivio, QString());
        QCOMPARE(env.ui.messages.size(), 1);
        QVERIFY(env.ui.messages[0].text.contains(QStringLiteral("Codice errore = ")));
        QVERIFY(!QFile::exists(percorsoArchivioPredefinito()));
    }

    void freshInstallationCreatesTheDefaultArchive() {
        TestEnvironment env;
        QVERIFY(apriArchivioAllAvvio());
        QCOMPARE(programma().PercorsoArchivio, env.dir.filePath(QStringLiteral("VARDELLO.MDB")));
        QVERIFY(QFile::exists(programma().PercorsoArchivio));
        QVERIFY(env.ui.messages.isEmpty());
    }

    void aFailedCreationLeavesNoFileForTheNextStart() {
        TestEnvironment env;
        const QString path = env.dir.filePath(QStringLiteral("VARDELLO.MDB"));
        // The engine cannot make its journal there, so the tables are never written.
        QVERIFY(QDir(env.dir.path()).mkdir(QStringLiteral("VARDELLO.MDB-journal")));
        archivio::Errore errore;
        QVERIFY(!archivio::crea(path, &errore));
        QVERIFY(!QFile::exists(path));

        // Once the obstacle is gone, the next start is a fresh installation again.
        QVERIFY(QDir(env.dir.path()).rmdir(QStringLiteral("VARDELLO.MDB-journal")));
        QVERIFY(apriArchivioAllAvvio());
        QVERIFY(env.ui.messages.isEmpty());
    }

    void missingConfiguredArchiveIsAnErrorAndNothingIsCreated() {
        TestEnvironment env;
        const QString missing = env.dir.filePath(QStringLiteral("share/CASSA.MDB"));
        writeFile(env.dir.filePath(QStringLiteral("vardello.ini")),
                  "123456789012" + missing.toUtf8());
        QVERIFY(!apriArchivioAllAvvio());
        QCOMPARE(env.ui.messages.size(), 1);
        QCOMPARE(env.ui.messages[0].title, QStringLiteral("Vardello"));
        QVERIFY(env.ui.messages[0].text.contains(missing));
        QVERIFY(!QFile::exists(missing));
        QVERIFY(!QFile::exists(percorsoArchivioPredefinito()));
    }

    void aFileThatIsNotAnArchiveIsLeftByteForByte_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("text")
            << QByteArray("this is not a database, just some text\n").repeated(200);
        QTest::newRow("empty file") << QByteArray();
    }
    void aFileThatIsNotAnArchiveIsLeftByteForByte() {
        QFETCH(QByteArray, content);
        TestEnvironment env;
        const QString path = env.dir.filePath(QStringLiteral("VARDELLO.MDB"));
        writeFile(path, content);
        const QByteArray before = digest(path);
        QVERIFY(!apriArchivioAllAvvio());
        QCOMPARE(env.ui.messages.size(), 1);
        QVERIFY(env.ui.messages[0].text.contains(QStringLiteral("Codice errore = ")));
        QCOMPARE(digest(path), before);
        QCOMPARE(QFileInfo(path).size(), content.size());
    }

    void missingIniFileIsToldByTheReader() {
        TestEnvironment env;
        programma().PercorsoArchivio = QStringLiteral("kept");
        QVERIFY(!LeggiFileIni(env.dir.filePath(QStringLiteral("vardello.ini"))));
        QCOMPARE(env.ui.messages.size(), 1);
        QVERIFY(env.ui.messages[0].text.startsWith(QStringLiteral("File d'inizializzazione '")));
        QCOMPARE(programma().PercorsoArchivio, QStringLiteral("kept"));
    }

    void aSecondCopyIsRefused() {
        TestEnvironment env;
        env.platform.otherInstanceRunning = true;
        QVERIFY(!apriArchivioAllAvvio());
        QCOMPARE(env.ui.beeps, 1);
        QCOMPARE(env.ui.messages.size(), 1);
        QCOMPARE(env.ui.messages[0].text, QStringLiteral("Applicazione già attiva!"));
        QCOMPARE(env.ui.messages[0].title, QStringLiteral("VARDELLO"));
        QVERIFY(!QFile::exists(percorsoArchivioPredefinito()));
    }

    void configurationIsLookedForInTheProgramFolderFirst() {
        TestEnvironment env;
        QDir().mkpath(env.platform.configFolder);
        const QString userArchive = env.createArchiveFile(QStringLiteral("UTENTE.MDB"));
        const QString programArchive = env.createArchiveFile(QStringLiteral("PROGRAMMA.MDB"));
        writeFile(env.platform.configFolder + QStringLiteral("/vardello.ini"),
                  "123456789012" + userArchive.toUtf8());
        QVERIFY(apriArchivioAllAvvio());
        QCOMPARE(programma().PercorsoArchivio, userArchive);

        archivio::chiudi(kConnessioneArchivio);
        writeFile(env.dir.filePath(QStringLiteral("vardello.ini")),
                  "123456789012" + programArchive.toUtf8());
        QVERIFY(apriArchivioAllAvvio());
        QCOMPARE(programma().PercorsoArchivio, programArchive);
    }

    void anInstalledProgramKeepsItsArchiveInTheUsersDataFolder() {
        {
            TestEnvironment env;
            env.platform.folderWritable = false;
            QVERIFY(apriArchivioAllAvvio());
            QCOMPARE(programma().PercorsoArchivio,
                     env.platform.dataFolder + QStringLiteral("/VARDELLO.MDB"));
            QVERIFY(QFile::exists(programma().PercorsoArchivio));
            QVERIFY(!QFile::exists(env.dir.filePath(QStringLiteral("VARDELLO.MDB"))));
        }
        // A read-only program folder that holds the archive: that archive is the book.
        TestEnvironment env;
        env.platform.folderWritable = false;
        const QString archive = env.createArchiveFile(QStringLiteral("VARDELLO.MDB"));
        QVERIFY(apriArchivioAllAvvio());
        QCOMPARE(programma().PercorsoArchivio, archive);
        QVERIFY(!QFile::exists(env.platform.dataFolder + QStringLiteral("/VARDELLO.MDB")));
    }

    // A configuration that is there but cannot be read is not a fresh installation: a new
    // empty book would take the day's movements where nobody else sees them.
    void anUnreadableConfigurationEndsTheProgram_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("link to a share that is not mounted") << "link"
                                                             << "non si trova";
        QTest::newRow("a folder") << "folder"
                                  << "cartella";
        QTest::newRow("no permission") << "permission"
                                       << "";
        QTest::newRow("in the user's folder") << "user"
                                              << "non si trova";
    }
    void anUnreadableConfigurationEndsTheProgram() {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        if (kind == QLatin1String("permission") && ::geteuid() == 0) {
            QSKIP("root reads every file");
        }
        TestEnvironment env;
        QString ini = env.dir.filePath(QStringLiteral("vardello.ini"));
        if (kind == QLatin1String("link")) {
            QVERIFY(QFile::link(QStringLiteral("/mnt/vardello-non-collegato/vardello.ini"), ini));
        } else if (kind == QLatin1String("folder")) {
            QVERIFY(QDir().mkdir(ini));
        } else if (kind == QLatin1String("permission")) {
            writeFile(ini, "123456789012/dati/CASSA.MDB");
            QVERIFY(QFile::setPermissions(ini, QFile::WriteOwner));
        } else {
            QVERIFY(QDir().mkpath(env.platform.configFolder));
            ini = env.platform.configFolder + QStringLiteral("/vardello.ini");
            QVERIFY(QFile::link(QStringLiteral("/mnt/vardello-non-collegato/vardello.ini"), ini));
        }
        QVERIFY(!apriArchivioAllAvvio());
        QCOMPARE(env.ui.messages.size(), 1);
        const QString text = env.ui.messages[0].text;
        QVERIFY2(text.contains(QStringLiteral("'%1'").arg(ini)) && text.contains(reason),
                 qPrintable(text));
        QVERIFY(!QFile::exists(env.dir.filePath(QStringLiteral("VARDELLO.MDB"))));
        QVERIFY(!QFile::exists(env.platform.dataFolder + QStringLiteral("/VARDELLO.MDB")));
    }

    // Under the usual umask an archive holding every password is not for other users: a new
    // default archive and its folders are the owner's alone; an archive the administrator
    // creates elsewhere is shared with the folder's group only when that group writes there.
    void newArchivesAreNotReadableByOtherUsers() {
        const mode_t umaskBefore = ::umask(022);
        const QFile::Permissions groupOrOthers = QFile::ReadGroup | QFile::WriteGroup |
                                                 QFile::ExeGroup | QFile::ReadOther |
                                                 QFile::WriteOther | QFile::ExeOther;
        TestEnvironment env;
        env.platform.folderWritable = false;
        env.platform.dataFolder = env.dir.filePath(QStringLiteral("home/.local/share/vardello"));
        QVERIFY(QDir().mkpath(env.platform.configFolder));
        QVERIFY(apriArchivioAllAvvio());
        QCOMPARE(QFileInfo(programma().PercorsoArchivio).permissions() & groupOrOthers,
                 QFile::Permissions());
        QCOMPARE(QFileInfo(env.platform.dataFolder).permissions() & groupOrOthers,
                 QFile::Permissions());
        QCOMPARE(QFileInfo(env.dir.filePath(QStringLiteral("home/.local"))).permissions() &
                     groupOrOthers,
                 QFile::Permissions());
        QCOMPARE(QFileInfo(env.platform.configFolder).permissions() & groupOrOthers,
                 QFile::Permissions());

        archivio::Errore errore;
        const QString plain = env.dir.filePath(QStringLiteral("cassa"));
        const QString shared = env.dir.filePath(QStringLiteral("condivisa"));
        QVERIFY(QDir().mkdir(plain) && QDir().mkdir(shared));
        QVERIFY(QFile::setPermissions(shared, QFileInfo(shared).permissions() | QFile::WriteGroup));
        QVERIFY(archivio::crea(plain + QStringLiteral("/CASSA.MDB"), &errore));
        QVERIFY(archivio::crea(shared + QStringLiteral("/CASSA.MDB"), &errore));
        QCOMPARE(QFileInfo(plain + QStringLiteral("/CASSA.MDB")).permissions() & groupOrOthers,
                 QFile::Permissions());
        QCOMPARE(QFileInfo(shared + QStringLiteral("/CASSA.MDB")).permissions() & groupOrOthers,
                 QFile::ReadGroup | QFile::WriteGroup);
        ::umask(umaskBefore);
    }

    void theSystemSingleInstanceLockRefusesASecondClaim() {
        QTemporaryDir runtime;
        QVERIFY(QFile::setPermissions(runtime.path(),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
        QString lockPath;
        {
            SystemPlatform first;
            SystemPlatform second;
            QVERIFY(first.claimSingleInstance());
            QVERIFY(!second.claimSingleInstance());
            lockPath = first.singleInstanceLockPath();
            QVERIFY(lockPath.startsWith(runtime.path() + QLatin1Char('/')));
            QVERIFY(QFile::exists(lockPath));
        }
        QVERIFY(!QFile::exists(lockPath));

        // A lock left by a copy that was killed names a process that is no longer running.
        QByteArray lockText;
        {
            QLockFile left(lockPath);
            QVERIFY(left.tryLock(0));
            QFile f(lockPath);
            QVERIFY(f.open(QIODevice::ReadOnly));
            lockText = f.readAll();
        }
        QProcess killed;
        killed.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("echo $$")});
        QVERIFY(killed.waitForFinished());
        const QByteArray deadPid = killed.readAllStandardOutput().trimmed();
        writeFile(lockPath, deadPid + lockText.mid(lockText.indexOf('\n')));
        SystemPlatform next;
        QVERIFY(next.claimSingleInstance());
        qunsetenv("XDG_RUNTIME_DIR");
    }
};

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
