#include <QSqlQuery>
#include <QTest>

#include "../cashbook/CassaDiProva.h"
#include "Sql.h"

// The road of one movement with VAT, typed from the keyboard into the real main window, and
// everything it leaves behind: the archive row, the grid row, the totals on screen, the stored
// month totals and the remembered description.
class TestPercorsoMovimento : public QObject {
    Q_OBJECT
  private:
    static void focusAndType(QWidget* field, const QString& keys) {
        field->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(field->hasFocus() || field->isAncestorOf(QApplication::focusWidget()));
        if (!keys.isEmpty()) {
            QTest::keyClicks(QApplication::focusWidget(), keys);
        }
    }

  private slots:
    void oneMovementWithVatFromTheKeyboard() {
        CassaDiProva cassa;
        cassa.env.exec(QStringLiteral(R"(INSERT INTO "Parametri" VALUES (?, '', ?))"),
                       {true, false});
        cassa.env.exec(QStringLiteral(R"(INSERT INTO "Codici Iva" VALUES ('022', 'Ordinaria 22%',
                       220000, 0, 0, 0))"));
        cassa.env.exec(
            QStringLiteral(R"(INSERT INTO "Conti Utilizzati" VALUES ('Vendita merce'))"));
        cassa.movimento(1, QDate(2005, 2, 10), cassa.euro("50"), QVariant());
        cassa.totaliRegistrati(2005, 2, "50", "0");
        cassa.apri(true);

        // The registration date: entering the empty field proposes today; the person types
        // another day over it.
        auto* date = cassa.c<QLineEdit>("txtDataRegistrazione");
        focusAndType(date, {});
        QCOMPARE(date->text(), QStringLiteral("15/03/2005"));
        date->selectAll();
        QTest::keyClicks(date, QStringLiteral("10032005"));

        // The description, chosen among the remembered ones.
        auto* operation = cassa.c<QComboBox>("cmbOperazione");
        QVERIFY(operation->findText(QStringLiteral("Vendita merce")) >= 0);
        focusAndType(operation, QStringLiteral("Vendita merce"));

        focusAndType(cassa.c<ValutaBox>("txtEntrate"), QStringLiteral("122"));
        QCOMPARE(cassa.c<ValutaBox>("txtEntrate")->text(), QStringLiteral("122,00"));

        // "22" becomes "022" with its description and rate when the field is left.
        focusAndType(cassa.c<QLineEdit>("txtCodiceIva"), QStringLiteral("22"));
        focusAndType(cassa.c<ValutaBox>("txtImponibileIva"), {});
        QCOMPARE(cassa.box("txtCodiceIva"), QStringLiteral("022"));
        QCOMPARE(cassa.box("txtDescrizioneIva"), QStringLiteral("Ordinaria 22%"));
        QCOMPARE(cassa.box("txtAliquota").trimmed(), QStringLiteral("22,00"));
        // The amount including VAT is proposed from the income, and the VAT worked out.
        QCOMPARE(cassa.c<ValutaBox>("txtImponibileIva")->text(), QStringLiteral("122,00"));
        // The competence date is proposed from the registration date.
        focusAndType(cassa.c<QLineEdit>("txtDataDoc"), {});
        QCOMPARE(cassa.c<ValutaBox>("txtImpostaIva")->text(), QStringLiteral("22,00"));
        QCOMPARE(cassa.box("txtDataDoc"), QStringLiteral("10/03/2005"));

        cassa.clic("cmdIns");
        QCOMPARE(cassa.env.ui.messages.size(), 0);

        // The archive row.
        QSqlQuery q(DbArchivio());
        QVERIFY(eseguiSql(
            q, QStringLiteral(R"(SELECT * FROM "Vardello" WHERE "Numero Progressivo" = 2)")));
        QVERIFY(q.next());
        QCOMPARE(dataDaSql(q.value(QStringLiteral("Data Registrazione"))), QDate(2005, 3, 10));
        QCOMPARE(q.value(QStringLiteral("Operazione")).toString(), QStringLiteral("Vendita merce"));
        QCOMPARE(valutaDaSql(q.value(QStringLiteral("Entrate"))), Money::fromWhole(122));
        QCOMPARE(valutaDaSql(q.value(QStringLiteral("Uscite"))), Money());
        QCOMPARE(q.value(QStringLiteral("Codice Iva")).toString(), QStringLiteral("022"));
        QCOMPARE(valutaDaSql(q.value(QStringLiteral("Imponibile Iva"))), Money::fromWhole(122));
        QCOMPARE(dataDaSql(q.value(QStringLiteral("Data documento"))), QDate(2005, 3, 10));
        QCOMPARE(q.value(QStringLiteral("Utente")).toString(), QStringLiteral("Mario"));
        QCOMPARE(q.value(QStringLiteral("DataIns")).toString(), QStringLiteral("15/03/2005"));
        QCOMPARE(q.value(QStringLiteral("OraIns")).toString(), QStringLiteral("10:30"));
        q.finish();

        // The grid row and the three rows of totals.
        QCOMPARE(cassa.cella(0, 0), QStringLiteral("10/03/2005"));
        QCOMPARE(cassa.trimmed(0, 1), QStringLiteral("Vendita merce"));
        QCOMPARE(cassa.trimmed(0, 2), QStringLiteral("122,00"));
        QCOMPARE(cassa.trimmed(0, 4), QStringLiteral("2"));
        QCOMPARE(cassa.box("txtEntrateMese"), QStringLiteral("        122,00"));
        QCOMPARE(cassa.box("txtSaldoFineMese"), QStringLiteral("        122,00"));
        QCOMPARE(cassa.box("txtEntrateMeseP"), QStringLiteral("         50,00"));
        QCOMPARE(cassa.box("txtEntrateGenerali"), QStringLiteral("        172,00"));
        QCOMPARE(cassa.box("txtSaldo"), QStringLiteral("        172,00"));

        // The stored month totals and the description remembered once.
        QCOMPARE(cassa.totaliDelMese(2005, 3), QStringLiteral("122,00/0,00"));
        QCOMPARE(
            cassa.env.scalar(QStringLiteral(R"(SELECT count(*) FROM "Conti Utilizzati")")).toInt(),
            1);
        // Ready for the next movement.
        QCOMPARE(cassa.box("txtCodiceIva"), QString());
        QCOMPARE(cassa.c<ValutaBox>("txtImponibileIva")->text(), QString());
    }
};

QTEST_MAIN(TestPercorsoMovimento)
#include "tst_percorso_movimento.moc"
