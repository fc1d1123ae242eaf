#include <QCoreApplication>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTest>

#include "Archivio.h"
#include "Programma.h"
#include "Sql.h"
#include "TestEnvironment.h"

// A copy of the program killed (SIGKILL, as by a power cut or the task manager) while it
// records movements into an archive file: every time, the archive opens, passes the engine's
// integrity check, holds only whole movements with their month totals, and the numbering
// goes on from the highest number stored.
class TestArrestoImprovviso : public QObject {
    Q_OBJECT
  private:
    static QString worker() {
        return QCoreApplication::applicationDirPath() + QStringLiteral("/concorrenza_worker");
    }

    static qlonglong numeroPiuAlto(TestEnvironment& env) {
        return env
            .scalar(
                QStringLiteral(R"(SELECT COALESCE(max("Numero Progressivo"), 0) FROM "Vardello")"))
            .toLongLong();
    }

    // Opens the archive as a program starting after the crash would, and checks it.
    static void verificaArchivio(const QString& archivio, qlonglong numeroPiuAlto) {
        const QString connessione = QStringLiteral("dopo-arresto");
        archivio::Errore errore;
        QVERIFY2(archivio::apri(archivio, connessione, &errore), qPrintable(errore.testo));
        {
            QSqlQuery q(QSqlDatabase::database(connessione));
            QVERIFY(eseguiSql(q, QStringLiteral("PRAGMA integrity_check")) && q.next());
            QCOMPARE(q.value(0).toString(), QStringLiteral("ok"));
            // Numbers 1..n, none twice, every movement whole.
            QVERIFY(eseguiSql(q, QStringLiteral(R"(SELECT count(*),
                    count(DISTINCT "Numero Progressivo"), min("Numero Progressivo"),
                    count("Data Registrazione"), count("Entrate"), count("Utente"),
                    count("DataIns"), count("OraIns"),
                    sum(CASE WHEN "Operazione" LIKE 'Incasso copia % n. %' THEN 1 ELSE 0 END)
                    FROM "Vardello")")) &&
                    q.next());
            for (int colonna = 0; colonna < 9; ++colonna) {
                if (colonna != 2) {
                    QCOMPARE(q.value(colonna).toLongLong(), numeroPiuAlto);
                }
            }
            QCOMPARE(q.value(2).toLongLong(), 1);
            // The month totals were stored with the movements, in the same transaction.
            QVERIFY(eseguiSql(q, QStringLiteral(R"(SELECT t."Totale Entrate",
                    (SELECT sum("Entrate") FROM "Vardello"), t."Totale Uscite",
                    (SELECT COALESCE(sum("Uscite"), 0) FROM "Vardello")
                    FROM "Totali di Cassa" t WHERE t."Anno" = 2005 AND t."mese" = 3)")) &&
                    q.next());
            QCOMPARE(q.value(0).toLongLong(), q.value(1).toLongLong());
            QCOMPARE(q.value(2).toLongLong(), q.value(3).toLongLong());
        }
        archivio::chiudi(connessione);
    }

  private slots:
    void aCopyKilledWhileWritingLeavesAWholeArchive() {
        TestEnvironment env;
        env.openNewArchive();
        const QString archivio = programma().PercorsoArchivio;
        QRandomGenerator caso(20050315);

        for (int giro = 1; giro <= 50; ++giro) {
            const qlonglong prima = numeroPiuAlto(env);
            QProcess copia;
            copia.start(worker(), {archivio, QString::number(giro), QStringLiteral("1000000")});
            QVERIFY(copia.waitForStarted());
            // Killed once it is recording, at a moment of its work chosen at random.
            QTRY_VERIFY_WITH_TIMEOUT(numeroPiuAlto(env) > prima, 120'000);
            QTest::qWait(static_cast<int>(caso.bounded(60)));
            copia.kill();
            QVERIFY(copia.waitForFinished());
            QCOMPARE(copia.exitStatus(), QProcess::CrashExit);

            const qlonglong dopo = numeroPiuAlto(env);
            QVERIFY(dopo > prima);
            verificaArchivio(archivio, dopo);
        }

        // A copy started afterwards numbers its movement after the highest one stored.
        const qlonglong ultimo = numeroPiuAlto(env);
        QProcess copia;
        copia.start(worker(), {archivio, QStringLiteral("99"), QStringLiteral("1")});
        QVERIFY(copia.waitForFinished(120'000));
        QCOMPARE(copia.exitCode(), 0);
        QCOMPARE(numeroPiuAlto(env), ultimo + 1);
        verificaArchivio(archivio, ultimo + 1);
    }
};

QTEST_GUILESS_MAIN(TestArrestoImprovviso)
#include "tst_arresto_improvviso.moc"
