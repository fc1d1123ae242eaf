#include <sys/stat.h>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlQuery>
#include <QTest>
#include <QThread>
#include <atomic>
#include <thread>

#include "Archivio.h"
#include "ControlloArchivio.h"
#include "CopiaArchivio.h"
#include "DatiCondivisi.h"
#include "GeneraArchivio.h"
#include "Programma.h"
#include "Schema.h"
#include "Sql.h"
#include "TestEnvironment.h"

// Moving and backing up an archive: the copy holds every row exactly, or is not reported done.
class TestCopiaArchivio : public QObject {
    Q_OBJECT
  private:
    static void fill(TestEnvironment& env) {
        for (int i = 1; i <= 300; ++i) {
            env.exec(
                QStringLiteral(R"(INSERT INTO "Vardello" ("Numero Progressivo",
                     "Data Registrazione", "Operazione", "Entrate", "Uscite", "Codice Iva",
                     "Imponibile Iva", "Data documento", "Utente", "DataIns", "OraIns")
                     VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?))"),
                {i, QDate(1996, 1, 1).addDays(i * 37), QStringLiteral("Operazione è %1").arg(i),
                 i % 3 ? QVariant(qlonglong(i) * 12345) : QVariant(), qlonglong(i % 7) * 10000,
                 i % 2 ? QStringLiteral("022") : QString(), qlonglong(i) * 999,
                 i % 5 ? valoreSql(QDate(2000, 1, 1).addDays(i)) : valoreSql(QDate()),
                 QStringLiteral("Mario"), QStringLiteral("01/02/2003"), QStringLiteral("10:11")});
        }
        env.exec(QStringLiteral(R"(INSERT INTO "Totali di Cassa" VALUES (2005, 3, 10000, 20000))"));
        env.exec(QStringLiteral(
            R"(INSERT INTO "Codici Iva" VALUES ('022', 'Iva 22%', 220000, 0, 0, 0))"));
        env.exec(QStringLiteral(R"(INSERT INTO "Conti Utilizzati" VALUES ('Affitto'))"));
        env.exec(QStringLiteral(R"(INSERT INTO "Parametri" VALUES (?, '022', ?))"), {true, false});
        env.exec(QStringLiteral(R"(INSERT INTO "Tabella utenti" VALUES ('Supervisore', 'pw'))"));
        env.exec(QStringLiteral(
            R"(INSERT INTO "Riferimenti standard" VALUES ('Titolo stampa', 'Ditta'))"));
    }

    // The rows of every table of two archive files differ in no value: each table's rows
    // compared both ways by the engine itself, on one connection with the second file attached.
    static void stessiDati(const QString& file, const QString& altroFile) {
        const QString nome = QStringLiteral("confronto");
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), nome);
            db.setDatabaseName(file);
            QVERIFY(db.open());
            QVERIFY(archivio::soloNomiVeri(db));
            QSqlQuery q(db);
            QVERIFY(eseguiSql(q, QStringLiteral("ATTACH DATABASE ? AS altro"), {altroFile}));
            for (const QString& tabella : schema::tabelle()) {
                QVERIFY(eseguiSql(q, QStringLiteral(R"(SELECT
                        (SELECT count(*) FROM main."%1"), (SELECT count(*) FROM altro."%1"),
                        (SELECT count(*) FROM (SELECT * FROM main."%1" EXCEPT
                                               SELECT * FROM altro."%1")),
                        (SELECT count(*) FROM (SELECT * FROM altro."%1" EXCEPT
                                               SELECT * FROM main."%1")))")
                                         .arg(tabella)) &&
                        q.next());
                QVERIFY2(q.value(0).toLongLong() > 0, qPrintable(tabella));
                QCOMPARE(q.value(1).toLongLong(), q.value(0).toLongLong());
                QCOMPARE(q.value(2).toLongLong(), 0);
                QCOMPARE(q.value(3).toLongLong(), 0);
            }
        }
        QSqlDatabase::removeDatabase(nome);
    }

    // The permission bits of a file.
    static mode_t permessi(const QString& file) {
        struct stat dati {};
        return ::stat(QFile::encodeName(file).constData(), &dati) == 0 ? dati.st_mode & 07777 : 0;
    }

    // One statement on a connection of its own, as another computer would run it.
    static void suAltraConnessione(const QString& archivio, const QString& sql) {
        archivio::Errore e;
        QVERIFY2(archivio::apri(archivio, QStringLiteral("altro"), &e), qPrintable(e.testo));
        {
            QSqlQuery q(QSqlDatabase::database(QStringLiteral("altro")));
            QVERIFY2(q.exec(sql), qPrintable(q.lastError().text()));
        }
        archivio::chiudi(QStringLiteral("altro"));
    }

  private slots:
    // A growing business moves its archive file to the server (or, on SQLite, to another
    // file) and back again: the last file holds exactly what the first one held.
    void aLargeFileThereAndBackIsIdenticalTableByTable() {
        TestEnvironment env;
        const QString origine = env.dir.filePath(QStringLiteral("origine.mdb"));
        {
            OpzioniArchivio opzioni;
            opzioni.movimenti = 100'000;
            QString errore;
            QVERIFY2(creaArchivioGenerato(origine, opzioni, &errore), qPrintable(errore));
            archivio::Errore e;
            QVERIFY(archivio::apri(origine, QStringLiteral("titolo"), &e));
            QSqlQuery q(QSqlDatabase::database(QStringLiteral("titolo")));
            QVERIFY(eseguiSql(q, QStringLiteral(R"(INSERT INTO "Riferimenti standard"
                                                  VALUES ('Titolo stampa', ?))"),
                              {QStringLiteral("Cassa \"Rossi\" & C. – € 😀")}));
            q.finish();
            archivio::chiudi(QStringLiteral("titolo"));
        }
        const QString intermedio = env.newArchiveLocation(QStringLiteral("intermedio"));
        const QString ritorno = env.dir.filePath(QStringLiteral("ritorno.mdb"));
        QString errore;
        QVERIFY2(copiaArchivio(origine, intermedio, &errore), qPrintable(errore));
        QVERIFY2(copiaArchivio(intermedio, ritorno, &errore), qPrintable(errore));
        stessiDati(origine, ritorno);

        // A backup of the file while another computer keeps recording into it: each of its
        // inserts waits for one step of the copy at most, never for the whole copy (slowed
        // here between its steps to last for seconds), and the copy shows one moment of the
        // file, the inserts made until then.
        const QString backup = env.dir.filePath(QStringLiteral("backup.mdb"));
        std::atomic<int> passi = 0;
        bool copiata = false;
        QString erroreCopia;
        std::jthread copia([&] {
            copiata = copiaArchivio(origine, backup, &erroreCopia, [&] {
                ++passi;
                QThread::msleep(400);
            });
        });
        archivio::Errore e;
        QVERIFY(archivio::apri(origine, QStringLiteral("cassa2"), &e));
        qint64 attesaMassima = 0;
        for (int i = 1; i <= 3; ++i) {
            while (passi < 2 * i) {
                QThread::msleep(10);
            }
            QElapsedTimer attesa;
            attesa.start();
            QSqlQuery q(QSqlDatabase::database(QStringLiteral("cassa2")));
            QVERIFY2(eseguiSql(q, QStringLiteral(R"(INSERT INTO "Vardello" ("Numero Progressivo",
                                                   "Data Registrazione") VALUES (?, ?))"),
                               {200'000 + i, valoreSql(QDate(2005, 3, 15))}),
                     qPrintable(q.lastError().text()));
            attesaMassima = std::max(attesaMassima, attesa.elapsed());
        }
        archivio::chiudi(QStringLiteral("cassa2"));
        copia.join();
        QVERIFY2(copiata, qPrintable(erroreCopia));
        qInfo("longest insert wait behind the copy: %lld ms (copy steps: %d)",
              static_cast<long long>(attesaMassima), passi.load());
        QVERIFY2(attesaMassima < 1000, qPrintable(QString::number(attesaMassima)));
        QVERIFY(archivio::apri(backup, QStringLiteral("backup"), &e));
        {
            QSqlQuery q(QSqlDatabase::database(QStringLiteral("backup")));
            QVERIFY(eseguiSql(q, QStringLiteral(R"(SELECT count(*) FROM "Vardello")")) && q.next());
            QVERIFY(q.value(0).toLongLong() >= 100'000 && q.value(0).toLongLong() <= 100'003);
        }
        archivio::chiudi(QStringLiteral("backup"));
    }

    void aCopyThereAndBackIsIdentical() {
        TestEnvironment env;
        env.openNewArchive();
        fill(env);
        // A column of another program's, named to end the copy's own statement and add a user
        // without a password: the copy takes the program's own fields only, under its names.
        env.exec(
            QStringLiteral("ALTER TABLE \"Tabella utenti\" ADD COLUMN "
                           "\"x\"\") SELECT 'Intruso', '' --\" TEXT"));
        const QString source = programma().PercorsoArchivio;
        const QString file = env.dir.filePath(QStringLiteral("copia.mdb"));
        QString error;
        // Engine under test to a file, and the file back to a new archive of that engine; the
        // file is for its owner only, whatever the umask.
        const mode_t umaskPrima = ::umask(022);
        QVERIFY2(copiaArchivio(source, file, &error), qPrintable(error));
        ::umask(umaskPrima);
        QCOMPARE(permessi(file), mode_t(0600));
        QVERIFY(QDir(env.dir.path())
                    .entryList({QStringLiteral(".*")},
                               QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)
                    .isEmpty());  // no working folder left
        archivio::Errore e0;
        QVERIFY(archivio::apri(file, QStringLiteral("copia"), &e0));
        {
            QSqlQuery q(QSqlDatabase::database(QStringLiteral("copia")));
            QVERIFY(eseguiSql(q, QStringLiteral(R"(SELECT group_concat("UserName" || '/' ||
                    "Password") FROM "Tabella utenti")")) &&
                    q.next());
            QCOMPARE(q.value(0).toString(), QStringLiteral("Supervisore/pw"));
            QVERIFY(eseguiSql(q, QStringLiteral(R"(SELECT count(*) FROM
                    pragma_table_info('Tabella utenti'))")) &&
                    q.next());
            QCOMPARE(q.value(0).toInt(), 2);
        }
        archivio::chiudi(QStringLiteral("copia"));
        const QString back = env.newArchiveLocation(QStringLiteral("ritorno"));
        QVERIFY2(copiaArchivio(file, back, &error), qPrintable(error));
        archivio::Errore e;
        QVERIFY(archivio::apri(back, QStringLiteral("back"), &e));
        {
            QSqlQuery q(QSqlDatabase::database(QStringLiteral("back")));
            QVERIFY(eseguiSql(q, QStringLiteral(R"(SELECT sum("Entrate"), count("Data documento"),
                    count(*) FROM "Vardello")")) &&
                    q.next());
            QCOMPARE(q.value(0).toLongLong(),
                     env.scalar(QStringLiteral(R"(SELECT sum("Entrate") FROM "Vardello")"))
                         .toLongLong());
            QCOMPARE(q.value(1).toInt(), 240);
            QCOMPARE(q.value(2).toInt(), 300);
        }
        archivio::chiudi(QStringLiteral("back"));
    }

    void anExistingDestinationIsNeverOverwritten() {
        TestEnvironment env;
        env.openNewArchive();
        const QString existing = env.dir.filePath(QStringLiteral("esistente.mdb"));
        QFile f(existing);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("keep me");
        f.close();
        QString error;
        QVERIFY(!copiaArchivio(programma().PercorsoArchivio, existing, &error));
        QVERIFY(error.contains(QStringLiteral("Impossibile creare l'archivio")));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("keep me"));
    }

    // A copy that fails on its way (here a value that is not an amount, in a file of another
    // program's) leaves no destination behind: no file, no half-written folder, no database.
    void aFailedCopyLeavesNoDestination() {
        TestEnvironment env;
        const QString source = env.createArchiveFile(QStringLiteral("altro.mdb"));
        {
            archivio::Errore e;
            QVERIFY(archivio::apri(source, QStringLiteral("altro"), &e));
            QSqlQuery q(QSqlDatabase::database(QStringLiteral("altro")));
            QVERIFY(q.exec(QStringLiteral(R"(ALTER TABLE "Vardello" ADD COLUMN "Nota" TEXT)")));
            QVERIFY(q.exec(QStringLiteral(R"(INSERT INTO "Vardello" ("Numero Progressivo",
                    "Data Registrazione", "Entrate") VALUES (1, '2005-03-15', 'molti'))")));
        }
        archivio::chiudi(QStringLiteral("altro"));
        const QString destination = env.newArchiveLocation(QStringLiteral("fallita"));
        QString error;
        QVERIFY(!copiaArchivio(source, destination, &error));
        QVERIFY2(error.contains(QStringLiteral("'Entrate'")), qPrintable(error));
        QCOMPARE(
            QDir(env.dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList{QStringLiteral("altro.mdb")});
        bool exists = true;
        archivio::Errore e;
        QVERIFY(!env.onPostgres() || archivio::esisteDatabase(destination, &exists, &e));
        QVERIFY(!env.onPostgres() || !exists);
    }

    void aMissingSourceIsReported() {
        TestEnvironment env;
        QString error;
        QVERIFY(!copiaArchivio(env.dir.filePath(QStringLiteral("manca.mdb")),
                               env.dir.filePath(QStringLiteral("copia.mdb")), &error));
        QVERIFY(error.contains(QStringLiteral("Codice errore = ")));
        QVERIFY(!QFile::exists(env.dir.filePath(QStringLiteral("copia.mdb"))));
    }
};

QTEST_GUILESS_MAIN(TestCopiaArchivio)
#include "tst_copia_archivio.moc"
