#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <memory>

#include "CampiIvaMovimento.h"
#include "Colori.h"
#include "DatiCondivisi.h"
#include "FieldRules.h"
#include "MoneyText.h"
#include "Programma.h"
#include "TestEnvironment.h"
#include "ValutaBox.h"

namespace {

// The movement fields as the main window holds them, in a window of their own.
struct Maschera {
    Maschera() {
        finestra.setWindowTitle(QStringLiteral("Vardello - Prova"));
        auto* layout = new QVBoxLayout(&finestra);
        const auto aggiungi = [&](auto* campo, const char* nome) {
            campo->setObjectName(QString::fromLatin1(nome));
            layout->addWidget(campo);
            return campo;
        };
        const auto importo = [&](const char* nome) {
            auto* box = aggiungi(new ValutaBox(&finestra), nome);
            box->setDecimali(2);
            box->setText(QString());
            return box;
        };
        c.finestra = &finestra;
        c.txtDataRegistrazione = creaCampoData(&finestra, QStringLiteral("txtDataRegistrazione"));
        layout->addWidget(c.txtDataRegistrazione);
        c.cmbOperazione = aggiungi(new QComboBox(&finestra), "cmbOperazione");
        c.cmbOperazione->setEditable(true);
        c.txtEntrate = importo("txtEntrate");
        c.txtUscite = importo("txtUscite");
        c.txtCodiceIva = aggiungi(new QLineEdit(&finestra), "txtCodiceIva");
        c.txtCodiceIva->setMaxLength(3);
        c.txtDescrizioneIva = aggiungi(new QLineEdit(&finestra), "txtDescrizioneIva");
        c.txtAliquota = aggiungi(new QLineEdit(&finestra), "txtAliquota");
        c.txtImponibileIva = importo("txtImponibileIva");
        c.txtImpostaIva = importo("txtImpostaIva");
        c.txtDataDoc = creaCampoData(&finestra, QStringLiteral("txtDataDoc"));
        layout->addWidget(c.txtDataDoc);
        cmdIns = aggiungi(new QPushButton(QStringLiteral("Ins"), &finestra), "cmdIns");
        campi = std::make_unique<CampiIvaMovimento>(c);
        finestra.show();
        if (!attendiAttiva()) {
            qFatal("the test window does not become active");
        }
    }

    // After a modal window has closed the window is active again, with its focus back.
    bool attendiAttiva() {
        finestra.activateWindow();
        return QTest::qWaitForWindowActive(&finestra);
    }

    // Types a code into the empty code field and leaves it with Tab.
    void scriviCodice(const QString& codice) {
        c.txtCodiceIva->setFocus();
        c.txtCodiceIva->selectAll();
        QTest::keyClick(c.txtCodiceIva, Qt::Key_Backspace);
        QTest::keyClicks(c.txtCodiceIva, codice);
        QTest::keyClick(c.txtCodiceIva, Qt::Key_Tab);
    }

    QWidget* fuoco() const { return QApplication::focusWidget(); }

    QWidget finestra;
    ControlliMovimento c;
    QPushButton* cmdIns = nullptr;
    std::unique_ptr<CampiIvaMovimento> campi;
};

// The VAT code lookup shows its list modally: answered as soon as it is up, by choosing its
// first line or by cancelling. Gives the class of the window that was answered.
std::shared_ptr<QString> rispondiAllaRicerca(bool scegliPrimaRiga) {
    auto finestraVista = std::make_shared<QString>();
    QTimer::singleShot(0, [finestraVista, scegliPrimaRiga] {
        auto* ricerca = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!ricerca) {
            return;
        }
        *finestraVista = QString::fromLatin1(ricerca->metaObject()->className());
        auto* lista = ricerca->findChild<QListWidget*>(QStringLiteral("lstRicerca"));
        if (scegliPrimaRiga && lista && lista->count() > 0) {
            lista->setCurrentRow(0);
            ricerca->findChild<QPushButton*>(QStringLiteral("cmdOk"))->click();
        } else {
            ricerca->reject();
        }
    });
    return finestraVista;
}

