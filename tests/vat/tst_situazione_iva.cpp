#include <QLabel>
#include <QLineEdit>
#include <QRandomGenerator>
#include <cmath>

#include "ArchivioIva.h"
#include "NumberPattern.h"
#include "Programma.h"
#include "SituazioneIva.h"
#include "frmSituazioneIva.h"

// The VAT situation of a year: what each month's boxes show, and the balances.
class TestSituazioneIva : public QObject {
    Q_OBJECT
  private:
    static QLineEdit* casella(QWidget* w, const char* nome, int mese) {
        return w->findChild<QLineEdit*>(QStringLiteral("%1_%2").arg(QLatin1String(nome)).arg(mese));
    }
    static QString credito(QWidget* w, int mese) {
        return casella(w, "txtCreditoIva", mese)->text();
    }
    static QString debito(QWidget* w, int mese) { return casella(w, "txtDebitoIva", mese)->text(); }
    static QString saldo(QWidget* w, int mese) { return casella(w, "txtSaldoIva", mese)->text(); }
    static QString finale(QWidget* w) {
        return w->findChild<QLineEdit*>(QStringLiteral("txtSaldoFinale"))->text();
    }
    // How an amount stands in its box: right-aligned in 14 characters.
    static QString box(const char* testo) { return QString::fromLatin1(testo).rightJustified(14); }

    // Worked out here, apart from the program: the VAT contained in a gross amount in cents,
    // through ten-thousandths, rounded half away from zero to the cent.
    static qint64 centesimiIva(qint64 centesimiLordi, double aliquota) {
        const qint64 lordo = centesimiLordi * 100;
        const qint64 netto = std::llround(static_cast<double>(lordo) / (1.0 + aliquota / 100.0));
        const qint64 iva = lordo - netto;
        const qint64 resto = iva % 100;
        return (iva - resto) / 100 + (resto >= 50 ? 1 : resto <= -50 ? -1 : 0);
    }
    static QString testoCentesimi(qint64 centesimi) {
        return formatNumber(Money::fromUnits(centesimi * 100), QStringLiteral("###,###,##0.00"))
            .rightJustified(14);
    }

  private slots:
    void saleAndPurchaseOfAMonthBalance() {
        TestEnvironment env;
        QSqlDatabase db = env.openNewArchive();
        aggiungiCodice(db, QStringLiteral("022"), QStringLiteral("IVA 22%"), importo("22"));
        aggiungiMovimento(db, 1, QDate(2005, 3, 2), QDate(2005, 3, 2), QStringLiteral("022"),
                          importo("122,00"));
        aggiungiMovimento(db, 2, QDate(2005, 3, 9), QDate(2005, 3, 9), QStringLiteral("022"),
                          importo("-122,00"));
        aggiungiMovimento(db, 3, QDate(2005, 5, 9), QDate(2005, 5, 9), QStringLiteral("022"),
                          importo("61,00"));
        frmSituazioneIva situazione(2005, nullptr);

        QCOMPARE(situazione.windowTitle(), QStringLiteral("Situazione I.V.A."));
        QCOMPARE(debito(&situazione, 2), box("22,00"));
        QCOMPARE(credito(&situazione, 2), box("22,00"));
        QCOMPARE(saldo(&situazione, 2), box("0,00"));
        QCOMPARE(debito(&situazione, 4), box("11,00"));
        QCOMPARE(credito(&situazione, 4), QString());
        QCOMPARE(saldo(&situazione, 4), box("-11,00"));
        QCOMPARE(debito(&situazione, 0), QString());
        QCOMPARE(saldo(&situazione, 0), box("0,00"));
        QCOMPARE(finale(&situazione), box("-11,00"));
        QCOMPARE(casella(&situazione, "txtC", 7)->text(), QStringLiteral("A"));
        QCOMPARE(casella(&situazione, "txtD", 7)->text(), QStringLiteral("D"));
        QCOMPARE(casella(&situazione, "txtS", 7)->text(), QStringLiteral("S"));
        QCOMPARE(situazione.findChild<QLabel*>(QStringLiteral("lblMese_8"))->text(),
                 QStringLiteral("Settembre"));
        QVERIFY(!casella(&situazione, "txtSaldoIva", 2)->isEnabled());
        QCOMPARE(env.ui.messages.size(), 0);
    }

