#include <QSqlQuery>

#include "CassaDiProva.h"
#include "GeneraArchivio.h"

// On a generated book of a few thousand movements over every year the program manages, each
// month shows exactly its movements and the totals that SQL sums independently.
class TestArchivioGenerato : public QObject {
    Q_OBJECT
  private:
    static QString totale(Money valore) {
        return formatNumber(valore, QStringLiteral("#,##0.00")).rightJustified(14);
    }

    static std::pair<Money, Money> somme(const QString& condizione, const QDate& da,
                                         const QDate& a) {
        QSqlQuery q(DbArchivio());
        q.prepare(QStringLiteral(R"(SELECT SUM("Entrate"), SUM("Uscite") FROM "Vardello"
                                    WHERE %1)")
                      .arg(condizione));
        q.addBindValue(valoreSql(da));
        if (a.isValid()) {
            q.addBindValue(valoreSql(a));
        }
        if (!q.exec() || !q.next()) {
            qFatal("sum failed");
        }
        return {valutaDaSql(q.value(0)), valutaDaSql(q.value(1))};
    }

  private slots:
    void everyMonthShowsItsRowsAndTheTotalsOfTheArchive() {
        CassaDiProva cassa;
        OpzioniArchivio opzioni;
        opzioni.movimenti = 4000;
        opzioni.meseDenso = QDate(2005, 3, 1);
        opzioni.movimentiMeseDenso = 300;
        QString errore;
        QVERIFY2(generaArchivio(DbArchivio(), opzioni, &errore), qPrintable(errore));
        cassa.apri();

        qint64 righeViste = 0;
        for (int anno = 1996; anno <= 2028; ++anno) {
            for (int mese = 1; mese <= 12; ++mese) {
                cassa.mostraMese(anno, mese);
                const QDate inizio(anno, mese, 1);
                const QDate fine = inizio.addMonths(1);

                QSqlQuery q(DbArchivio());
                q.prepare(QStringLiteral(R"(SELECT "Numero Progressivo" FROM "Vardello"
                        WHERE "Data Registrazione" >= ? AND "Data Registrazione" < ?
                        ORDER BY "Data Registrazione", "Numero Progressivo")"));
                q.addBindValue(valoreSql(inizio));
                q.addBindValue(valoreSql(fine));
                QVERIFY(q.exec());
                int riga = 0;
                while (q.next()) {
                    QCOMPARE(cassa.trimmed(riga++, 4).remove(QLatin1Char('.')),
                             q.value(0).toString());
                }
                QCOMPARE(cassa.righe()->rowCount(), riga + 1);
                righeViste += riga;

                const auto [entrate, uscite] = somme(
                    QStringLiteral(R"("Data Registrazione" >= ? AND "Data Registrazione" < ?)"),
                    inizio, fine);
                const auto [entrateP, usciteP] =
                    somme(QStringLiteral(R"("Data Registrazione" < ?)"), inizio, QDate());
                QCOMPARE(cassa.box("txtEntrateMese"), totale(entrate));
                QCOMPARE(cassa.box("txtUsciteMese"), totale(uscite));
                QCOMPARE(cassa.box("txtSaldoFineMese"), totale(entrate - uscite));
                QCOMPARE(cassa.box("txtEntrateMeseP"), totale(entrateP));
                QCOMPARE(cassa.box("txtUsciteMeseP"), totale(usciteP));
                QCOMPARE(cassa.box("txtSaldo"), totale(entrate + entrateP - uscite - usciteP));
            }
        }
        QCOMPARE(righeViste, opzioni.movimenti);
        QCOMPARE(cassa.env.ui.messages.size(), 0);
    }
};

QTEST_MAIN(TestArchivioGenerato)
#include "tst_archivio_generato.moc"
