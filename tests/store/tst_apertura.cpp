#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

#include "Archivio.h"
#include "Avvio.h"
#include "Programma.h"
#include "Schema.h"
#include "Sql.h"
#include "TestEnvironment.h"

// Opening an archive: a damaged, foreign or half-recovered file is refused before anything is
// written into it, and stays byte for byte as it was.
class TestApertura : public QObject {
    Q_OBJECT
  private:
    static QByteArray contenuto(const QString& percorso) {
        QFile f(percorso);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static void scriviFile(const QString& percorso, const QByteArray& byte) {
        QFile f(percorso);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(f.write(byte), byte.size());
    }

    // An archive of the engine under test with `movimenti` movements: several pages of table
    // and index, so that damage can hit a page in the middle of the file.
    static QString archivioConMovimenti(TestEnvironment& env, const QString& nome, int movimenti,
                                        const QString& testo = QStringLiteral("Vendita")) {
        const QString percorso = env.createArchive(nome);
        const QString connessione = QStringLiteral("riempimento");
        archivio::Errore errore;
        if (!archivio::apri(percorso, connessione, &errore)) {
            qFatal("%s", qPrintable(errore.testo));
        }
        {
            QSqlDatabase db = QSqlDatabase::database(connessione);
            db.transaction();
            QSqlQuery q(db);
            for (int i = 1; i <= movimenti; ++i) {
                eseguiSql(q, QStringLiteral(R"(INSERT INTO "Vardello" ("Numero Progressivo",
                              "Data Registrazione", "Operazione", "Entrate") VALUES (?, ?, ?, ?))"),
                          {i, QDate(2005, 1, 1).addDays(i % 365), testo + QString::number(i),
                           qlonglong(i) * 10000});
            }
            db.commit();
        }
        archivio::chiudi(connessione);
        return percorso;
    }

    // The program started on the archive named by its configuration file.
    static bool avviaSu(TestEnvironment& env, const QString& archivio) {
        QFile ini(env.dir.filePath(QStringLiteral("vardello.ini")));
        return ini.open(QIODevice::WriteOnly) && ini.write("123456789012" + archivio.toUtf8()) &&
               (ini.close(), apriArchivioAllAvvio());
    }