    void theYearIsTakenByDocumentDate() {
        TestEnvironment env;
        QSqlDatabase db = env.openNewArchive();
        aggiungiCodice(db, QStringLiteral("010"), QStringLiteral("IVA 10%"), importo("10"));
        const QString codice = QStringLiteral("010");
        aggiungiMovimento(db, 1, QDate(2005, 12, 31), QDate(2005, 12, 31), codice, importo("11"));
        aggiungiMovimento(db, 2, QDate(2006, 1, 1), QDate(2006, 1, 1), codice, importo("110"));
        aggiungiMovimento(db, 3, QDate(2004, 12, 31), QDate(2004, 12, 31), codice, importo("220"));
        // Registered in other months or years, counted where the document date puts them.
        aggiungiMovimento(db, 4, QDate(2006, 2, 3), QDate(2005, 1, 1), codice, importo("-33"));
        aggiungiMovimento(db, 5, QDate(2005, 6, 3), QDate(2004, 6, 3), codice, importo("44"));
        aggiungiMovimento(db, 6, QDate(2005, 7, 3), QDate(), codice, importo("55"));
        frmSituazioneIva situazione(2005, nullptr);

        QCOMPARE(debito(&situazione, 11), box("1,00"));
        QCOMPARE(credito(&situazione, 0), box("3,00"));
        QCOMPARE(saldo(&situazione, 0), box("3,00"));
        for (int mese = 1; mese < 11; ++mese) {
            QCOMPARE(debito(&situazione, mese), QString());
            QCOMPARE(credito(&situazione, mese), QString());
        }
        QCOMPARE(finale(&situazione), box("2,00"));
    }

    void quarterlySettlementShowsQuarterBalances() {
        TestEnvironment env;
        QSqlDatabase db = env.openNewArchive();
        aggiungiCodice(db, QStringLiteral("020"), QStringLiteral("IVA 20%"), importo("20"));
        const QString codice = QStringLiteral("020");
        const int mesi[] = {1, 2, 3, 5, 8, 12};
        const char* importi[] = {"120", "-60", "240", "-1200", "12", "36"};
        for (int i = 0; i < 6; ++i) {
            const QDate data(2005, mesi[i], 10);
            aggiungiMovimento(db, i + 1, data, data, codice, importo(importi[i]));
        }
        frmSituazioneIva mensile(2005, nullptr);
        programma().IvaTrimestrale = true;
        frmSituazioneIva trimestrale(2005, nullptr);
        mostraAttiva(&trimestrale);

        // January -20 + February +10 + March -40.
        QCOMPARE(saldo(&trimestrale, 2), box("-50,00"));
        QCOMPARE(saldo(&trimestrale, 5), box("200,00"));
        QCOMPARE(saldo(&trimestrale, 8), box("-2,00"));
        QCOMPARE(saldo(&trimestrale, 11), box("-6,00"));
        QCOMPARE(finale(&trimestrale), box("142,00"));
        QCOMPARE(finale(&trimestrale), finale(&mensile));
        QCOMPARE(saldo(&mensile, 2), box("-40,00"));
        for (int mese = 0; mese < 12; ++mese) {
            const bool fineTrimestre = mese % 3 == 2;
            QCOMPARE(casella(&trimestrale, "txtSaldoIva", mese)->isVisible(), fineTrimestre);
            QCOMPARE(casella(&trimestrale, "txtS", mese)->isVisible(), fineTrimestre);
            QCOMPARE(
                trimestrale.findChild<QLabel*>(QStringLiteral("lblMese_%1").arg(mese))->isEnabled(),
                fineTrimestre);
            QVERIFY(casella(&trimestrale, "txtCreditoIva", mese)->isVisible());
            QVERIFY(casella(&trimestrale, "txtDebitoIva", mese)->isVisible());
        }
        QCOMPARE(debito(&trimestrale, 0), box("20,00"));
        QCOMPARE(credito(&trimestrale, 1), box("10,00"));
    }

