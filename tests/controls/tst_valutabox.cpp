#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include "Colori.h"
#include "TestEnvironment.h"
#include "ValutaBox.h"

namespace {

// The amount fields of a movement as the main window holds them, and a plain field to move
// the focus to.
struct Modulo {
    Modulo() {
        auto* layout = new QVBoxLayout(&finestra);
        for (ValutaBox** box : {&txtEntrate, &txtUscite, &txtImponibileIva, &txtImpostaIva}) {
            *box = new ValutaBox(&finestra);
            (*box)->setDecimali(2);
            (*box)->setMaxLength(14);
            (*box)->setText(QString());
            layout->addWidget(*box);
        }
        txtEntrate->setObjectName(QStringLiteral("txtEntrate"));
        txtUscite->setObjectName(QStringLiteral("txtUscite"));
        txtImponibileIva->setObjectName(QStringLiteral("txtImponibileIva"));
        txtImpostaIva->setObjectName(QStringLiteral("txtImpostaIva"));
        txtImpostaIva->setBackColor(coloreDisabilitato());
        txtImpostaIva->setAbilitato(false);
        altro = new QLineEdit(&finestra);
        layout->addWidget(altro);
        finestra.show();
        finestra.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&finestra));
    }

    QWidget finestra;
    ValutaBox* txtEntrate = nullptr;
    ValutaBox* txtUscite = nullptr;
    ValutaBox* txtImponibileIva = nullptr;
    ValutaBox* txtImpostaIva = nullptr;
    QLineEdit* altro = nullptr;
};

// Puts a text with a caret (and selection) into a box without any key.
void poni(ValutaBox* box, const QString& testo, int cursore, int selezione = 0) {
    box->setText(testo);
    if (selezione > 0) {
        box->campo()->setSelection(cursore, selezione);
    } else {
        box->campo()->setCursorPosition(cursore);
    }
}

void digita(ValutaBox* box, const QString& tasti) {
    QTest::keyClicks(box->campo(), tasti);
}
void premi(ValutaBox* box, Qt::Key tasto, Qt::KeyboardModifiers mod = Qt::NoModifier) {
    QTest::keyClick(box->campo(), tasto, mod);
}
int cursore(const ValutaBox* box) {
    return box->campo()->cursorPosition();
}

}  // namespace

class TestValutaBox : public QObject {
    Q_OBJECT
  private slots:
    void digitsFillTheIntegerPartAndPushTheDecimals() {
        TestEnvironment env;
        Modulo m;
        ValutaBox* box = m.txtEntrate;
        digita(box, QStringLiteral("7"));
        QCOMPARE(box->text(), QStringLiteral("7,00"));
        QCOMPARE(cursore(box), 1);
        digita(box, QStringLiteral("234"));
        QCOMPARE(box->text(), QStringLiteral("7.234,00"));
        QCOMPARE(cursore(box), 5);  // after the 4, past the grouping dot that appeared

        poni(box, QStringLiteral("12,34"), 3);
        digita(box, QStringLiteral("5"));
        QCOMPARE(box->text(), QStringLiteral("12,53"));
        QCOMPARE(cursore(box), 4);
        poni(box, QStringLiteral("12,99"), 3);
        digita(box, QStringLiteral("9"));
        QCOMPARE(box->text(), QStringLiteral("13,00"));

        // After the last decimal, and over a selection holding the comma: refused.
        poni(box, QStringLiteral("12,34"), 5);
        digita(box, QStringLiteral("1"));
        QCOMPARE(box->text(), QStringLiteral("12,34"));
        poni(box, QStringLiteral("12,34"), 1, 3);
        digita(box, QStringLiteral("1"));
        QCOMPARE(box->text(), QStringLiteral("12,34"));
        QCOMPARE(env.ui.beeps, 2);

        // A digit over the whole text starts again.
        poni(box, QStringLiteral("1.234,56"), 0, 8);
        digita(box, QStringLiteral("5"));
        QCOMPARE(box->text(), QStringLiteral("5,00"));
        QCOMPARE(cursore(box), 1);
    }

