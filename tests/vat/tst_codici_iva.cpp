#include <QInputMethodEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "AltroComputer.h"
#include "ArchivioIva.h"
#include "Colori.h"
#include "FormHelpers.h"
#include "Programma.h"
#include "frmCodiciIva.h"

using Answer = Interaction::Answer;
using Icon = Interaction::Icon;

// The VAT code editor driven as a person drives it: keys, Tab, clicks, and the archive after.
class TestCodiciIva : public QObject {
    Q_OBJECT
  private:
    static QLineEdit* campo(QWidget* w, const char* nome) {
        return w->findChild<QLineEdit*>(QString::fromLatin1(nome));
    }
    static QLineEdit* codice(QWidget* w) { return campo(w, "txtCodiceIva"); }
    static QLineEdit* descrizione(QWidget* w) { return campo(w, "txtDescrizioneIva"); }
    static QLineEdit* aliquota(QWidget* w) { return campo(w, "txtAliquota"); }
    static QPushButton* pulsante(QWidget* w, const char* nome) {
        return w->findChild<QPushButton*>(QString::fromLatin1(nome));
    }
    static QList<QRadioButton*> opzioni(QWidget* w) {
        return {w->findChild<QRadioButton*>(QStringLiteral("optFlagArt8")),
                w->findChild<QRadioButton*>(QStringLiteral("optFlagFattureEsenti")),
                w->findChild<QRadioButton*>(QStringLiteral("optFlagAltreEsenzioni"))};
    }
    static void componi(QLineEdit* campo, const QString& testo) {
        QInputMethodEvent evento;
        evento.setCommitString(testo);
        QApplication::sendEvent(campo, &evento);
    }
    static void tab() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); }
    static void clicca(QWidget* w, const char* nome) {
        QTest::mouseClick(pulsante(w, nome), Qt::LeftButton);
    }
    // Types a code and moves on to the description, which loads it.
    static void apriCodice(QWidget* w, const char* testo) {
        codice(w)->setFocus();
        QTest::keyClicks(codice(w), QString::fromLatin1(testo));
        QTest::keyClick(codice(w), Qt::Key_Tab);
    }
    static void scriviAliquota(QWidget* w, const char* testo) {
        QTest::mouseClick(aliquota(w), Qt::LeftButton);
        aliquota(w)->selectAll();
        QTest::keyClicks(aliquota(w), QString::fromLatin1(testo));
    }
    static void scriviDescrizione(QWidget* w, const QString& testo) {
        descrizione(w)->selectAll();
        QTest::keyClicks(descrizione(w), testo);
    }
    static int quantiCodici(TestEnvironment& env) {
        return env.scalar(QStringLiteral(R"(SELECT count(*) FROM "Codici Iva")")).toInt();
    }
    static QString descrizioneSalvata(TestEnvironment& env, const QString& codiceIva) {
        return env
            .scalar(QStringLiteral(R"(SELECT "Descrizione Iva" FROM "Codici Iva"
                                      WHERE "Codice Iva" = ?)"),
                    {codiceIva})
            .toString();
    }
    static QStringList testiMessaggi(TestEnvironment& env) {
        QStringList testi;
        for (const auto& m : env.ui.messages) {
            testi.append(m.title + QLatin1Char('|') + m.text);
        }
        return testi;
    }
    static void codiciDiProva(QSqlDatabase db) {
        aggiungiCodice(db, QStringLiteral("004"), QStringLiteral("Iva 4%"), importo("4"));
        aggiungiCodice(db, QStringLiteral("007"), QStringLiteral("Iva sette"), importo("7"));
        aggiungiCodice(db, QStringLiteral("022"), QStringLiteral("IVA 22%"), importo("22"));
    }

  private slots:
    void theCodeIsTypedAsThreeDigitsAndLoaded() {
        TestEnvironment env;
        codiciDiProva(env.openNewArchive());
        frmCodiciIva w(nullptr);
        mostraAttiva(&w);

        // Key-entry state: only the key, the description and the browse buttons are usable.
        QCOMPARE(w.windowTitle(), QStringLiteral("Codici IVA"));
        QVERIFY(codice(&w)->hasFocus());
        QCOMPARE(sfondo(codice(&w)), coloreModifica());
        QCOMPARE(tag(&w), QString());
        QVERIFY(!aliquota(&w)->isEnabled());
        QVERIFY(!pulsante(&w, "cmdNuovo")->isEnabled());
        QVERIFY(!pulsante(&w, "cmdCancella")->isEnabled());
        QVERIFY(pulsante(&w, "cmdSuc")->isEnabled());
        QVERIFY(pulsante(&w, "cmdNuovo")->isDefault());

        QTest::keyClicks(codice(&w), QStringLiteral("a"));
        componi(codice(&w), QStringLiteral("7b"));  // as an input method commits it
        QCOMPARE(codice(&w)->text(), QStringLiteral("7"));
        QCOMPARE(env.ui.beeps, 2);
        QTest::keyClick(codice(&w), Qt::Key_Tab);

        QCOMPARE(codice(&w)->text(), QStringLiteral("007"));
        QVERIFY(!codice(&w)->isEnabled());
        QCOMPARE(descrizione(&w)->text(), QStringLiteral("Iva sette"));
        QCOMPARE(aliquota(&w)->text(), QStringLiteral("7,00"));
        QVERIFY(descrizione(&w)->hasFocus());
        QCOMPARE(sfondo(descrizione(&w)), coloreModifica());
        QCOMPARE(tag(&w), QStringLiteral("DATI"));
        QVERIFY(aliquota(&w)->isEnabled());
        QVERIFY(pulsante(&w, "cmdCancella")->isEnabled());
        for (QRadioButton* opt : opzioni(&w)) {
            QVERIFY(!opt->isEnabled());
            QVERIFY(!opt->isChecked());
        }
        // Leaving and entering the description again keeps what was typed in it.
        scriviDescrizione(&w, QStringLiteral("Cambiata"));
        tab();
        QTest::keyClick(aliquota(&w), Qt::Key_Tab, Qt::ShiftModifier);
        QVERIFY(descrizione(&w)->hasFocus());
        QCOMPARE(descrizione(&w)->text(), QStringLiteral("Cambiata"));
        QCOMPARE(env.ui.messages.size(), 0);

        for (const char* zero : {"0", "00", "000"}) {
            frmCodiciIva nuova(nullptr);
            mostraAttiva(&nuova);
            env.ui.clear();
            apriCodice(&nuova, zero);
            QCOMPARE(testiMessaggi(env),
                     QStringList({QStringLiteral("CODICI IVA - Codice|Codice non valido!")}));
            QCOMPARE(env.ui.messages[0].icon, Icon::Exclamation);
            QCOMPARE(env.ui.beeps, 1);
            QVERIFY(codice(&nuova)->hasFocus());
            QVERIFY(codice(&nuova)->isEnabled());
            QCOMPARE(codice(&nuova)->selectedText(), QStringLiteral("000"));
        }
    }

    void f4PicksACodeAndACancelledLookupEmptiesIt() {
        TestEnvironment env;
        codiciDiProva(env.openNewArchive());
        frmCodiciIva w(nullptr);
        mostraAttiva(&w);

        bool ricercaInCorso = false;
        int righe = 0;
        allaRicerca([&](frmRicercaIva* ricerca) {
            ricercaInCorso = programma().RicercaInCorso;
            auto* lista = ricerca->findChild<QListWidget*>(QStringLiteral("lstRicerca"));
            righe = lista->count();
            lista->setCurrentRow(2);
            ricerca->findChild<QPushButton*>(QStringLiteral("cmdOk"))->click();
        });
        QTest::keyClick(codice(&w), Qt::Key_F4);
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QVERIFY(ricercaInCorso);
        QVERIFY(!programma().RicercaInCorso);
        QCOMPARE(righe, 3);
        QCOMPARE(codice(&w)->text(), QStringLiteral("022"));
        QVERIFY(descrizione(&w)->hasFocus());
        QCOMPARE(descrizione(&w)->text(), QStringLiteral("IVA 22%"));
        QCOMPARE(sfondo(codice(&w)), coloreDisabilitato());

        frmCodiciIva seconda(nullptr);
        mostraAttiva(&seconda);
        env.ui.clear();
        QTest::keyClicks(codice(&seconda), QStringLiteral("9"));
        allaRicerca([&](frmRicercaIva* ricerca) {
            righe = ricerca->findChild<QListWidget*>(QStringLiteral("lstRicerca"))->count();
            ricerca->findChild<QPushButton*>(QStringLiteral("cmdCancel"))->click();
        });
        QTest::keyClick(codice(&seconda), Qt::Key_F4);
        QVERIFY(QTest::qWaitForWindowActive(&seconda));
        QCOMPARE(righe, 0);
        QCOMPARE(codice(&seconda)->text(), QString());
        QCOMPARE(env.ui.beeps, 1);  // the description refuses an empty code
        QVERIFY(codice(&seconda)->hasFocus());
        QCOMPARE(tag(&seconda), QString());
        QCOMPARE(env.ui.messages.size(), 0);
    }

    void theRateIsCheckedWhenLeft() {
        TestEnvironment env;
        env.openNewArchive();
        frmCodiciIva w(nullptr);
        mostraAttiva(&w);
        apriCodice(&w, "50");
        QTest::keyClicks(descrizione(&w), QStringLiteral("Prova"));

        scriviAliquota(&w, "22");
        tab();
        QCOMPARE(aliquota(&w)->text(), QStringLiteral("22,00"));
        QCOMPARE(env.ui.messages.size(), 0);
        for (QRadioButton* opt : opzioni(&w)) {
            QVERIFY(!opt->isEnabled());
        }

        // 100 passes this window's check but not the shared percentage check.
        scriviAliquota(&w, "100");
        tab();
        QCOMPARE(testiMessaggi(env), QStringList({QStringLiteral("Attenzione|VALORE ERRATO!")}));
        QVERIFY(aliquota(&w)->hasFocus());

        env.ui.clear();
        aliquota(&w)->setText(QStringLiteral("-1"));
        tab();
        QCOMPARE(testiMessaggi(env),
                 QStringList({QStringLiteral("CODICI IVA - Aliquota|VALORE ERRATO!")}));
        QCOMPARE(env.ui.messages[0].icon, Icon::Exclamation);
        QVERIFY(aliquota(&w)->hasFocus());
        QCOMPARE(aliquota(&w)->selectedText(), aliquota(&w)->text());

        env.ui.clear();
        scriviAliquota(&w, "101");
        tab();
        QCOMPARE(testiMessaggi(env),
                 QStringList({QStringLiteral("Attenzione|VALORE ERRATO!"),
                              QStringLiteral("CODICI IVA - Aliquota|VALORE ERRATO!")}));
        QVERIFY(aliquota(&w)->hasFocus());

        // A zero rate opens the exemptions and moves on to the first.
        env.ui.clear();
        scriviAliquota(&w, "0");
        tab();
        QCOMPARE(env.ui.messages.size(), 0);
        QCOMPARE(aliquota(&w)->text(), QStringLiteral("0,00"));
        for (QRadioButton* opt : opzioni(&w)) {
            QVERIFY(opt->isEnabled());
        }
        QVERIFY(opzioni(&w)[0]->hasFocus());

        // Text that an input method commits meets the same key rules as typed keys.
        scriviAliquota(&w, "");
        componi(aliquota(&w), QStringLiteral("12.5"));
        QCOMPARE(aliquota(&w)->text(), QStringLiteral("125,00"));
        QCOMPARE(env.ui.beeps, 1);
    }

    void aRateOtherThanZeroDropsTheExemption() {
        TestEnvironment env;
        QSqlDatabase db = env.openNewArchive();
        aggiungiCodice(db, QStringLiteral("010"), QStringLiteral("Esente"), Money(), 0, 1, 0);
        frmCodiciIva w(nullptr);
        mostraAttiva(&w);
        apriCodice(&w, "10");
        QVERIFY(opzioni(&w)[1]->isChecked());
        QVERIFY(opzioni(&w)[1]->isEnabled());
        QVERIFY(!opzioni(&w)[0]->isChecked());

        QTest::mouseClick(opzioni(&w)[2], Qt::LeftButton);
        QVERIFY(opzioni(&w)[2]->isChecked());
        QVERIFY(!opzioni(&w)[1]->isChecked());

        scriviAliquota(&w, "22");
        tab();
        for (QRadioButton* opt : opzioni(&w)) {
            QVERIFY(!opt->isChecked());
            QVERIFY(!opt->isEnabled());
        }
        clicca(&w, "cmdNuovo");
        QCOMPARE(env.scalar(QStringLiteral(R"(SELECT "Aliquota" FROM "Codici Iva")")).toLongLong(),
                 importo("22").units());
        QCOMPARE(env.scalar(QStringLiteral(R"(SELECT "Flag Articolo 8" + "Flag Fatture Esenti"
                                             + "Flag Altre Esenzioni" FROM "Codici Iva")"))
                     .toInt(),
                 0);

        apriCodice(&w, "010");
        scriviAliquota(&w, "0");
        tab();
        QTest::mouseClick(opzioni(&w)[0], Qt::LeftButton);
        QTest::keyClick(opzioni(&w)[0], Qt::Key_Return);
        QCOMPARE(
            env.scalar(QStringLiteral(R"(SELECT "Flag Articolo 8" FROM "Codici Iva")")).toInt(), 1);
        QCOMPARE(
            env.scalar(QStringLiteral(R"(SELECT "Flag Fatture Esenti" FROM "Codici Iva")")).toInt(),
            0);

        // By keys alone: the arrows choose the option they reach, Tab from the chosen one
        // goes to the save button and Enter there saves the record.
        apriCodice(&w, "11");
        QTest::keyClicks(descrizione(&w), QStringLiteral("Esente"));
        tab();
        QTest::keyClicks(aliquota(&w), QStringLiteral("0"));
        tab();
        QVERIFY(opzioni(&w)[0]->hasFocus() && !opzioni(&w)[0]->isChecked());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QVERIFY(opzioni(&w)[1]->isChecked());  // chosen, even with none chosen before
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QVERIFY(opzioni(&w)[2]->isChecked() && opzioni(&w)[2]->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
        QVERIFY(opzioni(&w)[1]->isChecked());
        tab();
        QCOMPARE(QApplication::focusWidget(), pulsante(&w, "cmdNuovo"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(env.ui.messages.size(), 0);
        QCOMPARE(env.scalar(QStringLiteral(R"(SELECT "Flag Articolo 8" + 2 * "Flag Fatture Esenti"
                                             + 4 * "Flag Altre Esenzioni" FROM "Codici Iva"
                                             WHERE "Codice Iva" = '011')"))
                     .toInt(),
                 2);
    }

    void savingAddsANewCodeAndEditsAStoredOne() {
        TestEnvironment env;
        env.openNewArchive();
        frmCodiciIva w(nullptr);
        mostraAttiva(&w);

        apriCodice(&w, "33");
        QVERIFY(!pulsante(&w, "cmdCancella")->isEnabled());  // nothing stored to delete yet
        QTest::keyClicks(descrizione(&w), QStringLiteral("Nuova"));
        scriviAliquota(&w, "10");
        QTest::keyClick(aliquota(&w), Qt::Key_Return);
        QCOMPARE(quantiCodici(env), 1);
        QCOMPARE(descrizioneSalvata(env, QStringLiteral("033")), QStringLiteral("Nuova"));
        QCOMPARE(env.scalar(QStringLiteral(R"(SELECT "Aliquota" FROM "Codici Iva")")).toLongLong(),
                 importo("10").units());
        // Saved and cleared: back to the key.
        QCOMPARE(codice(&w)->text(), QString());
        QCOMPARE(descrizione(&w)->text(), QString());
        QCOMPARE(aliquota(&w)->text(), QString());
        QVERIFY(codice(&w)->isEnabled());
        QVERIFY(codice(&w)->hasFocus());
        QCOMPARE(tag(&w), QString());

        apriCodice(&w, "033");
        QCOMPARE(descrizione(&w)->text(), QStringLiteral("Nuova"));
        scriviDescrizione(&w, QStringLiteral("Cambiata"));
        QTest::keyClick(descrizione(&w), Qt::Key_Return);
        QCOMPARE(quantiCodici(env), 1);
        QCOMPARE(descrizioneSalvata(env, QStringLiteral("033")), QStringLiteral("Cambiata"));

        // A rate typed out of range and not yet left is refused on saving too.
        apriCodice(&w, "033");
        scriviAliquota(&w, "150");
        QTest::keyClick(aliquota(&w), Qt::Key_Return);
        QCOMPARE(testiMessaggi(env),
                 QStringList({QStringLiteral("CODICI IVA - Aliquota|VALORE ERRATO!")}));
        QCOMPARE(env.scalar(QStringLiteral(R"(SELECT "Aliquota" FROM "Codici Iva")")).toLongLong(),
                 importo("10").units());
        QVERIFY(aliquota(&w)->hasFocus());

        // Both key fields are needed, the code first.
        env.ui.clear();
        aliquota(&w)->setText(QStringLiteral("10,00"));
        descrizione(&w)->clear();
        QTest::keyClick(aliquota(&w), Qt::Key_Return);
        QCOMPARE(testiMessaggi(env),
                 QStringList({QStringLiteral("Codici IVA|La DESCRIZIONE IVA e' un campo "
                                             "necessario!")}));
        QVERIFY(descrizione(&w)->hasFocus());
        QCOMPARE(descrizioneSalvata(env, QStringLiteral("033")), QStringLiteral("Cambiata"));
    }

    // The same new code saved by another computer at the same moment: ours is stored over
    // it, with no key error.
    void aNewCodeSavedMeanwhileElsewhereIsUpdated() {
        TestEnvironment env;
        env.openNewArchive();
        frmCodiciIva w(nullptr);
        mostraAttiva(&w);
        apriCodice(&w, "44");
        QTest::keyClicks(descrizione(&w), QStringLiteral("Nostra"));
        scriviAliquota(&w, "4");
        AltroComputer altro(programma().PercorsoArchivio,
                            QStringLiteral(R"(INSERT INTO "Codici Iva" ("Codice Iva",
                                              "Descrizione Iva") VALUES ('044', 'Altrui'))"),
                            {});
        QTest::keyClick(aliquota(&w), Qt::Key_Return);
        QVERIFY(altro.concluso());
        QCOMPARE(testiMessaggi(env), QStringList());
        QCOMPARE(descrizioneSalvata(env, QStringLiteral("044")), QStringLiteral("Nostra"));
        QCOMPARE(quantiCodici(env), 1);
    }

    void browsingFollowsTheCodeOrder() {
        TestEnvironment env;
        codiciDiProva(env.openNewArchive());
        frmCodiciIva w(nullptr);
        mostraAttiva(&w);

        // From an empty code the previous button shows the first code.
        clicca(&w, "cmdPre");
        QCOMPARE(codice(&w)->text(), QStringLiteral("004"));
        for (const char* atteso : {"007", "022"}) {
            clicca(&w, "cmdSuc");
            QCOMPARE(codice(&w)->text(), QString::fromLatin1(atteso));
        }
        QCOMPARE(descrizione(&w)->text(), QStringLiteral("IVA 22%"));
        QCOMPARE(tag(&w), QStringLiteral("DATI"));
        QCOMPARE(env.ui.beeps, 0);
        clicca(&w, "cmdSuc");  // past the last code
        QCOMPARE(env.ui.beeps, 1);
        QCOMPARE(codice(&w)->text(), QStringLiteral("022"));
        QCOMPARE(descrizione(&w)->text(), QStringLiteral("IVA 22%"));
        clicca(&w, "cmdPre");
        QCOMPARE(codice(&w)->text(), QStringLiteral("007"));

        // After a deletion browsing goes on from where the deleted code stood.
        env.ui.answers.enqueue(Answer::Yes);
        clicca(&w, "cmdCancella");
        QCOMPARE(quantiCodici(env), 2);
        QCOMPARE(codice(&w)->text(), QString());
        clicca(&w, "cmdSuc");
        QCOMPARE(codice(&w)->text(), QStringLiteral("022"));
        clicca(&w, "cmdPre");
        QCOMPARE(codice(&w)->text(), QStringLiteral("004"));
        env.ui.clear();
        clicca(&w, "cmdPre");
        QCOMPARE(env.ui.beeps, 1);
        QCOMPARE(codice(&w)->text(), QStringLiteral("004"));

        // Unsaved changes are offered for saving first; No leaves them behind.
        scriviDescrizione(&w, QStringLiteral("Modificata"));
        env.ui.answers.enqueue(Answer::No);
        clicca(&w, "cmdSuc");
        QCOMPARE(testiMessaggi(env),
                 QStringList({QStringLiteral("DATI MODIFICATI!|Vuoi mantenere le modifiche?")}));
        QCOMPARE(codice(&w)->text(), QStringLiteral("022"));
        QCOMPARE(descrizioneSalvata(env, QStringLiteral("004")), QStringLiteral("Iva 4%"));
        scriviDescrizione(&w, QStringLiteral("Salvata"));
        env.ui.answers.enqueue(Answer::Yes);
        clicca(&w, "cmdPre");
        QCOMPARE(descrizioneSalvata(env, QStringLiteral("022")), QStringLiteral("Salvata"));
        QCOMPARE(codice(&w)->text(), QStringLiteral("004"));
        QCOMPARE(descrizione(&w)->text(), QStringLiteral("Iva 4%"));

        // From an empty code the next button shows the last code.
        w.close();
        frmCodiciIva nuova(nullptr);
        mostraAttiva(&nuova);
        clicca(&nuova, "cmdSuc");
        QCOMPARE(codice(&nuova)->text(), QStringLiteral("022"));
    }

    void enterAndEscActOnlyOnARecord() {
        TestEnvironment env;
        codiciDiProva(env.openNewArchive());
        frmCodiciIva w(nullptr);
        mostraAttiva(&w);

        QTest::keyClick(codice(&w), Qt::Key_Return);
        QTest::keyClick(codice(&w), Qt::Key_Escape);
        QVERIFY(w.isVisible());
        QCOMPARE(env.ui.messages.size(), 0);
        QCOMPARE(quantiCodici(env), 3);

        apriCodice(&w, "7");
        env.ui.answers.enqueue(Answer::No);
        QTest::keyClick(descrizione(&w), Qt::Key_Escape);
        QCOMPARE(testiMessaggi(env),
                 QStringList({QStringLiteral("Operazione irreversibile!|Sei sicuro di procedere "
                                             "all'eliminazione del RECORD CODICE IVA ?")}));
        QCOMPARE(env.ui.messages[0].icon, Icon::Question);
        QCOMPARE(env.ui.messages[0].defaultAnswer, Answer::No);  // a stray Enter keeps it
        QCOMPARE(quantiCodici(env), 3);
        QCOMPARE(codice(&w)->text(), QStringLiteral("007"));
        env.ui.answers.enqueue(Answer::Yes);
        QTest::keyClick(descrizione(&w), Qt::Key_Escape);
        QCOMPARE(quantiCodici(env), 2);
        QCOMPARE(codice(&w)->text(), QString());
        QCOMPARE(descrizione(&w)->text(), QString());
        QVERIFY(codice(&w)->hasFocus());
        QVERIFY(w.isVisible());

        // A code not stored yet has nothing to delete.
        env.ui.clear();
        apriCodice(&w, "8");
        QTest::keyClick(descrizione(&w), Qt::Key_Escape);
        QCOMPARE(env.ui.messages.size(), 0);
        QVERIFY(w.isVisible());
    }

    void closingAsksAboutUnsavedChanges() {
        TestEnvironment env;
        env.openNewArchive();
        frmCodiciIva w(nullptr);
        mostraAttiva(&w);
        apriCodice(&w, "44");

        env.ui.answers.enqueue(Answer::Yes);
        QVERIFY(!w.close());
        QCOMPARE(testiMessaggi(env),
                 QStringList({QStringLiteral("CODICI IVA - Dati modificati!|Vuoi mantenere le "
                                             "modifiche?"),
                              QStringLiteral("Codici IVA|La DESCRIZIONE IVA e' un campo "
                                             "necessario!")}));
        QCOMPARE(env.ui.messages[0].buttons, Interaction::Buttons::YesNoCancel);
        QVERIFY(w.isVisible());

        QTest::keyClicks(descrizione(&w), QStringLiteral("Da tenere"));
        env.ui.answers.enqueue(Answer::Cancel);
        QVERIFY(!w.close());
        QVERIFY(w.isVisible());
        QCOMPARE(quantiCodici(env), 0);

        env.ui.answers.enqueue(Answer::No);
        QVERIFY(w.close());
        QCOMPARE(quantiCodici(env), 0);

        frmCodiciIva seconda(nullptr);
        mostraAttiva(&seconda);
        apriCodice(&seconda, "44");
        QTest::keyClicks(descrizione(&seconda), QStringLiteral("Da tenere"));
        env.ui.answers.enqueue(Answer::Yes);
        QVERIFY(seconda.close());
        QCOMPARE(descrizioneSalvata(env, QStringLiteral("044")), QStringLiteral("Da tenere"));

        // Nothing changed: no question.
        frmCodiciIva terza(nullptr);
        mostraAttiva(&terza);
        apriCodice(&terza, "44");
        env.ui.clear();
        QVERIFY(terza.close());
        QCOMPARE(env.ui.messages.size(), 0);
    }

    void restoreBringsBackTheStoredRecord() {
        TestEnvironment env;
        codiciDiProva(env.openNewArchive());
        frmCodiciIva w(nullptr);
        mostraAttiva(&w);
        apriCodice(&w, "22");
        scriviDescrizione(&w, QStringLiteral("Sbagliata"));

        env.ui.answers.enqueue(Answer::No);
        clicca(&w, "cmdRipristina");
        QCOMPARE(descrizione(&w)->text(), QStringLiteral("Sbagliata"));
        env.ui.answers.enqueue(Answer::Yes);
        clicca(&w, "cmdRipristina");
        QCOMPARE(testiMessaggi(env).last(),
                 QStringLiteral("Vardello|I dati sono stati modificati.\nVuoi ripristinare?"));
        QCOMPARE(descrizione(&w)->text(), QStringLiteral("IVA 22%"));
        QCOMPARE(codice(&w)->text(), QStringLiteral("022"));
        QVERIFY(!codice(&w)->isEnabled());
        env.ui.clear();
        QVERIFY(w.close());  // restored: nothing left to save
        QCOMPARE(env.ui.messages.size(), 0);

        frmCodiciIva nuova(nullptr);
        mostraAttiva(&nuova);
        apriCodice(&nuova, "55");
        QTest::keyClicks(descrizione(&nuova), QStringLiteral("Mai salvata"));
        env.ui.answers.enqueue(Answer::Yes);
        clicca(&nuova, "cmdRipristina");
        QCOMPARE(codice(&nuova)->text(), QString());
        QCOMPARE(descrizione(&nuova)->text(), QString());
        QVERIFY(codice(&nuova)->hasFocus());
        QCOMPARE(tag(&nuova), QString());
    }

    void engineFailuresAreToldAndNothingLooksSaved() {
        TestEnvironment env;
        codiciDiProva(env.openNewArchive());
        frmCodiciIva w(nullptr);
        mostraAttiva(&w);
        apriCodice(&w, "66");
        QTest::keyClicks(descrizione(&w), QStringLiteral("Persa"));
        env.exec(QStringLiteral(R"(ALTER TABLE "Codici Iva" RENAME TO "Spostata")"));

        QTest::keyClick(descrizione(&w), Qt::Key_Return);
        QCOMPARE(env.ui.messages.size(), 2);
        QVERIFY(env.ui.messages[0].text.startsWith(QStringLiteral("Codice errore = ")));
        QCOMPARE(env.ui.messages[0].title, QStringLiteral("Errore!"));
        QCOMPARE(env.ui.messages[0].icon, Icon::Critical);
        QCOMPARE(testiMessaggi(env)[1],
                 QStringLiteral("Vardello|Errore durante la scrittura del record!"));
        QCOMPARE(env.ui.messages[1].icon, Icon::None);

        env.ui.clear();
        apriCodice(&w, "4");
        QCOMPARE(env.ui.messages.size(), 1);
        QVERIFY(env.ui.messages[0].text.startsWith(
            QStringLiteral("Se e' verificato un ERRORE NON GESTITO!\n\nCodice di errore: ")));
        QCOMPARE(env.ui.messages[0].title, QStringLiteral("Attenzione!"));
        QVERIFY(codice(&w)->isEnabled());
        QVERIFY(codice(&w)->hasFocus());

        // A deletion that fails leaves the record on screen.
        env.exec(QStringLiteral(R"(ALTER TABLE "Spostata" RENAME TO "Codici Iva")"));
        apriCodice(&w, "4");
        QCOMPARE(descrizione(&w)->text(), QStringLiteral("Iva 4%"));
        env.exec(QStringLiteral(R"(ALTER TABLE "Codici Iva" RENAME TO "Spostata")"));
        env.ui.clear();
        env.ui.answers.enqueue(Answer::Yes);
        clicca(&w, "cmdCancella");
        QCOMPARE(env.ui.messages.size(), 2);
        QVERIFY(env.ui.messages[1].text.startsWith(
            QStringLiteral("Errore durante l'eliminazione del record!\n\nCodice errore = ")));
        QCOMPARE(descrizione(&w)->text(), QStringLiteral("Iva 4%"));
        QCOMPARE(codice(&w)->text(), QStringLiteral("004"));
    }
};

QTEST_MAIN(TestCodiciIva)
#include "tst_codici_iva.moc"
