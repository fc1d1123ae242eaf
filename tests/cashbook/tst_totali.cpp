#include "Archivio.h"
#include "CassaDiProva.h"

// The three rows of totals: the month shown, the months before it from the stored month
// totals, and the general balance.
class TestTotali : public QObject {
    Q_OBJECT
  private slots:
    void earlierTotalsAreTheStoredMonthsBeforeTheOneShown() {
        CassaDiProva cassa;
        cassa.totaliRegistrati(2004, 12, "100", "10");
        cassa.totaliRegistrati(2005, 2, "200", "20");
        cassa.totaliRegistrati(2005, 3, "999", "999");  // out of date: recomputed on loading
        cassa.totaliRegistrati(2005, 4, "5000", "5000");
        cassa.movimento(1, QDate(2005, 3, 10), cassa.euro("50"), cassa.euro("30"));
        cassa.movimento(2, QDate(2005, 3, 11), QVariant(), cassa.euro("0,5"));
        cassa.apri();
        QCOMPARE(cassa.box("txtEntrateMese"), QStringLiteral("         50,00"));
        QCOMPARE(cassa.box("txtUsciteMese"), QStringLiteral("         30,50"));
        QCOMPARE(cassa.box("txtSaldoFineMese"), QStringLiteral("         19,50"));
        QCOMPARE(cassa.box("txtEntrateMeseP"), QStringLiteral("        300,00"));
        QCOMPARE(cassa.box("txtUsciteMeseP"), QStringLiteral("         30,00"));
        QCOMPARE(cassa.box("txtEntrateGenerali"), QStringLiteral("        350,00"));
        QCOMPARE(cassa.box("txtUsciteGenerali"), QStringLiteral("         60,50"));
        QCOMPARE(cassa.box("txtSaldo"), QStringLiteral("        289,50"));
        QCOMPARE(cassa.totaliDelMese(2005, 3), QStringLiteral("50,00/30,50"));
        QCOMPARE(cassa.totaliDelMese(2005, 4), QStringLiteral("5000,00/5000,00"));
    }

    void januaryCountsEveryEarlierYear() {
        CassaDiProva cassa;
        cassa.totaliRegistrati(2003, 12, "1", "0");
        cassa.totaliRegistrati(2004, 6, "10", "0");
        cassa.totaliRegistrati(2004, 12, "100", "0");
        cassa.totaliRegistrati(2005, 1, "1000", "0");
        cassa.movimento(1, QDate(2005, 1, 3), cassa.euro("1000"), QVariant());
        cassa.apri();
        cassa.mostraMese(2005, 1);
        QCOMPARE(cassa.box("txtEntrateMeseP"), QStringLiteral("        111,00"));
        QCOMPARE(cassa.box("txtEntrateGenerali"), QStringLiteral("      1.111,00"));
    }

    void aMonthOfPaymentsOnlyHasANegativeBalance() {
        CassaDiProva cassa;
        cassa.movimento(1, QDate(2005, 3, 3), QVariant(), cassa.euro("1.234,5"));
        cassa.movimento(2, QDate(2005, 3, 4), cassa.euro("0"), cassa.euro("1.000.000"));
        cassa.apri();
        QCOMPARE(cassa.box("txtEntrateMese"), QStringLiteral("          0,00"));
        QCOMPARE(cassa.box("txtSaldoFineMese"), QStringLiteral(" -1.001.234,50"));
        QCOMPARE(cassa.box("txtSaldo"), QStringLiteral(" -1.001.234,50"));
    }

    void eachLoadStoresTheMonthOnceAndOnlyWhenTheBookHasMovements() {
        CassaDiProva cassa;
        frmVardello& finestra = cassa.apri();
        // A completely empty book stores nothing.
        QCOMPARE(cassa.totaliDelMese(2005, 3), QStringLiteral("-"));

        cassa.movimento(1, QDate(2005, 1, 20), cassa.euro("70"), cassa.euro("20"));
        finestra.CaricaMese(QDate(2005, 1, 1));
        finestra.CaricaMese(QDate(2005, 1, 1));
        finestra.CaricaMese(QDate(2005, 3, 1));
        QCOMPARE(
            cassa.env.scalar(QStringLiteral(R"(SELECT count(*) FROM "Totali di Cassa")")).toInt(),
            2);
        QCOMPARE(cassa.totaliDelMese(2005, 1), QStringLiteral("70,00/20,00"));
        QCOMPARE(cassa.totaliDelMese(2005, 3), QStringLiteral("0,00/0,00"));
        QCOMPARE(cassa.box("txtSaldo"), QStringLiteral("         50,00"));
    }

    void anEmptiedBookShowsNoEarlierTotals() {
        CassaDiProva cassa;
        cassa.movimento(1, QDate(2005, 2, 20), cassa.euro("70"), cassa.euro("20"));
        cassa.totaliRegistrati(2005, 2, "70", "20");
        cassa.apri();
        QCOMPARE(cassa.box("txtEntrateMeseP"), QStringLiteral("         70,00"));
        // The book is emptied; the month totals stored before stay, and count no more.
        cassa.env.exec(QStringLiteral(R"(DELETE FROM "Vardello")"));
        cassa.mostraMese(2005, 4);
        QCOMPARE(cassa.box("txtEntrateMeseP"), QStringLiteral("          0,00"));
        QCOMPARE(cassa.box("txtUsciteGenerali"), QStringLiteral("          0,00"));
        QCOMPARE(cassa.box("txtSaldo"), QStringLiteral("          0,00"));
        QCOMPARE(cassa.totaliDelMese(2005, 2), QStringLiteral("70,00/20,00"));
    }

