#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSqlQuery>
#include <QTest>

#include "AltroComputer.h"
#include "Colori.h"
#include "Programma.h"
#include "Sql.h"
#include "TestEnvironment.h"
#include "Utenti.h"
#include "frmAccesso.h"
#include "frmUtenti.h"

// User management: what each user may change, and that only OK writes, all or nothing.
class TestUtenti : public QObject {
    Q_OBJECT
  private:
    // Anna, Mario and the administrator, inserted in no particular order.
    static void addUsers(TestEnvironment& env) {
        env.openNewArchive();
        const QList<QStringList> users = {{QStringLiteral("Mario"), QStringLiteral("m1")},
                                          {QStringLiteral("Supervisore"), QStringLiteral("")},
                                          {QStringLiteral("Anna"), QStringLiteral("a1")}};
        for (const QStringList& u : users) {
            env.exec(QStringLiteral(R"(INSERT INTO "Tabella utenti" VALUES (?, ?))"), {u[0], u[1]});
        }
    }

    // The table as "name=password" pairs, sorted.
    static QStringList table() {
        QSqlQuery q(DbArchivio());
        q.exec(
            QStringLiteral(R"(SELECT "UserName", COALESCE("Password", '') FROM "Tabella utenti")"));
        QStringList rows;
        while (q.next()) {
            rows << q.value(0).toString() + QLatin1Char('=') + q.value(1).toString();
        }
        rows.sort();
        return rows;
    }