    void integerDigitsStopAtThirteenCharacters() {
        TestEnvironment env;
        Modulo m;
        ValutaBox* box = m.txtEntrate;
        digita(box, QStringLiteral("99999999"));
        QCOMPARE(box->text(), QStringLiteral("99.999.999,00"));
        QCOMPARE(env.ui.beeps, 0);
        digita(box, QStringLiteral("9"));
        QCOMPARE(box->text(), QStringLiteral("99.999.999,00"));
        QCOMPARE(env.ui.beeps, 1);
        premi(box, Qt::Key_Comma);
        digita(box, QStringLiteral("99"));
        QCOMPARE(box->text(), QStringLiteral("99.999.999,99"));
        QCOMPARE(env.ui.beeps, 1);
        // Nor does a digit typed over a grouping dot, or a rounding carry, add one.
        poni(box, QStringLiteral("99.999.999,00"), 2, 1);
        digita(box, QStringLiteral("9"));
        QCOMPARE(box->text(), QStringLiteral("99.999.999,00"));
        poni(box, QStringLiteral("-99.999.999,99"), 12);
        digita(box, QStringLiteral("9"));
        QCOMPARE(box->text(), QStringLiteral("-99.999.999,99"));
        QCOMPARE(env.ui.beeps, 3);
        poni(box, QStringLiteral("9.999.999,00"), 1, 1);
        digita(box, QStringLiteral("1"));
        QCOMPARE(box->text(), QStringLiteral("91.999.999,00"));
        // A field without a length limit still takes integer digits.
        box->setMaxLength(0);
        poni(box, QStringLiteral("12,00"), 2);
        digita(box, QStringLiteral("3"));
        QCOMPARE(box->text(), QStringLiteral("123,00"));
    }

    void backspaceRemovesLeftAndRegroups() {
        TestEnvironment env;
        Modulo m;
        ValutaBox* box = m.txtEntrate;
        poni(box, QStringLiteral("1.234,56"), 8);
        premi(box, Qt::Key_Backspace);
        QCOMPARE(box->text(), QStringLiteral("1.234,50"));
        QCOMPARE(cursore(box), 7);

        poni(box, QStringLiteral("1.234,56"), 6);  // just after the comma
        premi(box, Qt::Key_Backspace);
        QCOMPARE(box->text(), QStringLiteral("123,56"));
        QCOMPARE(cursore(box), 3);

        poni(box, QStringLiteral("1.234,56"), 2);  // just after the dot
        premi(box, Qt::Key_Backspace);
        QCOMPARE(box->text(), QStringLiteral("1.234,56"));
        QCOMPARE(cursore(box), 1);

        poni(box, QStringLiteral("1.234.567,00"), 1);  // the first digit leaves a dot in front
        premi(box, Qt::Key_Backspace);
        QCOMPARE(box->text(), QStringLiteral("234.567,00"));
        QCOMPARE(cursore(box), 0);
        poni(box, QStringLiteral("-1.234,00"), 2);
        premi(box, Qt::Key_Backspace);
        QCOMPARE(box->text(), QStringLiteral("-234,00"));
        QCOMPARE(cursore(box), 1);
        poni(box, QStringLiteral("10,00"), 1);  // the caret would go before the start
        premi(box, Qt::Key_Backspace);
        QCOMPARE(box->text(), QStringLiteral(",00"));
        QCOMPARE(cursore(box), 0);

        poni(box, QStringLiteral("5,00"), 0, 4);
        premi(box, Qt::Key_Backspace);
        QCOMPARE(box->text(), QStringLiteral(",00"));
        poni(box, QStringLiteral("5,00"), 0, 2);  // not all selected: nothing happens
        premi(box, Qt::Key_Backspace);
        QCOMPARE(box->text(), QStringLiteral("5,00"));
        QCOMPARE(box->selLength(), 2);
        QCOMPARE(env.ui.beeps, 0);
    }