    void emptyAndUnknownCodesCarryNoVat() {
        TestEnvironment env;
        QSqlDatabase db = env.openNewArchive();
        aggiungiCodice(db, QStringLiteral("022"), QStringLiteral("IVA 22%"), importo("22"));
        aggiungiCodice(db, QStringLiteral("030"), QStringLiteral("Senza aliquota"));
        env.exec(QStringLiteral(R"(UPDATE "Codici Iva" SET "Aliquota" = NULL
                                   WHERE "Codice Iva" = '030')"));
        aggiungiMovimento(db, 1, QDate(2005, 4, 1), QDate(2005, 4, 1), QString(), importo("100"));
        aggiungiMovimento(db, 2, QDate(2005, 5, 1), QDate(2005, 5, 1), QStringLiteral("999"),
                          importo("-100"));
        aggiungiMovimento(db, 3, QDate(2005, 6, 1), QDate(2005, 6, 1), QVariant(), importo("100"));
        aggiungiMovimento(db, 4, QDate(2005, 7, 1), QDate(2005, 7, 1), QStringLiteral(" 022 "),
                          importo("244"));
        aggiungiMovimento(db, 5, QDate(2005, 8, 1), QDate(2005, 8, 1), QStringLiteral("030"),
                          importo("50"));
        frmSituazioneIva situazione(2005, nullptr);

        for (int mese : {3, 4, 5, 7}) {
            QCOMPARE(debito(&situazione, mese), box("0,00"));
            QCOMPARE(credito(&situazione, mese), QString());
        }
        QCOMPARE(debito(&situazione, 6), box("44,00"));  // the code is trimmed before use
        QCOMPARE(finale(&situazione), box("-44,00"));

        // A rate of -100 % or less, written by another program, carries no VAT instead of
        // dividing by zero.
        QCOMPARE(ImpostaContenuta(importo("122"), importo("-100")), Money());
        QCOMPARE(ImpostaContenuta(importo("122"), importo("-150")), Money());
    }

    void largeAmountsKeepTheirSeparatorsAndAreNeverCut() {
        TestEnvironment env;
        QSqlDatabase db = env.openNewArchive();
        aggiungiCodice(db, QStringLiteral("022"), QStringLiteral("IVA 22%"), importo("22"));
        const QString codice = QStringLiteral("022");
        aggiungiMovimento(db, 1, QDate(2005, 1, 5), QDate(2005, 1, 5), codice,
                          importo("1.220.000,00"));
        aggiungiMovimento(db, 2, QDate(2005, 2, 5), QDate(2005, 2, 5), codice,
                          importo("6.100.000.000,00"));
        aggiungiMovimento(db, 3, QDate(2005, 2, 6), QDate(2005, 2, 6), codice,
                          importo("6.100.000.000,00"));
        frmSituazioneIva situazione(2005, nullptr);

        QCOMPARE(debito(&situazione, 0), box("220.000,00"));
        QCOMPARE(saldo(&situazione, 0), box("-220.000,00"));
        // Two thousand two hundred million: longer than the box's 14 characters, shown whole.
        QCOMPARE(debito(&situazione, 1), QStringLiteral("2.200.000.000,00"));
        QCOMPARE(saldo(&situazione, 1), QStringLiteral("-2.200.000.000,00"));
        QCOMPARE(finale(&situazione), QStringLiteral("-2.200.220.000,00"));
    }

    void anEmptyBookOrAnEmptyYearShowsNoVat() {
        TestEnvironment env;
        QSqlDatabase db = env.openNewArchive();
        {
            frmSituazioneIva situazione(2005, nullptr);
            for (int mese = 0; mese < 12; ++mese) {
                QCOMPARE(saldo(&situazione, mese), QString());
                QCOMPARE(debito(&situazione, mese), QString());
            }
            QCOMPARE(finale(&situazione), QString());
        }
        aggiungiMovimento(db, 1, QDate(2004, 3, 1), QDate(2004, 3, 1), QString(), importo("10"));
        frmSituazioneIva situazione(2005, nullptr);
        for (int mese = 0; mese < 12; ++mese) {
            QCOMPARE(saldo(&situazione, mese), box("0,00"));
            QCOMPARE(debito(&situazione, mese), QString());
            QCOMPARE(credito(&situazione, mese), QString());
        }
        QCOMPARE(finale(&situazione), box("0,00"));
        QCOMPARE(env.ui.messages.size(), 0);
    }

    void aWholeYearMatchesSumsWorkedOutApart() {
        TestEnvironment env;
        QSqlDatabase db = env.openNewArchive();
        const QHash<QString, double> aliquote = {{QStringLiteral("004"), 4},
                                                 {QStringLiteral("010"), 10},
                                                 {QStringLiteral("022"), 22},
                                                 {QStringLiteral("019"), 19.5},
                                                 {QStringLiteral("000"), 0}};
        for (auto it = aliquote.cbegin(); it != aliquote.cend(); ++it) {
            aggiungiCodice(db, it.key(), it.key(),
                           Money::fromUnits(std::llround(it.value() * Money::Scale)));
        }
        const QStringList codici = {QStringLiteral("004"),
                                    QStringLiteral("010"),
                                    QStringLiteral("022"),
                                    QStringLiteral("019"),
                                    QStringLiteral("000"),
                                    QStringLiteral("777"),
                                    QString()};
        QRandomGenerator caso(20050315);
        QVERIFY(db.transaction());
        for (int n = 1; n <= 3000; ++n) {
            const QDate data = QDate(2004, 1, 1).addDays(caso.bounded(3 * 365 + 1));
            const QDate documento = caso.bounded(20) == 0 ? QDate() : data;
            const qint64 centesimi = caso.bounded(-50000000, 50000000);
            aggiungiMovimento(db, n, data.addDays(caso.bounded(40)), documento,
                              codici[caso.bounded(codici.size())],
                              Money::fromUnits(centesimi * 100));
        }
        QVERIFY(db.commit());

        // The expected figures, from every stored row read back and summed here.
        qint64 crediti[12] = {}, debiti[12] = {};
        bool conCredito[12] = {}, conDebito[12] = {};
        QSqlQuery q(db);
        QVERIFY(q.exec(QStringLiteral(R"(SELECT "Data documento", "Codice Iva", "Imponibile Iva"
                                         FROM "Vardello")")));
        while (q.next()) {
            const QDate data = dataDaSql(q.value(0));
            if (data.year() != 2005) {
                continue;
            }
            const qint64 lordo = q.value(2).toLongLong() / 100;
            const qint64 iva = centesimiIva(lordo, aliquote.value(q.value(1).toString(), 0));
            const int mese = data.month() - 1;
            if (iva < 0) {
                crediti[mese] -= iva;
                conCredito[mese] = true;
            } else {
                debiti[mese] += iva;
                conDebito[mese] = true;
            }
        }
        q.finish();

        frmSituazioneIva situazione(2005, nullptr);
        qint64 totale = 0;
        for (int mese = 0; mese < 12; ++mese) {
            QCOMPARE(credito(&situazione, mese),
                     conCredito[mese] ? testoCentesimi(crediti[mese]) : QString());
            QCOMPARE(debito(&situazione, mese),
                     conDebito[mese] ? testoCentesimi(debiti[mese]) : QString());
            QCOMPARE(saldo(&situazione, mese), testoCentesimi(crediti[mese] - debiti[mese]));
            totale += crediti[mese] - debiti[mese];
        }
        QCOMPARE(finale(&situazione), testoCentesimi(totale));
    }

    void aReadingFailureIsTold() {
        TestEnvironment env;
        QSqlDatabase db = env.openNewArchive();
        aggiungiMovimento(db, 1, QDate(2005, 3, 1), QDate(2005, 3, 1), QString(), importo("10"));
        env.exec(QStringLiteral(R"(DROP TABLE "Codici Iva")"));
        frmSituazioneIva situazione(2005, nullptr);
        QCOMPARE(env.ui.messages.size(), 1);
        QVERIFY(env.ui.messages[0].text.startsWith(
            QStringLiteral("Errore nell'accesso alla tabella 'Vardello'\n\nCodice errore = ")));
        QCOMPARE(env.ui.messages[0].title, QStringLiteral("SITUAZIONE I.V.A."));
        QCOMPARE(saldo(&situazione, 2), QString());
    }
};

QTEST_MAIN(TestSituazioneIva)
#include "tst_situazione_iva.moc"