void aggiungiCodice(TestEnvironment& env, const QString& codice, const QString& descrizione,
                    qint64 aliquotaCentesimi) {
    env.exec(QStringLiteral(R"(INSERT INTO "Codici Iva" ("Codice Iva", "Descrizione Iva",
             "Aliquota") VALUES (?, ?, ?))"),
             {codice, descrizione, aliquotaCentesimi * 100});
}

}  // namespace

// The VAT fields of a movement and the remembered operation descriptions, driven through
// the real widgets.
class TestCampiIva : public QObject {
    Q_OBJECT
  private slots:
    void aCodeIsCompletedAndLookedUp() {
        TestEnvironment env;
        env.openNewArchive();
        aggiungiCodice(env, QStringLiteral("022"), QStringLiteral("Ordinaria 22%"), 2200);
        Maschera m;

        m.scriviCodice(QStringLiteral("22"));
        QCOMPARE(m.c.txtCodiceIva->text(), QStringLiteral("022"));
        QCOMPARE(m.c.txtDescrizioneIva->text(), QStringLiteral("Ordinaria 22%"));
        QCOMPARE(m.c.txtAliquota->text(), QStringLiteral("22,00"));
        QCOMPARE(sfondo(m.c.txtCodiceIva), coloreNormale());
        QVERIFY(env.ui.messages.isEmpty());

        // An unknown code is told; the field keeps the focus with its text selected and the
        // description and rate of the last good code stay.
        m.scriviCodice(QStringLiteral("5"));
        QCOMPARE(env.ui.messages.size(), 1);
        QCOMPARE(env.ui.messages[0].text, QStringLiteral("Codice Iva inesistente!"));
        QCOMPARE(env.ui.messages[0].title, QStringLiteral("VARDELLO"));  // the caption up to " - "
        QCOMPARE(env.ui.messages[0].icon, Interaction::Icon::Exclamation);
        QCOMPARE(env.ui.beeps, 1);
        QCOMPARE(m.c.txtCodiceIva->text(), QStringLiteral("005"));
        QCOMPARE(m.fuoco(), m.c.txtCodiceIva);
        QCOMPARE(m.c.txtCodiceIva->selectedText(), QStringLiteral("005"));
        QCOMPARE(m.c.txtDescrizioneIva->text(), QStringLiteral("Ordinaria 22%"));

        // Entering the empty field proposes the standard code, yellow while it is edited.
        m.campi->setCodiceIvaStandard(QStringLiteral("022"));
        m.c.txtCodiceIva->clear();
        m.cmdIns->setFocus();
        env.ui.clear();
        m.c.txtCodiceIva->setFocus();
        QCOMPARE(m.c.txtCodiceIva->text(), QStringLiteral("022"));
        QCOMPARE(sfondo(m.c.txtCodiceIva), coloreModifica());
    }

