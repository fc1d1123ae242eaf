#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "Colori.h"
#include "DatiCondivisi.h"
#include "Programma.h"
#include "TestEnvironment.h"
#include "frmAccesso.h"

// The log-in window: who gets in, with which name, and when the program must end.
class TestAccesso : public QObject {
    Q_OBJECT
  private:
    static void addUser(TestEnvironment& env, const QString& name, const QVariant& password) {
        env.exec(QStringLiteral(R"(INSERT INTO "Tabella utenti" VALUES (?, ?))"), {name, password});
    }

    static QString lastUser(const QString& computer) {
        return LeggiRiferimento(DbArchivio(), QStringLiteral("Accesso ") + computer);
    }

    // The window on screen and active, so that focus moves as a person's clicks move it.
    static void showActive(frmAccesso& login) {
        login.show();
        login.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&login));
    }

    static QComboBox* user(frmAccesso& login) {
        return login.findChild<QComboBox*>(QStringLiteral("cmbUtente"));
    }
    static QLineEdit* password(frmAccesso& login) {
        return login.findChild<QLineEdit*>(QStringLiteral("txtPwd"));
    }
    static QPushButton* button(frmAccesso& login, const char* name) {
        return login.findChild<QPushButton*>(QString::fromLatin1(name));
    }

    // Types the user and the password and clicks OK, as a person would.
    static void attempt(frmAccesso& login, const QString& name, const QString& pwd) {
        user(login)->setEditText(name);
        password(login)->setFocus();
        password(login)->selectAll();
        QTest::keyClicks(password(login), pwd);
        QTest::mouseClick(button(login, "cmdOk"), Qt::LeftButton);
    }

  private slots:
    void anEmptyUserTableCreatesTheAdministrator() {
        // An emptied name logs in as the administrator just created.
        for (const QString& nome :
             {QStringLiteral("Supervisore"), QString(), QStringLiteral(" ")}) {
            TestEnvironment env;
            env.openNewArchive();
            frmAccesso login;
            showActive(login);
            QCOMPARE(user(login)->currentText(), QStringLiteral("Supervisore"));
            attempt(login, nome, QStringLiteral("qualsiasi"));
            QCOMPARE(login.result(), int(QDialog::Accepted));
            QCOMPARE(programma().UtenteCorrente, QStringLiteral("Supervisore"));
            QCOMPARE(env.scalar(QStringLiteral(R"(SELECT count(*) FROM "Tabella utenti")")).toInt(),
                     1);
            QCOMPARE(env.scalar(QStringLiteral(R"(SELECT "Password" FROM "Tabella utenti"
                                                  WHERE "UserName" = 'Supervisore')"))
                         .toString(),
                     QString());
            QCOMPARE(env.ui.messages.size(), 0);
            QCOMPARE(lastUser(QStringLiteral("CASSA1")), QStringLiteral("Supervisore"));
        }
    }

    void theComboOffersTheAdministratorFirstAndOnce() {
        TestEnvironment env;
        env.openNewArchive();
        addUser(env, QStringLiteral("Mario"), QStringLiteral("m"));
        addUser(env, QStringLiteral("Supervisore"), QStringLiteral("s"));
        addUser(env, QStringLiteral(""), QStringLiteral("x"));
        addUser(env, QStringLiteral("Anna"), QVariant());
        frmAccesso login;
        QComboBox* combo = user(login);
        QCOMPARE(combo->count(), 3);
        QCOMPARE(combo->itemText(0), QStringLiteral("Supervisore"));
        QCOMPARE(combo->currentIndex(), 0);
        const QStringList others = {combo->itemText(1), combo->itemText(2)};
        QVERIFY(others.contains(QStringLiteral("Mario")));
        QVERIFY(others.contains(QStringLiteral("Anna")));
        // A NULL password reads as empty.
        showActive(login);
        attempt(login, QStringLiteral("Anna"), QString());
        QCOMPARE(programma().UtenteCorrente, QStringLiteral("Anna"));
    }

    void theLastUserIsRememberedPerComputer() {
        TestEnvironment env;
        env.openNewArchive();
        addUser(env, QStringLiteral("Mario"), QStringLiteral("m"));
        addUser(env, QStringLiteral("Anna"), QStringLiteral("a"));
        {
            frmAccesso login;
            showActive(login);
            attempt(login, QStringLiteral("Anna"), QStringLiteral("a"));
            QCOMPARE(login.result(), int(QDialog::Accepted));
        }
        env.platform.computer = QStringLiteral("CASSA2");
        {
            frmAccesso login;
            QCOMPARE(user(login)->currentText(), QStringLiteral("Supervisore"));
            showActive(login);
            attempt(login, QStringLiteral("Mario"), QStringLiteral("m"));
        }
        env.platform.computer = QStringLiteral("CASSA1");
        {
            frmAccesso login;
            QCOMPARE(user(login)->currentText(), QStringLiteral("Anna"));
            // Giving up stores nothing.
            user(login)->setEditText(QStringLiteral("Mario"));
            QTest::mouseClick(button(login, "cmdAnnulla"), Qt::LeftButton);
        }
        QCOMPARE(lastUser(QStringLiteral("CASSA1")), QStringLiteral("Anna"));
        QCOMPARE(lastUser(QStringLiteral("CASSA2")), QStringLiteral("Mario"));
    }

    void theNameIgnoresLetterCaseThePasswordDoesNot() {
        TestEnvironment env;
        env.openNewArchive();
        addUser(env, QStringLiteral("Élodie"), QStringLiteral("Segreta"));
        frmAccesso login;
        showActive(login);

        attempt(login, QStringLiteral("Nessuno"), QStringLiteral("Segreta"));
        QCOMPARE(env.ui.messages.size(), 1);
        QCOMPARE(env.ui.messages[0].text, QStringLiteral("Utente non trovato."));
        QCOMPARE(env.ui.messages[0].title, QStringLiteral("Vardello"));
        QCOMPARE(env.ui.messages[0].icon, Interaction::Icon::Exclamation);
        QCOMPARE(env.ui.beeps, 1);

        attempt(login, QStringLiteral("éLODIE"), QStringLiteral("segreta"));
        QCOMPARE(env.ui.messages.size(), 2);
        QCOMPARE(env.ui.messages[1].text, QStringLiteral("Password errata."));
        QCOMPARE(env.ui.messages[1].title, QStringLiteral("Vardello"));
        QCOMPARE(env.ui.beeps, 2);
        // The password is offered again for retyping.
        QCOMPARE(QApplication::focusWidget(), password(login));
        QCOMPARE(password(login)->selectedText(), QStringLiteral("segreta"));
        QVERIFY(login.isVisible());

        attempt(login, QStringLiteral("  éLODIE "), QStringLiteral("Segreta"));
        QCOMPARE(login.result(), int(QDialog::Accepted));
        QCOMPARE(programma().UtenteCorrente, QStringLiteral("  éLODIE "));
        QCOMPARE(env.ui.messages.size(), 2);
    }

    void aTrailingBlankCountsOnlyWhenEnterConfirms() {
        TestEnvironment env;
        env.openNewArchive();
        addUser(env, QStringLiteral("Mario"), QStringLiteral("abc"));
        frmAccesso login;
        showActive(login);
        user(login)->setEditText(QStringLiteral("Mario"));
        QCOMPARE(QApplication::focusWidget(), password(login));
        QCOMPARE(sfondo(password(login)), coloreModifica());
        QTest::keyClicks(password(login), QStringLiteral("abc "));
        QTest::keyClick(password(login), Qt::Key_Return);
        QCOMPARE(env.ui.messages.size(), 1);
        QCOMPARE(env.ui.messages[0].text, QStringLiteral("Password errata."));
        QVERIFY(login.isVisible());

        // The click takes the focus away first, and the field drops the blank.
        QTest::keyClicks(password(login), QStringLiteral("abc "));
        QTest::mouseClick(button(login, "cmdOk"), Qt::LeftButton);
        QCOMPARE(env.ui.messages.size(), 1);
        QCOMPARE(login.result(), int(QDialog::Accepted));
        QCOMPARE(programma().UtenteCorrente, QStringLiteral("Mario"));
    }

    void enterConfirmsFromTheUserFieldAndEscRefreshesTheClock() {
        TestEnvironment env;
        env.openNewArchive();
        addUser(env, QStringLiteral("Mario"), QStringLiteral(""));
        frmAccesso login;
        showActive(login);
        auto* seconds = login.findChild<QLineEdit*>(QStringLiteral("txtData5"));
        auto* year = login.findChild<QLineEdit*>(QStringLiteral("txtData2"));
        QCOMPARE(login.findChild<QLineEdit*>(QStringLiteral("txtData0"))->text(),
                 QStringLiteral("15"));
        QCOMPARE(year->text(), QStringLiteral("05"));
        QCOMPARE(login.findChild<QLineEdit*>(QStringLiteral("txtData3"))->text(),
                 QStringLiteral("10"));
        QCOMPARE(seconds->text(), QStringLiteral("00"));

        env.clock.set(QDateTime(QDate(2006, 1, 2), QTime(9, 5, 7)));
        QTest::keyClick(password(login), Qt::Key_Escape);
        QVERIFY(login.isVisible());
        QCOMPARE(seconds->text(), QStringLiteral("07"));
        QCOMPARE(year->text(), QStringLiteral("06"));

        user(login)->setFocus();
        user(login)->setEditText(QStringLiteral("mario"));
        QTest::keyClick(user(login), Qt::Key_Return);
        QCOMPARE(login.result(), int(QDialog::Accepted));
        QCOMPARE(programma().UtenteCorrente, QStringLiteral("mario"));
    }

    void theThirdFailureEndsTheLogIn() {
        TestEnvironment env;
        env.openNewArchive();
        addUser(env, QStringLiteral("Mario"), QStringLiteral("abc"));
        frmAccesso login;
        int stillOpenAfterTwo = -1;
        QTimer::singleShot(0, &login, [&] {
            showActive(login);
            attempt(login, QStringLiteral("Mario"), QStringLiteral("x"));
            attempt(login, QStringLiteral("Nessuno"), QStringLiteral("abc"));
            stillOpenAfterTwo = login.isVisible() ? 1 : 0;
            attempt(login, QStringLiteral("Mario"), QStringLiteral("y"));
        });
        QCOMPARE(login.exec(), int(QDialog::Rejected));
        QCOMPARE(stillOpenAfterTwo, 1);
        QCOMPARE(login.TentativiFalliti(), 3);
        QCOMPARE(env.ui.messages.size(), 3);
        QVERIFY(programma().UtenteCorrente.isEmpty());
        QCOMPARE(lastUser(QStringLiteral("CASSA1")), QString());
    }

    void twoFailuresThenTheRightPasswordLogsIn() {
        TestEnvironment env;
        env.openNewArchive();
        addUser(env, QStringLiteral("Mario"), QStringLiteral("abc"));
        frmAccesso login;
        showActive(login);
        attempt(login, QStringLiteral("Mario"), QStringLiteral("x"));
        attempt(login, QStringLiteral("Mario"), QStringLiteral("ABC"));
        attempt(login, QStringLiteral("Mario"), QStringLiteral("abc"));
        QCOMPARE(login.result(), int(QDialog::Accepted));
        QCOMPARE(programma().UtenteCorrente, QStringLiteral("Mario"));
    }

    void closingTheWindowEndsLikeCancel() {
        TestEnvironment env;
        env.openNewArchive();
        addUser(env, QStringLiteral("Mario"), QStringLiteral("abc"));
        programma().UtenteCorrente = QStringLiteral("Mario");
        {
            frmAccesso login;
            showActive(login);
            user(login)->setEditText(QStringLiteral("Mario"));
            QTest::keyClicks(password(login), QStringLiteral("abc"));
            QVERIFY(login.close());
            QCOMPARE(login.result(), int(QDialog::Rejected));
            QVERIFY(!login.isVisible());
        }
        QVERIFY(programma().UtenteCorrente.isEmpty());
        {
            frmAccesso login;
            showActive(login);
            QTest::mouseClick(button(login, "cmdAnnulla"), Qt::LeftButton);
            QCOMPARE(login.result(), int(QDialog::Rejected));
        }
        QVERIFY(programma().UtenteCorrente.isEmpty());
        QCOMPARE(lastUser(QStringLiteral("CASSA1")), QString());
        QCOMPARE(env.ui.messages.size(), 0);
    }
};

QTEST_MAIN(TestAccesso)
#include "tst_accesso.moc"
