#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

#include "Colori.h"
#include "FieldRules.h"
#include "TastiCampo.h"
#include "TestEnvironment.h"

namespace {

// A window with a masked date field, the rate field of the VAT code editor (a plain text
// box of at most 6 characters with the two-decimal key rules), an editable combo box and a
// plain field to move the focus to.
struct Finestra {
    Finestra() {
        auto* layout = new QVBoxLayout(&finestra);
        txtData = creaCampoData(&finestra, QStringLiteral("txtDataRegistrazione"));
        txtAliquota = new QLineEdit(&finestra);
        txtAliquota->setObjectName(QStringLiteral("txtAliquota"));
        txtAliquota->setMaxLength(6);
        installaTastiNumerici(txtAliquota);
        cmbOperazione = new QComboBox(&finestra);
        cmbOperazione->setEditable(true);
        altro = new QLineEdit(&finestra);
        for (QWidget* w :
             std::initializer_list<QWidget*>{txtData, txtAliquota, cmbOperazione, altro}) {
            layout->addWidget(w);
        }
        finestra.show();
        finestra.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&finestra));
        altro->setFocus();
    }

    QWidget finestra;
    QLineEdit* txtData = nullptr;
    QLineEdit* txtAliquota = nullptr;
    QComboBox* cmbOperazione = nullptr;
    QLineEdit* altro = nullptr;
};

void poni(QLineEdit* campo, const QString& testo, int cursore) {
    campo->setText(testo);
    campo->setCursorPosition(cursore);
}

}  // namespace

class TestRegoleCampi : public QObject {
    Q_OBJECT
  private slots:
    void enteringAndLeavingPlainFields() {
        TestEnvironment env;
        Finestra f;
        f.altro->setText(QStringLiteral("  Rossi  "));
        EntraCampo(f.altro);
        QCOMPARE(sfondo(f.altro), coloreModifica());
        QCOMPARE(f.altro->text(), QStringLiteral("Rossi"));
        QVERIFY(!f.altro->hasSelectedText());
        f.altro->setText(QStringLiteral(" Bianchi "));
        EsciCampo(f.altro);
        QCOMPARE(sfondo(f.altro), coloreNormale());
        QCOMPARE(f.altro->text(), QStringLiteral("Bianchi"));

        f.cmbOperazione->setEditText(QStringLiteral(" Affitto "));
        EntraCampoSeleziona(f.cmbOperazione);
        QCOMPARE(f.cmbOperazione->currentText(), QStringLiteral("Affitto"));
        QCOMPARE(f.cmbOperazione->lineEdit()->selectedText(), QStringLiteral("Affitto"));
        QCOMPARE(sfondo(f.cmbOperazione), coloreModifica());
        f.altro->setText(QStringLiteral("   "));
        EntraCampoSeleziona(f.altro);
        QCOMPARE(f.altro->text(), QString());

        // The numeric field is selected but not rewritten.
        f.txtAliquota->setText(QStringLiteral(" 22 "));
        EntraCampoNumerico(f.txtAliquota);
        QCOMPARE(f.txtAliquota->text(), QStringLiteral(" 22 "));
        QCOMPARE(f.txtAliquota->selectedText(), QStringLiteral(" 22 "));
        QCOMPARE(sfondo(f.txtAliquota), coloreModifica());
    }

    void datesAreCheckedAndWrittenInFull() {
        TestEnvironment env;
        Finestra f;
        QCOMPARE(f.txtData->displayText(), QStringLiteral("__/__/____"));
        QVERIFY(ControllaData(f.txtData));
        QCOMPARE(f.txtData->displayText(), QStringLiteral("__/__/____"));

        f.txtData->setFocus();
        QTest::keyClicks(f.txtData, QStringLiteral("010105"));
        QCOMPARE(f.txtData->displayText(), QStringLiteral("01/01/05__"));
        QVERIFY(ControllaData(f.txtData));
        QCOMPARE(f.txtData->displayText(), QStringLiteral("01/01/2005"));

        f.txtData->clear();
        f.txtData->setCursorPosition(0);
        QTest::keyClicks(f.txtData, QStringLiteral("1205"));
        QVERIFY(ControllaData(f.txtData));
        QCOMPARE(f.txtData->displayText(), QStringLiteral("12/05/2005"));  // this year
        f.txtData->setText(QStringLiteral("12/05/35"));
        QVERIFY(ControllaData(f.txtData));
        QCOMPARE(f.txtData->displayText(), QStringLiteral("12/05/1935"));
        QCOMPARE(env.ui.beeps, 0);

        // Unreadable dates: the beep, the focus back, the text kept. A blank inside the day
        // ends the date there, so "1_/05/2005" is no date either.
        for (const char* scritto : {"99/99/2005", "12/", "1_/05/2005", "31/02/2005"}) {
            f.txtData->setText(QString::fromLatin1(scritto));
            const QString mostrato = f.txtData->displayText();
            f.altro->setFocus();
            QVERIFY(!ControllaData(f.txtData));
            QCOMPARE(QApplication::focusWidget(), f.txtData);
            QCOMPARE(f.txtData->displayText(), mostrato);
        }
        QCOMPARE(env.ui.beeps, 4);
        QVERIFY(env.ui.messages.isEmpty());
    }