    void lettersOrF4OpenTheLookup() {
        TestEnvironment env;
        env.openNewArchive();
        aggiungiCodice(env, QStringLiteral("022"), QStringLiteral("Ordinaria 22%"), 2200);
        Maschera m;
        m.scriviCodice(QStringLiteral("22"));
        m.c.txtImponibileIva->setText(QStringLiteral("122,00"));
        m.c.txtDataDoc->setText(QStringLiteral("15/03/2005"));

        // Letters are a search by description: the lookup of the archive in use opens
        // instead of the code check, and the code chosen there is looked up.
        auto ricerca = rispondiAllaRicerca(true);
        m.scriviCodice(QStringLiteral("Ord"));
        QCOMPARE(*ricerca, QStringLiteral("frmRicercaIva"));
        QVERIFY(m.attendiAttiva());
        QVERIFY(!programma().RicercaInCorso);
        QCOMPARE(m.c.txtCodiceIva->text(), QStringLiteral("022"));
        QCOMPARE(m.c.txtAliquota->text(), QStringLiteral("22,00"));
        QCOMPARE(m.fuoco(), m.c.txtCodiceIva);
        QVERIFY(env.ui.messages.isEmpty());

        // Cancelling gives an empty code, which clears the VAT fields.
        ricerca = rispondiAllaRicerca(false);
        m.scriviCodice(QStringLiteral("xyz"));
        QCOMPARE(*ricerca, QStringLiteral("frmRicercaIva"));
        QVERIFY(m.attendiAttiva());
        QCOMPARE(m.c.txtCodiceIva->text(), QString());
        QCOMPARE(m.c.txtDescrizioneIva->text(), QString());
        QCOMPARE(m.c.txtAliquota->text(), QString());
        QCOMPARE(m.c.txtImponibileIva->text(), QString());
        QCOMPARE(m.c.txtDataDoc->displayText(), QStringLiteral("__/__/____"));
        QCOMPARE(m.fuoco(), m.c.txtCodiceIva);

        // F4 opens it from the field; the field is entered again afterwards, which proposes
        // the standard code after a cancelled lookup.
        m.scriviCodice(QStringLiteral("22"));
        m.campi->setCodiceIvaStandard(QStringLiteral("004"));
        m.c.txtCodiceIva->setFocus();
        ricerca = rispondiAllaRicerca(false);
        QTest::keyClick(m.c.txtCodiceIva, Qt::Key_F4);
        QCOMPARE(*ricerca, QStringLiteral("frmRicercaIva"));
        QVERIFY(m.attendiAttiva());
        QVERIFY(!programma().RicercaInCorso);
        QCOMPARE(m.c.txtAliquota->text(), QString());
        QCOMPARE(m.fuoco(), m.c.txtCodiceIva);
        QCOMPARE(m.c.txtCodiceIva->text(), QStringLiteral("004"));
        QVERIFY(env.ui.messages.isEmpty());
    }

    void theAmountIsProposedAndItsVatWorkedOut() {
        TestEnvironment env;
        env.openNewArchive();
        aggiungiCodice(env, QStringLiteral("022"), QStringLiteral("Ordinaria 22%"), 2200);
        Maschera m;
        m.scriviCodice(QStringLiteral("22"));

        // Income: the amount itself.
        m.c.txtEntrate->setText(QStringLiteral("122,00"));
        m.c.txtImponibileIva->setFocus();
        QCOMPARE(m.c.txtImponibileIva->text(), QStringLiteral("122,00"));
        QCOMPARE(m.c.txtImpostaIva->text(), QStringLiteral("22,00"));

        // Expense: a negative amount and VAT.
        m.c.txtDataDoc->setFocus();
        m.c.txtEntrate->setText(QString());
        m.c.txtUscite->setText(QStringLiteral("122,00"));
        m.c.txtImponibileIva->setText(QString());
        m.c.txtImponibileIva->setFocus();
        QCOMPARE(m.c.txtImponibileIva->text(), QStringLiteral("-122,00"));
        QCOMPARE(m.c.txtImpostaIva->text(), QStringLiteral("-22,00"));

        // Both amounts: nothing to propose.
        m.c.txtDataDoc->setFocus();
        m.c.txtEntrate->setText(QStringLiteral("10,00"));
        m.c.txtImponibileIva->setText(QString());
        m.c.txtImponibileIva->setFocus();
        QCOMPARE(m.c.txtImponibileIva->text(), QString());
        QCOMPARE(m.c.txtImpostaIva->text(), QStringLiteral("0,00"));

        // An amount already there stays; the VAT is extracted from it on leaving, rounded
        // to the cent after the four-decimal division.
        m.c.txtImponibileIva->setText(QStringLiteral("50,00"));
        m.c.txtDataDoc->setFocus();
        QCOMPARE(ConvertiValuta(m.c.txtImponibileIva->text()), Money::fromWhole(50));
        QCOMPARE(m.c.txtImpostaIva->text(), QStringLiteral("9,02"));
        m.c.txtEntrate->setText(QString());
        m.c.txtImponibileIva->setFocus();
        QCOMPARE(ConvertiValuta(m.c.txtImponibileIva->text()), Money::fromWhole(50));

        // With no rate there is no VAT.
        m.c.txtAliquota->clear();
        m.campi->CalcolaImposta();
        QCOMPARE(m.c.txtImpostaIva->text(), QStringLiteral("0,00"));
    }