    // The month's row cannot be stored: the archive can only be read, or another connection
    // holds the write lock longer than the wait (shortened here). The boxes still show the
    // archive's figures, also the earlier totals of a later month, and the row is stored at
    // the first load after the fault.
    void totalsShownAreTheArchivesWhenTheMonthRowCannotBeStored_data() {
        QTest::addColumn<bool>("solaLettura");
        QTest::newRow("archive read-only") << true;
        QTest::newRow("lock held by another connection") << false;
    }
    void totalsShownAreTheArchivesWhenTheMonthRowCannotBeStored() {
        QFETCH(bool, solaLettura);
        const bool pg = TestEnvironment::onPostgres();
        CassaDiProva cassa;
        cassa.movimento(1, QDate(2005, 1, 10), cassa.euro("100"), QVariant());
        cassa.movimento(2, QDate(2005, 2, 10), cassa.euro("200"), QVariant());
        cassa.apri();
        cassa.mostraMese(2005, 1);
        QCOMPARE(cassa.box("txtEntrateGenerali"), QStringLiteral("        100,00"));

        const QString archivio = programma().PercorsoArchivio;
        const QString altro = QStringLiteral("altro");
        if (solaLettura && pg) {
            cassa.env.exec(QStringLiteral("SET SESSION CHARACTERISTICS AS TRANSACTION READ ONLY"));
        } else if (solaLettura) {
            archivio::chiudi(kConnessioneArchivio);
            QSqlDatabase db =
                QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kConnessioneArchivio);
            db.setDatabaseName(archivio);
            db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
            QVERIFY(db.open());
        } else {
            archivio::Errore errore;
            QVERIFY(archivio::apri(archivio, altro, &errore));
            QSqlQuery q(QSqlDatabase::database(altro));
            QVERIFY(q.exec(pg ? QStringLiteral("BEGIN") : QStringLiteral("BEGIN IMMEDIATE")));
            QVERIFY(!pg || q.exec(QStringLiteral(R"(LOCK TABLE "Vardello" IN EXCLUSIVE MODE)")));
            cassa.env.exec(pg ? QStringLiteral("SET lock_timeout = 100")
                              : QStringLiteral("PRAGMA busy_timeout = 100"));
        }
        cassa.env.ui.clear();
        cassa.mostraMese(2005, 2);
        QCOMPARE(cassa.box("txtEntrateMese"), QStringLiteral("        200,00"));
        QCOMPARE(cassa.box("txtEntrateMeseP"), QStringLiteral("        100,00"));
        QCOMPARE(cassa.box("txtEntrateGenerali"), QStringLiteral("        300,00"));
        cassa.mostraMese(2005, 3);
        QCOMPARE(cassa.box("txtEntrateMeseP"), QStringLiteral("        300,00"));
        QCOMPARE(cassa.box("txtSaldo"), QStringLiteral("        300,00"));
        QCOMPARE(cassa.totaliDelMese(2005, 2), QStringLiteral("-"));
        QCOMPARE(cassa.env.ui.messages.size(), 0);

        // The fault ends: the next load stores the month that could not be stored.
        if (solaLettura && pg) {
            cassa.env.exec(QStringLiteral("SET SESSION CHARACTERISTICS AS TRANSACTION READ WRITE"));
        } else if (solaLettura) {
            archivio::chiudi(kConnessioneArchivio);
            QVERIFY(archivio::apri(archivio, kConnessioneArchivio, nullptr));
        } else {
            archivio::chiudi(altro);
        }
        cassa.mostraMese(2005, 4);
        QCOMPARE(cassa.totaliDelMese(2005, 2), QStringLiteral("200,00/0,00"));
        QCOMPARE(cassa.box("txtEntrateMeseP"), QStringLiteral("        300,00"));
    }

    void aFailureOfTheStoredTotalsIsTold() {
        CassaDiProva cassa;
        frmVardello& finestra = cassa.apri();
        cassa.env.exec(QStringLiteral(R"(ALTER TABLE "Totali di Cassa" RENAME TO "Altro")"));
        cassa.env.ui.clear();
        finestra.OpenTotaliPrecedenti(2005, 2);
        QCOMPARE(cassa.env.ui.beeps, 1);
        QCOMPARE(cassa.env.ui.messages.size(), 1);
        QVERIFY(cassa.env.ui.messages[0].text.startsWith(QStringLiteral(
            "Errore nell'accesso alla tabella 'Totali di Cassa'\n\nCodice errore = ")));
        QCOMPARE(cassa.env.ui.messages[0].title, QStringLiteral("VARDELLO"));
        QCOMPARE(cassa.env.ui.messages[0].icon, Interaction::Icon::Exclamation);
    }
};

QTEST_MAIN(TestTotali)
#include "tst_totali.moc"
