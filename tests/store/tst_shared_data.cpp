#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

#include "AltroComputer.h"
#include "Archivio.h"
#include "DatiCondivisi.h"
#include "Programma.h"
#include "TestEnvironment.h"

// The routines every window uses to read fields, keep named values and sum the balance.
class TestSharedData : public QObject {
    Q_OBJECT
private:
    static void addMovement(TestEnvironment& env, qint64 number, QDate date, QVariant in,
                            QVariant out) {
        env.exec(QStringLiteral(R"(INSERT INTO "Vardello" ("Numero Progressivo",
                 "Data Registrazione", "Entrate", "Uscite") VALUES (?, ?, ?, ?))"),
                 {number, date, in, out});
    }

private slots:
    void fieldsAreReadByTheirType() {
        TestEnvironment env;
        env.openNewArchive();
        env.exec(QStringLiteral(R"(INSERT INTO "Vardello" ("Numero Progressivo", "Operazione",
                 "Entrate", "Uscite", "Data Registrazione") VALUES (4321, 'Vendita  ', 0, NULL, NULL))"));
        env.exec(QStringLiteral(R"(INSERT INTO "Totali di Cassa" VALUES (2005, 3, 12345000, 0))"));
        QSqlQuery q(DbArchivio());
        QVERIFY(q.exec(QStringLiteral(R"(SELECT * FROM "Vardello")")) && q.next());
        const QSqlRecord r = q.record();
        QCOMPARE(LeggiCampo(r, QStringLiteral("Numero Progressivo"), {}), QStringLiteral("4.321"));
        QCOMPARE(LeggiCampo(r, QStringLiteral("Entrate"), {}), QStringLiteral("0,00"));
        QCOMPARE(LeggiCampo(r, QStringLiteral("Uscite"), {}), QString());
        QCOMPARE(LeggiCampo(r, QStringLiteral("Data Registrazione"), QStringLiteral("__/__/____")),
                 QStringLiteral("__/__/____"));
        QCOMPARE(LeggiCampo(r, QStringLiteral("Operazione"), {}), QStringLiteral("Vendita  "));
        QCOMPARE(ValoreCampo(r, QStringLiteral("Uscite"), 0).toInt(), 0);
        QCOMPARE(ValoreCampo(r, QStringLiteral("Entrate"), 0).value<Money>(), Money());
        QVERIFY(q.exec(QStringLiteral(R"(SELECT * FROM "Totali di Cassa")")) && q.next());
        QCOMPARE(LeggiCampo(q.record(), QStringLiteral("Totale Entrate"), {}),
                 QStringLiteral("1.234,50"));
        QCOMPARE(LeggiCampo(q.record(), QStringLiteral("Anno"), {}), QStringLiteral("2.005"));
    }

    void namedValuesAreKeptOncePerName() {
        TestEnvironment env;
        QSqlDatabase db = env.openNewArchive();
        QCOMPARE(LeggiRiferimento(db, QStringLiteral("Titolo stampa"), QStringLiteral("x")),
                 QStringLiteral("x"));
        QCOMPARE(LeggiRiferimento(db, QStringLiteral("Titolo stampa")), QString());
        QVERIFY(ScriviRiferimento(db, QStringLiteral("Titolo stampa"), QStringLiteral("Primo")));
        QVERIFY(ScriviRiferimento(db, QStringLiteral("Titolo stampa"), QStringLiteral("Secondo")));
        QCOMPARE(env.scalar(QStringLiteral(R"(SELECT count(*) FROM "Riferimenti standard")")).toInt(), 1);
        QCOMPARE(LeggiRiferimento(db, QStringLiteral(" Titolo stampa "), QStringLiteral("x")),
                 QStringLiteral("Secondo"));
        QVERIFY(ScriviRiferimento(db, QStringLiteral("Stampa con indicazione saldo progressivo"), 1));
        QCOMPARE(LeggiRiferimento(db, QStringLiteral("Stampa con indicazione saldo progressivo"), 0),
                 QStringLiteral("1"));
        QCOMPARE(env.ui.messages.size(), 0);
    }

    void aFailedNamedValueWriteIsToldAndReported() {
        TestEnvironment env;
        QSqlDatabase db = env.openNewArchive();
        env.exec(QStringLiteral(R"(DROP TABLE "Riferimenti standard")"));
        QVERIFY(!ScriviRiferimento(db, QStringLiteral("Titolo stampa"), QStringLiteral("x")));
        QCOMPARE(env.ui.beeps, 1);
        QCOMPARE(env.ui.messages.size(), 1);
        const QString expected = TestEnvironment::onPostgres() ? QStringLiteral("42P01") : QStringLiteral("1");
        QVERIFY(env.ui.messages[0].text.startsWith(QStringLiteral("Errore non gestito. Codice: %1\n").arg(expected)));
        QCOMPARE(env.ui.messages[0].title, QStringLiteral("Errore"));
        QVERIFY_THROWS_EXCEPTION(ErroreArchivio, LeggiRiferimento(db, QStringLiteral("x")));
    }

    void balanceBeforeADateLeavesTheDayItselfOut() {
        TestEnvironment env;
        QSqlDatabase db = env.openNewArchive();
        QCOMPARE(SaldoAllaData(db, QDate(2005, 1, 1)), Money());
        addMovement(env, 1, QDate(2004, 12, 31), 1000000, QVariant());
        addMovement(env, 2, QDate(2004, 6, 1), QVariant(), 250000);
        addMovement(env, 3, QDate(2005, 1, 1), 99990000, 0);
        addMovement(env, 4, QDate(2003, 1, 1), QVariant(), QVariant());
        QCOMPARE(SaldoAllaData(db, QDate(2005, 1, 1)).units(), 750000);
        QCOMPARE(SaldoAllaData(db, QDate(2005, 1, 2)).units(), 100740000);
    }

    void aStoredChangeIsSeenByAnotherConnectionAtOnce() {
        TestEnvironment env;
        QSqlDatabase db = env.openNewArchive();
        archivio::Errore errore;
        QVERIFY(archivio::apri(programma().PercorsoArchivio, QStringLiteral("other"), &errore));
        {
            QSqlDatabase other = QSqlDatabase::database(QStringLiteral("other"));
            QVERIFY(ScriviRiferimento(db, QStringLiteral("Accesso PC2"), QStringLiteral("Mario")));
            QCOMPARE(LeggiRiferimento(other, QStringLiteral("Accesso PC2")), QStringLiteral("Mario"));
            // The other copy writes too: nothing of ours holds a lock that would stop it.
            QVERIFY(ScriviRiferimento(other, QStringLiteral("Accesso PC2"), QStringLiteral("Anna")));
            QCOMPARE(LeggiRiferimento(db, QStringLiteral("Accesso PC2")), QStringLiteral("Anna"));
        }
        archivio::chiudi(QStringLiteral("other"));

        // Two computers storing the same new name at once (the first confirmation of the
        // parameters): the second one's value is stored over the first, with no error.
        AltroComputer altro(programma().PercorsoArchivio,
                            QStringLiteral(R"(INSERT INTO "Riferimenti standard" VALUES (?, ?))"),
                            {QStringLiteral("Titolo stampa"), QStringLiteral("Altro computer")});
        QVERIFY(ScriviRiferimento(db, QStringLiteral("Titolo stampa"), QStringLiteral("Questo")));
        QVERIFY(altro.concluso());
        QVERIFY(env.ui.messages.isEmpty());
        QCOMPARE(LeggiRiferimento(db, QStringLiteral("Titolo stampa")), QStringLiteral("Questo"));
        QCOMPARE(env.scalar(QStringLiteral(R"(SELECT count(*) FROM "Riferimenti standard"
                                              WHERE "Nome riferimento" = 'Titolo stampa')"))
                     .toInt(),
                 1);
    }

    void fileExistsOnlyWhenReadable() {
        TestEnvironment env;
        QVERIFY(!FileEsiste(env.dir.filePath(QStringLiteral("none.ini"))));
        QVERIFY(!FileEsiste(env.dir.path()));
        QVERIFY(FileEsiste(env.createArchiveFile(QStringLiteral("a.mdb"))));
    }
};

QTEST_GUILESS_MAIN(TestSharedData)
#include "tst_shared_data.moc"