    void deleteTakesRightOfTheCaret() {
        TestEnvironment env;
        Modulo m;
        ValutaBox* box = m.txtEntrate;
        int codiceVisto = -1;
        connect(box, &ValutaBox::KeyDown, box,
                [&](int& codice, Qt::KeyboardModifiers) { codiceVisto = codice; });
        poni(box, QStringLiteral("12,34"), 2);
        premi(box, Qt::Key_Delete);
        QCOMPARE(box->text(), QStringLiteral("12,40"));
        QCOMPARE(cursore(box), 3);
        QCOMPARE(codiceVisto, 0);  // the box took the Delete

        poni(box, QStringLiteral("1.234,56"), 0);
        premi(box, Qt::Key_Delete);
        QCOMPARE(box->text(), QStringLiteral("234,56"));
        QCOMPARE(cursore(box), 0);
        poni(box, QStringLiteral("1.234,56"), 3);
        premi(box, Qt::Key_Delete);
        QCOMPARE(box->text(), QStringLiteral("124,56"));
        QCOMPARE(cursore(box), 2);

        // A selection across the comma keeps it and zeroes the decimals it held.
        poni(box, QStringLiteral("1.234,56"), 4, 3);
        premi(box, Qt::Key_Delete);
        QCOMPARE(box->text(), QStringLiteral("123,06"));
        // A selection of the integer digits next to a dot leaves no stray dot behind.
        poni(box, QStringLiteral("1.234,56"), 2, 3);
        premi(box, Qt::Key_Delete);
        QCOMPARE(box->text(), QStringLiteral("1,56"));
        QCOMPARE(cursore(box), 1);
        poni(box, QStringLiteral("5,00"), 0, 4);
        premi(box, Qt::Key_Delete);
        QCOMPARE(box->text(), QStringLiteral(",00"));
        QCOMPARE(env.ui.beeps, 0);
    }

