#include <QCoreApplication>
#include <QLineEdit>
#include <QProcess>
#include <QSqlQuery>
#include <QTableView>
#include <QTest>

#include "Programma.h"
#include "Sql.h"
#include "TestEnvironment.h"
#include "frmVardello.h"

// Several copies of the program inserting into the same archive at the same moment: no
// movement is lost or numbered twice, nobody sees an error, and the stored month totals stay
// the sums of the months' rows.
class TestConcorrenza : public QObject {
    Q_OBJECT
  private slots:
    void fourCopiesInsertingAtOnceLoseNothing() {
        TestEnvironment env;
        env.openNewArchive();
        const QString archive = programma().PercorsoArchivio;
        constexpr int kCopies = 4;
        constexpr int kEach = 500;

        QList<QProcess*> copies;
        for (int c = 1; c <= kCopies; ++c) {
            auto* p = new QProcess(this);
            p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
            p->start(QCoreApplication::applicationDirPath() + QStringLiteral("/concorrenza_worker"),
                     {archive, QString::number(c), QString::number(kEach)});
            copies.append(p);
        }
        for (QProcess* p : copies) {
            QVERIFY(p->waitForFinished(30 * 60 * 1000));
            QCOMPARE(p->exitStatus(), QProcess::NormalExit);
            QCOMPARE(p->exitCode(), 0);  // no error reached anyone
        }

        QCOMPARE(env.scalar(QStringLiteral(R"(SELECT count(*) FROM "Vardello")")).toInt(),
                 kCopies * kEach);
        QCOMPARE(env.scalar(QStringLiteral(
                                R"(SELECT count(DISTINCT "Numero Progressivo") FROM "Vardello")"))
                     .toInt(),
                 kCopies * kEach);
        QCOMPARE(env.scalar(QStringLiteral(R"(SELECT min("Numero Progressivo") FROM "Vardello")"))
                     .toInt(),
                 1);
        QCOMPARE(env.scalar(QStringLiteral(R"(SELECT max("Numero Progressivo") FROM "Vardello")"))
                     .toInt(),
                 kCopies * kEach);

        // Every month's stored totals equal the sums of its rows.
        QSqlQuery months(DbArchivio());
        QVERIFY(eseguiSql(months, QStringLiteral(R"(SELECT "Anno", "mese", "Totale Entrate",
                "Totale Uscite" FROM "Totali di Cassa")")));
        int checked = 0;
        while (months.next()) {
            const QDate first(months.value(0).toInt(), months.value(1).toInt(), 1);
            const QVariantList range = {first, first.addMonths(1)};
            const qlonglong in = env.scalar(QStringLiteral(R"(SELECT COALESCE(SUM("Entrate"), 0)
                FROM "Vardello" WHERE "Data Registrazione" >= ? AND "Data Registrazione" < ?)"),
                                            range)
                                     .toLongLong();
            const qlonglong out = env.scalar(QStringLiteral(R"(SELECT COALESCE(SUM("Uscite"), 0)
                FROM "Vardello" WHERE "Data Registrazione" >= ? AND "Data Registrazione" < ?)"),
                                             range)
                                      .toLongLong();
            QCOMPARE(months.value(2).toLongLong(), in);
            QCOMPARE(months.value(3).toLongLong(), out);
            ++checked;
        }
        QVERIFY(checked >= 3);
    }

    void aMovementStoredByAnotherCopyShowsAtTheNextMonthLoad() {
        TestEnvironment env;
        env.openNewArchive();
        programma().UtenteCorrente = QStringLiteral("Mario");
        frmVardello window;
        window.Prepara();  // March 2005, empty
        auto* income = window.findChild<QLineEdit*>(QStringLiteral("txtEntrateMese"));
        QCOMPARE(income->text().trimmed(), QStringLiteral("0,00"));

        QProcess other;
        other.start(QCoreApplication::applicationDirPath() + QStringLiteral("/concorrenza_worker"),
                    {programma().PercorsoArchivio, QStringLiteral("9"), QStringLiteral("1")});
        QVERIFY(other.waitForFinished(60 * 1000));
        QCOMPARE(other.exitCode(), 0);

        window.CaricaMese(QDate(2005, 3, 1));
        QCOMPARE(income->text().trimmed(), QStringLiteral("900,00"));
        auto* grid = window.findChild<QTableView*>(QStringLiteral("grdGesca"));
        bool shown = false;
        for (int row = 0; row < grid->model()->rowCount(); ++row) {
            shown = shown || grid->model()->index(row, 1).data().toString().startsWith(
                                 QStringLiteral("Incasso copia 9 n. 0"));
        }
        QVERIFY(shown);
    }
};

QTEST_MAIN(TestConcorrenza)
#include "tst_concorrenza.moc"