    void anEmptyCodeClosesTheVatFields() {
        TestEnvironment env;
        env.openNewArchive();
        aggiungiCodice(env, QStringLiteral("022"), QStringLiteral("Ordinaria 22%"), 2200);
        Maschera m;
        m.scriviCodice(QStringLiteral("22"));
        m.c.txtImponibileIva->setText(QStringLiteral("122,00"));
        m.c.txtDataDoc->setText(QStringLiteral("15/03/2005"));

        m.scriviCodice(QString());
        QCOMPARE(m.c.txtCodiceIva->text(), QString());
        QCOMPARE(m.c.txtDescrizioneIva->text(), QString());
        QCOMPARE(m.c.txtAliquota->text(), QString());
        QCOMPARE(m.c.txtImponibileIva->text(), QString());
        QCOMPARE(m.c.txtImpostaIva->text(), QStringLiteral("0,00"));
        QCOMPARE(m.c.txtDataDoc->displayText(), QStringLiteral("__/__/____"));

        // Reaching the amount or the date without a code closes it and moves on to insert.
        m.c.txtEntrate->setText(QStringLiteral("122,00"));
        m.c.txtImponibileIva->setFocus();
        QCOMPARE(m.fuoco(), m.cmdIns);
        QVERIFY(!m.c.txtImponibileIva->isEnabled());
        QCOMPARE(m.c.txtImponibileIva->text(), QString());
        QCOMPARE(sfondo(m.c.txtImponibileIva), coloreDisabilitato());
        m.c.txtDataDoc->setFocus();
        QCOMPARE(m.fuoco(), m.cmdIns);
        QVERIFY(!m.c.txtDataDoc->isEnabled());

        // Entering the code field opens them again; so does the lost-focus routine called
        // by the main window once it has filled the code itself.
        m.c.txtCodiceIva->setFocus();
        QVERIFY(m.c.txtImponibileIva->isEnabled());
        QVERIFY(m.c.txtDataDoc->isEnabled());
        QCOMPARE(sfondo(m.c.txtDataDoc), coloreNormale());
        m.cmdIns->setFocus();
        m.c.txtCodiceIva->setText(QStringLiteral("22"));
        m.c.txtImponibileIva->setText(QStringLiteral("244,00"));
        m.campi->EsciCodiceIva();
        QCOMPARE(m.c.txtCodiceIva->text(), QStringLiteral("022"));
        QCOMPARE(m.c.txtDescrizioneIva->text(), QStringLiteral("Ordinaria 22%"));
        QCOMPARE(m.c.txtImpostaIva->text(), QStringLiteral("44,00"));
    }

    void theCompetenceDateIsProposed() {
        TestEnvironment env;
        env.openNewArchive();
        aggiungiCodice(env, QStringLiteral("022"), QStringLiteral("Ordinaria 22%"), 2200);
        Maschera m;
        m.scriviCodice(QStringLiteral("22"));

        m.c.txtDataRegistrazione->setText(QStringLiteral("10/03/2005"));
        m.c.txtDataDoc->setFocus();
        QCOMPARE(m.c.txtDataDoc->displayText(), QStringLiteral("10/03/2005"));
        QCOMPARE(sfondo(m.c.txtDataDoc), coloreModifica());
        QCOMPARE(m.c.txtDataDoc->selectedText(), QStringLiteral("10/03/2005"));

        // A date typed stays; leaving rewrites it in full and turns the field white.
        m.c.txtDataDoc->setText(QStringLiteral("01/02/05"));
        m.cmdIns->setFocus();
        QCOMPARE(m.c.txtDataDoc->displayText(), QStringLiteral("01/02/2005"));
        QCOMPARE(sfondo(m.c.txtDataDoc), coloreNormale());
        m.c.txtDataDoc->setFocus();
        QCOMPARE(m.c.txtDataDoc->displayText(), QStringLiteral("01/02/2005"));

        // Without a registration date, today.
        m.cmdIns->setFocus();
        m.c.txtDataDoc->setText(QString());
        m.c.txtDataRegistrazione->setText(QString());
        m.c.txtDataDoc->setFocus();
        QCOMPARE(m.c.txtDataDoc->displayText(), QStringLiteral("15/03/2005"));
    }