    static void showActive(frmUtenti& users) {
        users.show();
        users.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&users));
    }

    static QListWidget* list(frmUtenti& users) {
        return users.findChild<QListWidget*>(QStringLiteral("lstUtenti"));
    }
    static QLineEdit* field(frmUtenti& users, const char* name) {
        return users.findChild<QLineEdit*>(QString::fromLatin1(name));
    }
    static void click(frmUtenti& users, const char* name) {
        QTest::mouseClick(users.findChild<QPushButton*>(QString::fromLatin1(name)), Qt::LeftButton);
    }
    static int rowOf(frmUtenti& users, const QString& name) {
        for (int i = 0; i < list(users)->count(); ++i) {
            if (list(users)->item(i)->text().left(25).trimmed() == name) {
                return i;
            }
        }
        return -1;
    }
    static void doubleClick(frmUtenti& users, const QString& name) {
        QListWidget* l = list(users);
        const QRect line = l->visualItemRect(l->item(rowOf(users, name)));
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, line.center());
        QTest::mouseDClick(l->viewport(), Qt::LeftButton, {}, line.center());
    }
    // Types a new password and its confirmation into the fields loaded by a double click.
    static void typePasswords(frmUtenti& users, const QString& pwd, const QString& confirm) {
        QLineEdit* pwdField = field(users, "txtPwd");
        pwdField->selectAll();
        QTest::keyClicks(pwdField, pwd);
        QTest::keyClick(pwdField, Qt::Key_Tab);
        QTest::keyClicks(field(users, "txtConfermaPwd"), confirm);
    }

  private slots:
    void theCurrentUserIsSelectedAndPasswordsStayOutOfView() {
        TestEnvironment env;
        addUsers(env);
        programma().UtenteCorrente = QStringLiteral("Mario");
        frmUtenti users;
        showActive(users);
        QListWidget* l = list(users);
        QCOMPARE(l->count(), 3);
        QCOMPARE(l->item(0)->text(),
                 QStringLiteral("Anna").leftJustified(25) + QStringLiteral(" a1"));
        QCOMPARE(l->item(1)->text().left(25).trimmed(), QStringLiteral("Mario"));
        QCOMPARE(l->item(2)->text().left(25).trimmed(), QStringLiteral("Supervisore"));
        QCOMPARE(l->selectedItems().size(), 1);
        QCOMPARE(l->selectedItems()[0], l->item(1));

        // A full name fits; the password, from the 27th character, lies beyond the edge and
        // cannot be scrolled into view.
        const QFontMetrics metrics(l->font());
        const QString longest(25, QLatin1Char('W'));
        QVERIFY(l->viewport()->width() >= metrics.horizontalAdvance(longest));
        QVERIFY(l->viewport()->width() <=
                metrics.horizontalAdvance(longest + QStringLiteral(" W")));
        QCOMPARE(l->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QVERIFY(!field(users, "txtUtente")->isEnabled());
        QVERIFY(!field(users, "txtPwd")->isEnabled());
        QVERIFY(!field(users, "txtConfermaPwd")->isEnabled());
    }

    void anOrdinaryUserAddsUsersAndChangesOnlyTheirOwnPassword() {
        TestEnvironment env;
        addUsers(env);
        programma().UtenteCorrente = QStringLiteral("Mario");
        frmUtenti users;
        showActive(users);

        env.ui.inputAnswers.enqueue(QStringLiteral("Luca"));
        click(users, "cmdNuovo");
        QCOMPARE(env.ui.inputPrompts,
                 QStringList{
                     QStringLiteral("Vardello - Nuovo utente|Inserire il nome del nuovo utente")});
        QCOMPARE(list(users)->item(3)->text(), QStringLiteral("Luca").leftJustified(26));

        list(users)->setCurrentRow(0);
        click(users, "cmdCanc");
        QCOMPARE(env.ui.messages.size(), 1);
        QCOMPARE(env.ui.messages[0].text,
                 QStringLiteral("La variazione della tabella utenti è consentita solo all'utente "
                                "'Supervisore', impossibile continuare."));
        QCOMPARE(env.ui.messages[0].title, QStringLiteral("Gestione utenti"));
        QCOMPARE(env.ui.messages[0].icon, Interaction::Icon::Exclamation);
        QCOMPARE(env.ui.beeps, 1);
        QCOMPARE(list(users)->count(), 4);

        doubleClick(users, QStringLiteral("Anna"));
        QCOMPARE(field(users, "txtUtente")->text(), QStringLiteral("Anna"));
        QCOMPARE(field(users, "txtPwd")->text(), QStringLiteral("a1"));
        click(users, "cmdVaria");
        QCOMPARE(env.ui.messages.last().text,
                 QStringLiteral(
                     "E' consentito variare solo la propria password, impossibile continuare."));

        doubleClick(users, QStringLiteral("Mario"));
        QVERIFY(field(users, "txtPwd")->isEnabled());
        QCOMPARE(sfondo(field(users, "txtPwd")), coloreModifica());
        typePasswords(users, QStringLiteral("nuova"), QStringLiteral("nuovA"));
        click(users, "cmdVaria");
        QCOMPARE(env.ui.messages.last().text,
                 QStringLiteral("La password confermata risulta errata."));
        QCOMPARE(QApplication::focusWidget(), field(users, "txtConfermaPwd"));
        QCOMPARE(list(users)->item(rowOf(users, QStringLiteral("Mario")))->text().mid(26),
                 QStringLiteral("m1"));

        // Shift+Tab back to Varia and Enter there; a second Enter then goes to the save
        // button, never to Varia again on the emptied fields.
        field(users, "txtConfermaPwd")->selectAll();
        QTest::keyClicks(field(users, "txtConfermaPwd"), QStringLiteral("nuova"));
        for (int i = 0; i < 3; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
        }
        QCOMPARE(QApplication::focusWidget(),
                 users.findChild<QPushButton*>(QStringLiteral("cmdVaria")));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(env.ui.messages.size(), 3);
        QVERIFY(field(users, "txtUtente")->text().isEmpty());
        QVERIFY(!field(users, "txtPwd")->isEnabled());
        QCOMPARE(sfondo(field(users, "txtPwd")), coloreDisabilitato());
        QCOMPARE(list(users)->item(rowOf(users, QStringLiteral("Mario")))->text().mid(26),
                 QStringLiteral("nuova"));
        QCOMPARE(table(), QStringList({QStringLiteral("Anna=a1"), QStringLiteral("Mario=m1"),
                                       QStringLiteral("Supervisore=")}));

        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(env.ui.messages.size(), 3);
        QCOMPARE(users.result(), int(QDialog::Accepted));
        QCOMPARE(table(),
                 QStringList({QStringLiteral("Anna=a1"), QStringLiteral("Luca="),
                              QStringLiteral("Mario=nuova"), QStringLiteral("Supervisore=")}));
    }

    void theAdministratorCanRemoveItselfAndThenCannotLogIn() {
        TestEnvironment env;
        addUsers(env);
        programma().UtenteCorrente = QStringLiteral("Supervisore");
        {
            frmUtenti users;
            showActive(users);
            QCOMPARE(list(users)->currentRow(), 2);
            click(users, "cmdCanc");
            QCOMPARE(list(users)->count(), 2);
            // Nothing is selected any more: a second Cancella only beeps.
            click(users, "cmdCanc");
            QCOMPARE(list(users)->count(), 2);
            QCOMPARE(env.ui.beeps, 1);
            QCOMPARE(env.ui.messages.size(), 0);
            click(users, "cmdOk");
            QCOMPARE(users.result(), int(QDialog::Accepted));
        }
        QCOMPARE(table(), QStringList({QStringLiteral("Anna=a1"), QStringLiteral("Mario=m1")}));

        frmAccesso login;
        login.show();
        auto* combo = login.findChild<QComboBox*>(QStringLiteral("cmbUtente"));
        QCOMPARE(combo->itemText(0), QStringLiteral("Supervisore"));
        combo->setEditText(QStringLiteral("Supervisore"));
        QTest::mouseClick(login.findChild<QPushButton*>(QStringLiteral("cmdOk")), Qt::LeftButton);
        QCOMPARE(env.ui.messages.size(), 1);
        QCOMPARE(env.ui.messages[0].text, QStringLiteral("Utente non trovato."));
        QVERIFY(login.isVisible());
    }

    // Two computers logging in first on an empty user table at the same moment: the second
    // finds "Supervisore" just added by the first and logs in, with no key error.
    void theFirstLogInOfTwoComputersAtOnceAddsTheAdministratorOnce() {
        TestEnvironment env;
        env.openNewArchive();
        frmAccesso login;
        login.show();
        AltroComputer altro(
            programma().PercorsoArchivio,
            QStringLiteral(
                R"(INSERT INTO "Tabella utenti" ("UserName", "Password") VALUES (?, ?))"),
            {QStringLiteral("Supervisore"), QStringLiteral("")});
        QTest::mouseClick(login.findChild<QPushButton*>(QStringLiteral("cmdOk")), Qt::LeftButton);
        QVERIFY(altro.concluso());
        QCOMPARE(env.ui.messages.size(), 0);
        QCOMPARE(login.result(), int(QDialog::Accepted));
        QCOMPARE(table(), QStringList({QStringLiteral("Supervisore=")}));
    }

    void aRewriteWaitsForAnotherComputersRewriteOnAServer() {
        if (!TestEnvironment::onPostgres()) {
            QSKIP("on a file the engine's write lock serialises the rewrites by itself");
        }
        TestEnvironment env;
        addUsers(env);
        const QStringList before = table();
        // Another computer is rewriting the table and has written a user it has not yet
        // committed: a rewrite that went on regardless would delete the rows it sees and
        // leave that user in, a mix of both lists.
        archivio::Errore e;
        QVERIFY(archivio::apri(programma().PercorsoArchivio, QStringLiteral("altro"), &e));
        {
            QSqlDatabase altro = QSqlDatabase::database(QStringLiteral("altro"));
            QSqlQuery a(altro);
            QVERIFY(altro.transaction());
            QVERIFY(
                a.exec(QStringLiteral(R"(INSERT INTO "Tabella utenti" VALUES ('Intruso', ''))")));
            QSqlQuery q(DbArchivio());
            QVERIFY(q.exec(QStringLiteral("SET lock_timeout = '300ms'")));

            // This rewrite waits for that one instead of mixing with it; here it gives up.
            QVERIFY(!sostituisciUtenti(DbArchivio(), {{QStringLiteral("Luca"), QString()}}, &e));
            QCOMPARE(e.codice, QStringLiteral("55P03"));  // lock_not_available
            QVERIFY(altro.rollback());
        }
        archivio::chiudi(QStringLiteral("altro"));
        QCOMPARE(table(), before);
    }

    // Two computers, each with the window open on its own connection, change the table
    // crosswise: the later OK saves nothing unseen, keeps the window open with both sets of
    // changes, and the next OK saves them; no user comes back, none is dropped.
    void crossingChangesFromAnotherComputerAreNeitherLostNorUndone() {
        TestEnvironment env;
        addUsers(env);
        programma().UtenteCorrente = QStringLiteral("Supervisore");
        const auto altraConnessione = [] {
            archivio::chiudi(kConnessioneArchivio);
            QVERIFY(archivio::apri(programma().PercorsoArchivio, kConnessioneArchivio, nullptr));
        };
        frmUtenti qui;
        showActive(qui);
        env.ui.inputAnswers.enqueue(QStringLiteral("Paola"));
        click(qui, "cmdNuovo");
        doubleClick(qui, QStringLiteral("Supervisore"));
        typePasswords(qui, QStringLiteral("s1"), QStringLiteral("s1"));
        click(qui, "cmdVaria");

        altraConnessione();
        {
            frmUtenti altrove;
            showActive(altrove);
            list(altrove)->setCurrentRow(rowOf(altrove, QStringLiteral("Anna")));
            click(altrove, "cmdCanc");
            env.ui.inputAnswers.enqueue(QStringLiteral("Luca"));
            click(altrove, "cmdNuovo");
            click(altrove, "cmdOk");
            QCOMPARE(altrove.result(), int(QDialog::Accepted));
        }
        env.exec(QStringLiteral(R"(UPDATE "Tabella utenti" SET "Password" = 'm2'
                                   WHERE "UserName" = 'Mario')"));
        const QStringList loro = table();

        altraConnessione();
        env.ui.clear();
        click(qui, "cmdOk");
        QVERIFY(qui.isVisible());
        QCOMPARE(table(), loro);
        QCOMPARE(env.ui.messages.size(), 1);
        const QString& testo = env.ui.messages[0].text;
        QVERIFY2(testo.startsWith(QStringLiteral("Un altro computer ha modificato la tabella "
                                                 "utenti dopo l'apertura di questa finestra:")) &&
                     testo.contains(QStringLiteral("tolto l'utente 'Anna'")) &&
                     testo.contains(QStringLiteral("aggiunto l'utente 'Luca'")) &&
                     testo.contains(QStringLiteral("modificato l'utente 'Mario'")),
                 qPrintable(testo));
        QCOMPARE(rowOf(qui, QStringLiteral("Anna")), -1);
        click(qui, "cmdOk");
        QCOMPARE(qui.result(), int(QDialog::Accepted));
        QCOMPARE(table(),
                 QStringList({QStringLiteral("Luca="), QStringLiteral("Mario=m2"),
                              QStringLiteral("Paola="), QStringLiteral("Supervisore=s1")}));
    }

    void newNamesAreCutToTwentyFiveCharactersAndBlankOnesIgnored() {
        TestEnvironment env;
        addUsers(env);
        programma().UtenteCorrente = QStringLiteral("Anna");
        frmUtenti users;
        showActive(users);
        env.ui.inputAnswers.enqueue(QStringLiteral(" ABCDEFGHIJKLMNOPQRSTUVWXYZ"));
        env.ui.inputAnswers.enqueue(QStringLiteral("    "));
        click(users, "cmdNuovo");
        click(users, "cmdNuovo");
        click(users, "cmdNuovo");  // cancelled
        QCOMPARE(env.ui.inputPrompts.size(), 3);
        QCOMPARE(list(users)->count(), 4);
        click(users, "cmdOk");
        QCOMPARE(table(), QStringList({QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXY="),
                                       QStringLiteral("Anna=a1"), QStringLiteral("Mario=m1"),
                                       QStringLiteral("Supervisore=")}));
    }

    void aFourteenCharacterPasswordSurvivesTheRoundTrip() {
        TestEnvironment env;
        addUsers(env);
        programma().UtenteCorrente = QStringLiteral("Mario");
        const QString longest = QStringLiteral("Abcdefghijklm9");
        {
            frmUtenti users;
            showActive(users);
            doubleClick(users, QStringLiteral("Mario"));
            typePasswords(users, longest + QStringLiteral("X"), longest);
            QCOMPARE(field(users, "txtPwd")->text(), longest);
            // OK applies the change waiting in the fields before it saves.
            click(users, "cmdOk");
            QCOMPARE(users.result(), int(QDialog::Accepted));
        }
        QVERIFY(table().contains(QStringLiteral("Mario=") + longest));
        frmUtenti users;
        showActive(users);
        doubleClick(users, QStringLiteral("Mario"));
        QCOMPARE(field(users, "txtPwd")->text(), longest);
        QCOMPARE(env.ui.messages.size(), 0);
    }

    void escapeAndTheCloseBoxDiscardEveryChange() {
        TestEnvironment env;
        addUsers(env);
        const QStringList before = table();
        programma().UtenteCorrente = QStringLiteral("Supervisore");
        {
            frmUtenti users;
            showActive(users);
            env.ui.inputAnswers.enqueue(QStringLiteral("Luca"));
            click(users, "cmdNuovo");
            click(users, "cmdCanc");
            QTest::keyClick(list(users), Qt::Key_Escape);
            QCOMPARE(users.result(), int(QDialog::Rejected));
            QVERIFY(!users.isVisible());
        }
        QCOMPARE(table(), before);
        {
            frmUtenti users;
            showActive(users);
            doubleClick(users, QStringLiteral("Supervisore"));
            typePasswords(users, QStringLiteral("nuova"), QStringLiteral("nuova"));
            click(users, "cmdVaria");
            QVERIFY(users.close());
        }
        QCOMPARE(table(), before);
    }

    void aRepeatedNameIsRefusedAndTheTableKept() {
        TestEnvironment env;
        addUsers(env);
        const QStringList before = table();
        programma().UtenteCorrente = QStringLiteral("Mario");
        frmUtenti users;
        showActive(users);
        env.ui.inputAnswers.enqueue(QStringLiteral("Luca"));
        env.ui.inputAnswers.enqueue(QStringLiteral("aNNA"));
        click(users, "cmdNuovo");
        click(users, "cmdNuovo");
        click(users, "cmdOk");
        QVERIFY(users.isVisible());
        QCOMPARE(env.ui.messages.size(), 1);
        QVERIFY(env.ui.messages[0].text.contains(QStringLiteral("'aNNA'")));
        QCOMPARE(env.ui.messages[0].title, QStringLiteral("Gestione utenti"));
        QCOMPARE(table(), before);

        // A refusal by the archive half-way through leaves the table as it was, too.
        delete list(users)->item(rowOf(users, QStringLiteral("aNNA")));
        env.exec(TestEnvironment::onPostgres()
                     ? QStringLiteral(R"(ALTER TABLE "Tabella utenti" ADD CONSTRAINT "nessun Luca"
                                         CHECK ("UserName" <> 'Luca'))")
                     : QStringLiteral(R"(CREATE TRIGGER "nessun Luca" BEFORE INSERT ON
                                         "Tabella utenti" WHEN NEW."UserName" = 'Luca'
                                         BEGIN SELECT RAISE(ABORT, 'rifiutato'); END)"));
        click(users, "cmdOk");
        QVERIFY(users.isVisible());
        QCOMPARE(env.ui.messages.size(), 2);
        QVERIFY(env.ui.messages[1].text.contains(QStringLiteral("Codice errore = ")));
        QVERIFY(env.ui.messages[1].text.contains(QStringLiteral("non è stata modificata")));
        QCOMPARE(table(), before);
    }
};

QTEST_MAIN(TestUtenti)
#include "tst_utenti.moc"