    void commaMinusAndRefusedCharacters() {
        TestEnvironment env;
        Modulo m;
        ValutaBox* box = m.txtEntrate;
        poni(box, QStringLiteral("1.234,56"), 2);
        premi(box, Qt::Key_Comma);
        QCOMPARE(box->text(), QStringLiteral("1.234,56"));
        QCOMPARE(cursore(box), 6);
        poni(box, QStringLiteral("1234"), 2);
        premi(box, Qt::Key_Comma);
        QCOMPARE(box->text(), QStringLiteral("1.234,00"));
        QCOMPARE(cursore(box), 6);

        poni(box, QStringLiteral("5,00"), 0);
        digita(box, QStringLiteral("-"));
        QCOMPARE(box->text(), QStringLiteral("-5,00"));
        QCOMPARE(cursore(box), 1);
        poni(box, QStringLiteral("-5,00"), 0);
        digita(box, QStringLiteral("-"));
        poni(box, QStringLiteral("5,00"), 1);
        digita(box, QStringLiteral("-"));
        QCOMPARE(box->text(), QStringLiteral("5,00"));
        QCOMPARE(env.ui.beeps, 2);
        // A digit in front of the minus sign would make no amount.
        poni(box, QStringLiteral("-5,00"), 0);
        digita(box, QStringLiteral("7"));
        QCOMPARE(box->text(), QStringLiteral("-5,00"));
        QCOMPARE(env.ui.beeps, 3);
        // The minus sign then the digits of a negative amount.
        poni(box, QString(), 0);
        digita(box, QStringLiteral("-12"));
        QCOMPARE(box->text(), QStringLiteral("-12,00"));
        QCOMPARE(cursore(box), 3);
        // Over a selection at the start the minus sign replaces it: over the whole text
        // (as entering the box selects it) a new negative amount begins.
        poni(box, QStringLiteral("-61,00"), 0, 6);
        digita(box, QStringLiteral("-64,50"));
        QCOMPARE(box->text(), QStringLiteral("-64,50"));
        poni(box, QStringLiteral("1.234,00"), 0, 1);
        digita(box, QStringLiteral("-"));
        QCOMPARE(box->text(), QStringLiteral("-234,00"));
        QCOMPARE(cursore(box), 1);
        QCOMPARE(env.ui.beeps, 3);

        poni(box, QStringLiteral("12,00"), 2);
        env.ui.beeps = 0;
        digita(box, QStringLiteral(".a "));
        premi(box, Qt::Key_Return);
        premi(box, Qt::Key_Escape);
        premi(box, Qt::Key_V, Qt::ControlModifier);
        premi(box, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(box->text(), QStringLiteral("12,00"));
        QCOMPARE(env.ui.beeps, 7);
        // Keys that type nothing are the field's own.
        premi(box, Qt::Key_Home);
        QCOMPARE(cursore(box), 0);
        premi(box, Qt::Key_End, Qt::ShiftModifier);
        QCOMPARE(box->selLength(), 5);
        QCOMPARE(env.ui.beeps, 7);

        // Nothing comes from the clipboard, which would bypass every rule above ("1234.56"
        // would become 123.456,00).
        QGuiApplication::clipboard()->setText(QStringLiteral("1234.56"));
        premi(box, Qt::Key_Insert, Qt::ShiftModifier);
        QCOMPARE(box->text(), QStringLiteral("12,00"));
        QCOMPARE(env.ui.beeps, 8);
        QCOMPARE(box->campo()->contextMenuPolicy(), Qt::NoContextMenu);
        // Text that an input method commits is typed key by key.
        const auto componi = [&](const QString& testo) {
            QInputMethodEvent evento;
            evento.setCommitString(testo);
            QApplication::sendEvent(box->campo(), &evento);
        };
        poni(box, QStringLiteral("12,34"), 5);
        componi(QStringLiteral("9"));
        QCOMPARE(box->text(), QStringLiteral("12,34"));
        poni(box, QStringLiteral("12,34"), 2);
        componi(QStringLiteral("1234.56"));
        QCOMPARE(box->text(), QStringLiteral("12.123.456,34"));
        QCOMPARE(env.ui.beeps, 10);
    }

    void focusColoursSelectsAndRewrites() {
        TestEnvironment env;
        Modulo m;
        ValutaBox* box = m.txtEntrate;
        QCOMPARE(box->backColor(), coloreModifica());  // the first field of the window
        m.altro->setFocus(Qt::OtherFocusReason);
        QCOMPARE(box->text(), QStringLiteral("0,00"));
        QCOMPARE(box->backColor(), coloreNormale());
        box->setFocus(Qt::OtherFocusReason);
        QCOMPARE(box->backColor(), coloreModifica());
        QCOMPARE(box->selLength(), 4);
        digita(box, QStringLiteral("5"));
        QCOMPARE(box->text(), QStringLiteral("5,00"));

        poni(box, QStringLiteral("1234,5"), 6);
        m.altro->setFocus(Qt::OtherFocusReason);
        QCOMPARE(box->text(), QStringLiteral("1.234,50"));
        QCOMPARE(box->backColor(), coloreNormale());

        for (const auto& [scritto, mostrato] :
             {std::pair{",5", "0,50"}, {"", "0,00"}, {"abc", "0,00"}, {",00", "0,00"}}) {
            box->setFocus(Qt::OtherFocusReason);
            box->setText(QString::fromLatin1(scritto));
            m.altro->setFocus(Qt::OtherFocusReason);
            QCOMPARE(box->text(), QString::fromLatin1(mostrato));
        }

        // A blank box gaining the focus selects nothing; its colour after leaving is white
        // whatever colour it was given.
        box->setText(QString());
        box->setBackColor(Qt::red);
        box->setFocus(Qt::OtherFocusReason);
        QCOMPARE(box->selLength(), 0);
        m.altro->setFocus(Qt::OtherFocusReason);
        QCOMPARE(box->backColor(), coloreNormale());
        QCOMPARE(box->text(), QStringLiteral("0,00"));
    }

    void switchingWindowsIsNoLeaving() {
        TestEnvironment env;
        Modulo m;
        ValutaBox* box = m.txtEntrate;
        box->setFocus(Qt::OtherFocusReason);
        digita(box, QStringLiteral("12"));
        QWidget altraFinestra;
        altraFinestra.show();
        altraFinestra.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&altraFinestra));
        QCOMPARE(box->text(), QStringLiteral("12,00"));
        QCOMPARE(box->backColor(), coloreModifica());
        m.finestra.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&m.finestra));
        QCOMPARE(box->selLength(), 0);  // coming back does not select anew
        digita(box, QStringLiteral("3"));
        QCOMPARE(box->text(), QStringLiteral("123,00"));
    }

    void fourBoxesOfAMovementTabbedThrough() {
        TestEnvironment env;
        Modulo m;
        m.txtEntrate->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("1500,5"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(m.txtEntrate->text(), QStringLiteral("1.500,50"));
        QCOMPARE(m.txtEntrate->backColor(), coloreNormale());
        QCOMPARE(QApplication::focusWidget(), m.txtUscite->campo());
        QCOMPARE(m.txtUscite->backColor(), coloreModifica());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(m.txtUscite->text(), QStringLiteral("0,00"));
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("1220"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(m.txtImponibileIva->text(), QStringLiteral("1.220,00"));
        // The disabled VAT amount is passed over and keeps its colour.
        QCOMPARE(QApplication::focusWidget(), m.altro);
        QCOMPARE(m.txtImpostaIva->backColor(), coloreDisabilitato());
        QVERIFY(!m.txtImpostaIva->campo()->isEnabled());
        // Tab back into a box with an amount selects it all.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QCOMPARE(m.txtImponibileIva->selLength(), 8);
    }

    void wholeAmountsWhenThereAreNoDecimals() {
        TestEnvironment env;
        Modulo m;
        ValutaBox* box = m.txtEntrate;
        box->setDecimali(0);
        box->setFocus(Qt::OtherFocusReason);
        m.altro->setFocus(Qt::OtherFocusReason);
        QCOMPARE(box->text(), QStringLiteral("0"));

        box->setText(QString());
        QStringList visti;
        for (const QChar c : QStringLiteral("10000")) {
            digita(box, QString(c));
            visti << box->text();
            QCOMPARE(cursore(box), box->text().size());
        }
        QCOMPARE(visti,
                 QStringList({QStringLiteral("1"), QStringLiteral("10"), QStringLiteral("100"),
                              QStringLiteral("1.000"), QStringLiteral("10.000")}));
        // Backspace and Delete are the field's own, then the digits regroup.
        premi(box, Qt::Key_Backspace);
        QCOMPARE(box->text(), QStringLiteral("1.000"));
        premi(box, Qt::Key_Home);
        premi(box, Qt::Key_Delete);
        QCOMPARE(box->text(), QStringLiteral("0"));  // ".000" then regrouped
        QCOMPARE(env.ui.beeps, 0);
        poni(box, QStringLiteral("12"), 1);
        digita(box, QStringLiteral("-,."));
        premi(box, Qt::Key_Return);
        QCOMPARE(box->text(), QStringLiteral("12"));
        QCOMPARE(env.ui.beeps, 4);
        poni(box, QStringLiteral("12"), 0);
        digita(box, QStringLiteral("-"));
        QCOMPARE(box->text(), QStringLiteral("-12"));
        // The repairs of the amounts with decimals: no digit in front of the minus sign, no
        // grouping dot left behind it, a minus sign over a selection at the start.
        env.ui.beeps = 0;
        poni(box, QStringLiteral("-5"), 0);
        digita(box, QStringLiteral("7"));
        QCOMPARE(box->text(), QStringLiteral("-5"));
        QCOMPARE(env.ui.beeps, 1);
        poni(box, QStringLiteral("-1.234"), 2);
        premi(box, Qt::Key_Backspace);
        QCOMPARE(box->text(), QStringLiteral("-234"));
        QCOMPARE(cursore(box), 1);
        poni(box, QStringLiteral("-61"), 0, 3);
        digita(box, QStringLiteral("-64"));
        QCOMPARE(box->text(), QStringLiteral("-64"));
        // Nor an integer digit beyond what typing at the end reaches (11 in 14 characters).
        box->setMaxLength(14);
        poni(box, QStringLiteral("99.999.999.999"), 2, 1);
        digita(box, QStringLiteral("9"));
        QCOMPARE(box->text(), QStringLiteral("99.999.999.999"));
        QCOMPARE(env.ui.beeps, 2);
        box->setMaxLength(0);

        // The mode follows Decimali from the next key on.
        box->setDecimali(2);
        poni(box, QStringLiteral("12"), 2);
        premi(box, Qt::Key_Comma);
        QCOMPARE(box->text(), QStringLiteral("12,00"));
    }

    void maxLengthLimitsWhatTheFieldInsertsItself() {
        TestEnvironment env;
        Modulo m;
        ValutaBox* box = m.txtEntrate;
        box->setDecimali(0);
        box->setMaxLength(4);
        digita(box, QStringLiteral("1234"));
        QCOMPARE(box->text(), QStringLiteral("1.234"));  // the field's own rewrite may go beyond
        digita(box, QStringLiteral("5"));
        QCOMPARE(box->text(), QStringLiteral("1.234"));
        QCOMPARE(env.ui.beeps, 1);
    }

    void eventsReachTheWindow() {
        TestEnvironment env;
        Modulo m;
        ValutaBox* box = m.txtEntrate;
        QSignalSpy cambi(box, &ValutaBox::Change);
        digita(box, QStringLiteral("7"));
        QCOMPARE(cambi.count(), 1);
        box->setFocus(Qt::OtherFocusReason);
        m.altro->setFocus(Qt::OtherFocusReason);  // the rewrite on leaving is a change too
        QCOMPARE(cambi.count(), 1);
        box->setText(QStringLiteral("7"));
        m.altro->setFocus(Qt::OtherFocusReason);
        box->setFocus(Qt::OtherFocusReason);
        m.altro->setFocus(Qt::OtherFocusReason);
        QCOMPARE(box->text(), QStringLiteral("7,00"));
        QCOMPARE(cambi.count(), 3);
        box->setDecimali(0);
        box->setText(QStringLiteral("1234"));  // regrouped: one change per pass
        QCOMPARE(box->text(), QStringLiteral("1.234"));
        QCOMPARE(cambi.count(), 5);
        box->setDecimali(2);

        // The window sees 0 for a character the box took, and may change one it left.
        int visto = -1;
        connect(box, &ValutaBox::KeyPress, box, [&](int& carattere) {
            visto = carattere;
            if (carattere == '1') {
                carattere = '7';
            }
        });
        poni(box, QStringLiteral("5,00"), 4);
        digita(box, QStringLiteral("3"));
        QCOMPARE(visto, 0);
        box->setDecimali(0);
        poni(box, QStringLiteral("5"), 1);
        digita(box, QStringLiteral("1"));
        QCOMPARE(visto, int('1'));
        QCOMPARE(box->text(), QStringLiteral("57"));
        box->setDecimali(2);
        // A window that zeroes a navigation key stops it.
        connect(box, &ValutaBox::KeyDown, box, [](int& codice, Qt::KeyboardModifiers) {
            if (codice == Qt::Key_Home) {
                codice = 0;
            }
        });
        poni(box, QStringLiteral("5,00"), 3);
        premi(box, Qt::Key_Home);
        QCOMPARE(cursore(box), 3);

        QSignalSpy clic(box, &ValutaBox::Click);
        QSignalSpy doppio(box, &ValutaBox::DblClick);
        QSignalSpy giu(box, &ValutaBox::MouseDown);
        QTest::mouseClick(box->campo(), Qt::LeftButton);
        QCOMPARE(clic.count(), 1);
        QTest::mouseDClick(box->campo(), Qt::LeftButton);
        QCOMPARE(doppio.count(), 1);
        QVERIFY(giu.count() >= 1);
        QSignalSpy misura(box, &ValutaBox::Resize);
        box->resize(200, 30);
        QCOMPARE(misura.count(), 1);
        QCOMPARE(box->campo()->geometry(), QRect(0, 0, 200, 30));
    }

    void propertiesKeptWithTheBox() {
        TestEnvironment env;
        ValutaBox box;
        QCOMPARE(box.property("Text").toString(), QStringLiteral("Text1"));
        QCOMPARE(box.property("Decimali").toInt(), 0);
        QCOMPARE(box.property("MaxLength").toInt(), 0);
        QCOMPARE(box.property("Enabled").toBool(), true);
        QCOMPARE(box.property("Valuta").toString(), QString());

        QSignalSpy cambiate(&box, &ValutaBox::PropertyChanged);
        box.setProperty("Valuta", QStringLiteral("EUR 12"));
        QCOMPARE(box.text(), QStringLiteral("Text1"));
        box.setProperty("Cambio", 1936.27);
        QCOMPARE(box.cambio().units(), 19362700);
        box.setProperty("Decimali", 2);
        QCOMPARE(cambiate.count(), 3);
        QCOMPARE(cambiate.at(1).at(0).toString(), QStringLiteral("Cambio"));

        box.setProperty("Enabled", false);
        QVERIFY(!box.isEnabled());
        QVERIFY(!box.campo()->isEnabled());
        box.setEnabled(true);
        QVERIFY(box.campo()->isEnabled());

        box.setProperty("Text", QStringLiteral("1.234,56"));
        box.setProperty("SelStart", 2);
        box.setProperty("SelLength", 3);
        QCOMPARE(box.property("SelText").toString(), QStringLiteral("234"));
        box.setProperty("FontName", QStringLiteral("Courier New"));
        box.setProperty("FontSize", 9.0);
        QCOMPARE(box.campo()->font().family(), QStringLiteral("Courier New"));
        QCOMPARE(box.campo()->font().pointSizeF(), 9.0);
        box.setProperty("ToolTipText", QStringLiteral("Entrate"));
        QCOMPARE(box.campo()->toolTip(), QStringLiteral("Entrate"));
    }
};

QTEST_MAIN(TestValutaBox)
#include "tst_valutabox.moc"