    void aFailingCodeTableIsReported() {
        TestEnvironment env;
        env.openNewArchive();
        Maschera m;
        env.exec(QStringLiteral(R"(DROP TABLE "Codici Iva")"));
        m.scriviCodice(QStringLiteral("22"));
        QCOMPARE(env.ui.messages.size(), 1);
        QVERIFY(env.ui.messages[0].text.startsWith(QStringLiteral("Errore non gestito. Codice: ")));
        QCOMPARE(env.ui.messages[0].title, QStringLiteral("VARDELLO"));  // the caption up to " - "
        QCOMPARE(env.ui.beeps, 1);
    }

    void descriptionsAreRememberedOnce() {
        TestEnvironment env;
        env.openNewArchive();
        for (const char* d : {"Vendita", "affitto", "Zucchero", ""}) {
            env.exec(QStringLiteral(R"(INSERT INTO "Conti Utilizzati" VALUES (?))"),
                     {QString::fromLatin1(d)});
        }
        Maschera m;
        m.campi->CaricaOperazioni();
        QComboBox* combo = m.c.cmbOperazione;
        QCOMPARE(combo->count(), 3);
        QCOMPARE(combo->itemText(0), QStringLiteral("affitto"));
        QCOMPARE(combo->itemText(2), QStringLiteral("Zucchero"));
        QCOMPARE(combo->currentText(), QString());

        combo->setEditText(QStringLiteral("Cancelleria"));
        m.campi->AggiungiConto();
        m.campi->AggiungiConto();
        combo->setEditText(QStringLiteral("Vendita"));
        m.campi->AggiungiConto();
        QCOMPARE(env.scalar(QStringLiteral(R"(SELECT count(*) FROM "Conti Utilizzati"
                            WHERE "Descrizione conto" = 'Cancelleria')"))
                     .toInt(),
                 1);
        QCOMPARE(env.scalar(QStringLiteral(R"(SELECT count(*) FROM "Conti Utilizzati")")).toInt(),
                 5);
        QCOMPARE(combo->count(), 4);
        QCOMPARE(combo->findText(QStringLiteral("Cancelleria")), 3);
        QCOMPARE(combo->currentText(), QStringLiteral("Vendita"));
        // Remembered meanwhile by another computer: offered here too.
        env.exec(QStringLiteral(R"(INSERT INTO "Conti Utilizzati" VALUES ('Bollette'))"));
        combo->setEditText(QStringLiteral("Bollette"));
        m.campi->AggiungiConto();
        QCOMPARE(combo->findText(QStringLiteral("Bollette")), 4);

        // The first description of an empty list does not change the text being typed.
        Maschera vuota;
        env.exec(QStringLiteral(R"(DELETE FROM "Conti Utilizzati")"));
        vuota.campi->CaricaOperazioni();
        vuota.c.cmbOperazione->setEditText(QStringLiteral("Nuova"));
        vuota.campi->AggiungiConto();
        QCOMPARE(vuota.c.cmbOperazione->count(), 1);
        QCOMPARE(vuota.c.cmbOperazione->currentText(), QStringLiteral("Nuova"));

        env.exec(QStringLiteral(R"(DROP TABLE "Conti Utilizzati")"));
        combo->setEditText(QStringLiteral("Mai usata"));
        QVERIFY_THROWS_EXCEPTION(ErroreArchivio, m.campi->AggiungiConto());
        QVERIFY_THROWS_EXCEPTION(ErroreArchivio, m.campi->CaricaOperazioni());
    }
};

QTEST_MAIN(TestCampiIva)
#include "tst_campi_iva.moc"