    void twoDecimalKeysInAPlainField() {
        TestEnvironment env;
        Finestra f;
        QLineEdit* campo = f.txtAliquota;
        QTest::keyClicks(campo, QStringLiteral("4"));
        QCOMPARE(campo->text(), QStringLiteral("4,00"));
        QCOMPARE(campo->cursorPosition(), 1);
        QTest::keyClick(campo, Qt::Key_Comma);
        QCOMPARE(campo->cursorPosition(), 2);

        poni(campo, QStringLiteral("12"), 2);
        QTest::keyClick(campo, Qt::Key_Comma);
        QCOMPARE(campo->text(), QStringLiteral("12,00"));
        QCOMPARE(campo->cursorPosition(), 2);  // before the comma
        QTest::keyClicks(campo, QStringLiteral("5"));
        QCOMPARE(campo->text(), QStringLiteral("125,00"));

        // A digit after the last decimal enters and is rounded away.
        poni(campo, QStringLiteral("12,34"), 5);
        QTest::keyClicks(campo, QStringLiteral("5"));
        QCOMPARE(campo->text(), QStringLiteral("12,35"));
        poni(campo, QStringLiteral("12,34"), 5);
        QTest::keyClicks(campo, QStringLiteral("4"));
        QCOMPARE(campo->text(), QStringLiteral("12,34"));

        // A zero integer part is left out.
        poni(campo, QStringLiteral("4,00"), 1);
        QTest::keyClick(campo, Qt::Key_Backspace);
        QCOMPARE(campo->text(), QStringLiteral(",00"));
        QTest::keyClick(campo, Qt::Key_Delete);  // before the comma: takes the first decimal
        QCOMPARE(campo->text(), QStringLiteral(",00"));
        poni(campo, QStringLiteral("12,34"), 2);
        QTest::keyClick(campo, Qt::Key_Delete);
        QCOMPARE(campo->text(), QStringLiteral("12,40"));
        QCOMPARE(campo->cursorPosition(), 3);
        QCOMPARE(env.ui.beeps, 0);

        // A negative rate typed from the start: the caret stays in the integer part.
        campo->clear();
        QTest::keyClicks(campo, QStringLiteral("-22"));
        QCOMPARE(campo->text(), QStringLiteral("-22,00"));

        // Six characters at most, also when a decimal would round the amount up.
        poni(campo, QStringLiteral("100,00"), 1);
        QTest::keyClicks(campo, QStringLiteral("1"));
        QCOMPARE(campo->text(), QStringLiteral("100,00"));
        poni(campo, QStringLiteral("-99,99"), 4);
        QTest::keyClicks(campo, QStringLiteral("9"));
        QCOMPARE(campo->text(), QStringLiteral("-99,99"));
        QTest::keyClicks(campo, QStringLiteral(".x"));
        QTest::keyClick(campo, Qt::Key_Return);
        QCOMPARE(campo->text(), QStringLiteral("-99,99"));
        QCOMPARE(env.ui.beeps, 5);
    }

    void keyRoutinesCalledByAWindow() {
        TestEnvironment env;
        QLineEdit campo;
        campo.setText(QStringLiteral("12,34"));
        campo.setCursorPosition(2);
        int codice = Qt::Key_Left;
        KeyDownNumerico(&campo, codice);
        QCOMPARE(codice, int(Qt::Key_Left));
        QCOMPARE(campo.text(), QStringLiteral("12,34"));
        codice = Qt::Key_Delete;
        KeyDownNumerico(&campo, codice);
        QCOMPARE(codice, 0);
        QCOMPARE(campo.text(), QStringLiteral("12,40"));

        int carattere = '-';
        campo.setCursorPosition(0);
        KeyPressNumerico(&campo, carattere);
        QCOMPARE(carattere, int('-'));  // left to the field, which inserts it
        carattere = '7';
        KeyPressNumerico(&campo, carattere);
        QCOMPARE(carattere, 0);
    }

    void percentagesOnLeaving() {
        TestEnvironment env;
        Finestra f;
        QLineEdit* campo = f.txtAliquota;
        const auto esci = [&](const QString& testo) {
            campo->setText(testo);
            impostaSfondo(campo, coloreModifica());
            f.altro->setFocus();
            EsciCampoPercentuale(campo);
            return campo->text();
        };
        QCOMPARE(esci(QStringLiteral("22")), QStringLiteral("22,00"));
        QCOMPARE(sfondo(campo), coloreNormale());
        QCOMPARE(esci(QString()), QStringLiteral("0,00"));
        QCOMPARE(esci(QStringLiteral("-99,99")), QStringLiteral("-99,99"));
        QCOMPARE(esci(QStringLiteral(",5")), QStringLiteral("0,50"));
        QCOMPARE(esci(QStringLiteral("abc")), QStringLiteral("abc"));
        QVERIFY(env.ui.messages.isEmpty());
        QCOMPARE(QApplication::focusWidget(), f.altro);

        QCOMPARE(esci(QStringLiteral("100")), QStringLiteral("100,00"));
        QCOMPARE(env.ui.beeps, 1);
        QCOMPARE(env.ui.messages.size(), 1);
        QCOMPARE(env.ui.messages[0].text, QStringLiteral("VALORE ERRATO!"));
        QCOMPARE(env.ui.messages[0].title, QStringLiteral("Attenzione"));
        QCOMPARE(env.ui.messages[0].icon, Interaction::Icon::Exclamation);
        QCOMPARE(env.ui.messages[0].buttons, Interaction::Buttons::Ok);
        QCOMPARE(QApplication::focusWidget(), campo);
        QCOMPARE(esci(QStringLiteral("123,4")), QStringLiteral("123,40"));
        esci(QStringLiteral("-100"));
        QCOMPARE(env.ui.messages.size(), 3);
    }
};

QTEST_MAIN(TestRegoleCampi)
#include "tst_regole_campi.moc"