    // A leaf page of the b-tree whose root page is given: the root's right-most child.
    static qsizetype foglia(const QByteArray& file, int radice) {
        const qsizetype pagina = 4096;
        const auto* p = reinterpret_cast<const uchar*>(file.constData()) + (radice - 1) * pagina;
        return (qsizetype(p[8]) << 24 | p[9] << 16 | p[10] << 8 | p[11]) - 1;
    }
    static int paginaRadice(const QString& percorso, const QString& nome) {
        sqlite3* db = nullptr;
        sqlite3_open_v2(qPrintable(percorso), &db, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(db, "SELECT rootpage FROM sqlite_master WHERE name = ?", -1, &s,
                           nullptr);
        const QByteArray n = nome.toUtf8();
        sqlite3_bind_text(s, 1, n.constData(), int(n.size()), SQLITE_TRANSIENT);
        const int radice = sqlite3_step(s) == SQLITE_ROW ? sqlite3_column_int(s, 0) : 0;
        sqlite3_finalize(s);
        sqlite3_close(db);
        return radice;
    }

  private slots:
    void anUnknownDoubleQuotedNameIsAnErrorNeverAText() {
        TestEnvironment env;
        env.openNewArchive();
        QSqlQuery q(DbArchivio());
        QVERIFY(!q.exec(QStringLiteral(R"(SELECT "Nessuna colonna" FROM "Tabella utenti")")));
        QVERIFY(!q.exec(QStringLiteral(
            R"(SELECT count(*) FROM "Tabella utenti" WHERE "Password" = "Parola")")));
    }

    // A file of another program, or of an older layout, is refused naming the table and the
    // column, on both engines; nothing is written into it.
    void aForeignSchemaIsRefusedNamingTableAndColumn_data() {
        QTest::addColumn<QString>("tabella");
        QTest::addColumn<QString>("colonna");
        QTest::addColumn<QString>("dichiarata");
        QTest::addColumn<QString>("invece");
        QTest::newRow("renamed password column") << "Tabella utenti"
                                                 << "Password"
                                                 << R"("Password" TEXT)"
                                                 << R"("Parola" TEXT)";
        QTest::newRow("amounts as REAL") << "Totali di Cassa"
                                         << "Totale Entrate"
                                         << R"("Totale Entrate" BIGINT)"
                                         << R"("Totale Entrate" REAL)";
        QTest::newRow("dates as text") << "Vardello"
                                       << "Data Registrazione"
                                       << R"("Data Registrazione" DATE)"
                                       << R"("Data Registrazione" TEXT)";
        QTest::newRow("missing table") << "Conti Utilizzati"
                                       << ""
                                       << ""
                                       << "";
    }
    void aForeignSchemaIsRefusedNamingTableAndColumn() {
        QFETCH(QString, tabella);
        QFETCH(QString, colonna);
        QFETCH(QString, dichiarata);
        QFETCH(QString, invece);
        TestEnvironment env;
        const QString percorso = archivioConMovimenti(env, QStringLiteral("ESTERNO.MDB"), 10);
        archivio::Errore errore;
        QVERIFY(archivio::apri(percorso, QStringLiteral("modifica"), &errore));
        {
            QSqlQuery q(QSqlDatabase::database(QStringLiteral("modifica")));
            QVERIFY(q.exec(QStringLiteral(R"(DROP TABLE "%1")").arg(tabella)));
            for (const QString& crea : schema::istruzioniCreazione()) {
                if (!colonna.isEmpty() &&
                    crea.contains(QStringLiteral(R"(TABLE "%1")").arg(tabella))) {
                    QVERIFY2(q.exec(QString(crea).replace(dichiarata, invece)),
                             qPrintable(q.lastError().text()));
                }
            }
        }
        archivio::chiudi(QStringLiteral("modifica"));
        const QByteArray prima = contenuto(percorso);

        QVERIFY(!avviaSu(env, percorso));
        QCOMPARE(env.ui.messages.size(), 1);
        const QString testo = env.ui.messages[0].text;
        QVERIFY2(testo.contains(QStringLiteral("'%1'").arg(tabella)), qPrintable(testo));
        QVERIFY2(colonna.isEmpty() || testo.contains(QStringLiteral("'%1'").arg(colonna)),
                 qPrintable(testo));
        QVERIFY(testo.contains(QStringLiteral("Nessun file è stato creato né modificato.")));
        QCOMPARE(contenuto(percorso), prima);
    }

    // Damage that the engine would not notice until it writes: the log-in would write into it.
    void aDamagedFileIsRefusedAndLeftByteForByte_data() {
        QTest::addColumn<QString>("danno");
        QTest::newRow("cut 1,000 bytes short") << "taglio";
        // What is cut is the empty end of a page: the page check alone would pass it.
        QTest::newRow("an empty archive cut 1,000 bytes short") << "vuoto";
        QTest::newRow("a byte of a data page's header") << "dati";
        QTest::newRow("a byte of an index page's header") << "indice";
        QTest::newRow("a folder in place of the file") << "cartella";
    }
    void aDamagedFileIsRefusedAndLeftByteForByte() {
        if (TestEnvironment::onPostgres()) {
            QSKIP("a file's damage");
        }
        QFETCH(QString, danno);
        TestEnvironment env;
        QString percorso = archivioConMovimenti(env, QStringLiteral("DANNEGGIATO.MDB"),
                                                danno == QLatin1String("vuoto") ? 0 : 1500);
        QByteArray byte = contenuto(percorso);
        if (danno == QLatin1String("taglio") || danno == QLatin1String("vuoto")) {
            byte.chop(1000);
        } else if (danno == QLatin1String("dati")) {
            byte[foglia(byte, paginaRadice(percorso, QStringLiteral("Vardello"))) * 4096 + 3] ^= 1;
        } else if (danno == QLatin1String("indice")) {
            const int radice = paginaRadice(percorso, QStringLiteral("Key Data Registrazione"));
            byte[foglia(byte, radice) * 4096 + 5] ^= 1;
        } else {
            percorso = env.dir.filePath(QStringLiteral("CARTELLA.MDB"));
            QVERIFY(QDir().mkdir(percorso));
        }
        if (danno != QLatin1String("cartella")) {
            scriviFile(percorso, byte);
        }

        QVERIFY(!avviaSu(env, percorso));
        QCOMPARE(env.ui.messages.size(), 1);
        const QString testo = env.ui.messages[0].text;
        QVERIFY2(testo.contains(percorso), qPrintable(testo));
        QVERIFY(testo.contains(QStringLiteral("Nessun file è stato creato né modificato.")));
        if (danno != QLatin1String("cartella")) {
            QVERIFY2(testo.contains(QStringLiteral("Il file è danneggiato")), qPrintable(testo));
            QVERIFY(contenuto(percorso) == byte);
        }
        QCOMPARE(QDir(env.dir.path())
                     .entryList({QStringLiteral("*-journal"), QStringLiteral("*.prima-*")}),
                 QStringList());
    }

    // A journal of another copy of the file (a backup restored over a crashed folder): played
    // back, it would leave the archive unreadable. The archive and the journal are put back
    // as they were, and a copy of both is kept aside.
    void aForeignJournalIsNotPlayedIntoAGoodArchive() {
        if (TestEnvironment::onPostgres()) {
            QSKIP("a file's journal");
        }
        TestEnvironment env;
        const QString buono = archivioConMovimenti(env, QStringLiteral("BUONO.MDB"), 1500);
        const QString altro = archivioConMovimenti(env, QStringLiteral("ALTRO.MDB"), 3000,
                                                   QStringLiteral("Un'altra descrizione"));
        {
            // The other copy's journal as a crash in the middle of a large change leaves it.
            sqlite3* db = nullptr;
            QCOMPARE(sqlite3_open(qPrintable(altro), &db), SQLITE_OK);
            QCOMPARE(sqlite3_exec(db,
                                  "PRAGMA cache_size = 1; BEGIN; "
                                  "UPDATE \"Vardello\" SET \"Operazione\" = \"Operazione\" || 'x'",
                                  nullptr, nullptr, nullptr),
                     SQLITE_OK);
            QVERIFY(QFile::copy(altro + QStringLiteral("-journal"),
                                buono + QStringLiteral("-journal")));
            sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
            sqlite3_close(db);
        }
        const QByteArray archivioPrima = contenuto(buono);
        const QByteArray giornalePrima = contenuto(buono + QStringLiteral("-journal"));

        QVERIFY(!avviaSu(env, buono));
        QCOMPARE(env.ui.messages.size(), 1);
        const QString testo = env.ui.messages[0].text;
        const QString copia = buono + QStringLiteral(".prima-del-giornale");
        QVERIFY2(testo.contains(copia), qPrintable(testo));
        QVERIFY(testo.contains(QStringLiteral("rimessi come erano")));
        QVERIFY(contenuto(buono) == archivioPrima);
        QVERIFY(contenuto(buono + QStringLiteral("-journal")) == giornalePrima);
        QVERIFY(contenuto(copia) == archivioPrima);
        QVERIFY(contenuto(copia + QStringLiteral("-journal")) == giornalePrima);

        // Without the foreign journal the archive opens as it was.
        QVERIFY(QFile::remove(buono + QStringLiteral("-journal")));
        env.ui.messages.clear();
        QVERIFY(avviaSu(env, buono));
        QCOMPARE(env.scalar(QStringLiteral(R"(SELECT count(*) FROM "Vardello")")).toInt(), 1500);

        // The live journal of another computer in the middle of a write is its own business:
        // the archive opens without a copy aside and without touching it (a folder where the
        // copy would go makes any attempt at one fail).
        QVERIFY(QFile::remove(copia) && QFile::remove(copia + QStringLiteral("-journal")));
        QVERIFY(QDir().mkdir(copia));
        int pronto[2];
        int fine[2];
        QVERIFY(::pipe(pronto) == 0 && ::pipe(fine) == 0);
        const pid_t scrittore = ::fork();
        if (scrittore == 0) {
            sqlite3* db = nullptr;
            char c = 0;
            const bool scrive =
                sqlite3_open(qPrintable(buono), &db) == SQLITE_OK &&
                sqlite3_exec(db,
                             "BEGIN; "
                             "UPDATE \"Vardello\" SET \"Operazione\" = \"Operazione\" || 'x'",
                             nullptr, nullptr, nullptr) == SQLITE_OK;
            c = scrive ? 1 : 0;
            (void)!::write(pronto[1], &c, 1);
            (void)!::read(fine[0], &c, 1);
            sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
            sqlite3_close(db);
            ::_exit(0);
        }
        char scrive = 0;
        QVERIFY(::read(pronto[0], &scrive, 1) == 1 && scrive == 1);
        QVERIFY(QFile::exists(buono + QStringLiteral("-journal")));
        archivio::Errore errore;
        const bool aperto = archivio::apri(buono, QStringLiteral("durante"), &errore);
        (void)!::write(fine[1], &scrive, 1);
        ::waitpid(scrittore, nullptr, 0);
        QVERIFY2(aperto, qPrintable(errore.testo));
        QVERIFY(QFileInfo(copia).isDir() && !QFile::exists(copia + QStringLiteral("-journal")));
        archivio::chiudi(QStringLiteral("durante"));
    }
};

QTEST_GUILESS_MAIN(TestApertura)
#include "tst_apertura.moc"
