#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSqlQuery>
#include <QTest>
#include <QTimer>

#include "Archivio.h"
#include "Colori.h"
#include "DatiCondivisi.h"
#include "Programma.h"
#include "TestEnvironment.h"
#include "frmParametri.h"
#include "frmParametriDati.h"

// The parameters window: what it shows, what OK stores and Cancel does not, the VAT code
// checks, and the archive reset.
class TestParametri : public QObject {
    Q_OBJECT
  private:
    static void addVatCode(TestEnvironment& env, const QString& code, const QString& text) {
        env.exec(QStringLiteral(R"(INSERT INTO "Codici Iva" ("Codice Iva", "Descrizione Iva",
                                   "Aliquota") VALUES (?, ?, 200000))"),
                 {code, text});
    }

    static void showActive(frmParametri& window) {
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
    }

    static QCheckBox* box(frmParametri& w, const char* name) {
        return w.findChild<QCheckBox*>(QString::fromLatin1(name));
    }
    static QLineEdit* field(frmParametri& w, const char* name) {
        return w.findChild<QLineEdit*>(QString::fromLatin1(name));
    }
    static void click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton); }
    static void click(frmParametri& w, const char* name) {
        click(w.findChild<QPushButton*>(QString::fromLatin1(name)));
    }

    // Types into the VAT code box and leaves it for the print title, as Tab would.
    static void typeCode(frmParametri& w, const QString& text) {
        QLineEdit* code = field(w, "txtCodiceIvaStd");
        code->setFocus();
        code->selectAll();
        QTest::keyClicks(code, text);
        field(w, "txtTitoloStampa")->setFocus();
    }

    static QString parameters(TestEnvironment& env) {
        return env
            .scalar(QStringLiteral(R"(SELECT CASE WHEN "Gestione Iva" IS NULL THEN '-'
                                      WHEN "Gestione Iva" THEN '1' ELSE '0' END || '|' ||
                                      COALESCE("Codice Iva Standard", '-') || '|' ||
                                      CASE WHEN "Iva Trimestrale" IS NULL THEN '-'
                                      WHEN "Iva Trimestrale" THEN '1' ELSE '0' END
                                      FROM "Parametri")"))
            .toString();
    }

  private slots:
    void anEmptyTableOpensBlankAndOkAddsTheRow() {
        TestEnvironment env;
        env.openNewArchive();
        addVatCode(env, QStringLiteral("007"), QStringLiteral("Aliquota sette"));
        {
            frmParametri w;
            showActive(w);
            QVERIFY(!box(w, "chkGestioneIva")->isChecked());
            QVERIFY(!box(w, "chkIvaTrimestrale")->isChecked());
            QVERIFY(!box(w, "chkIvaTrimestrale")->isEnabled());
            QVERIFY(!field(w, "txtCodiceIvaStd")->isEnabled());
            QVERIFY(!box(w, "chkStampaSaldo")->isChecked());
            QVERIFY(field(w, "txtTitoloStampa")->text().isEmpty());
            QVERIFY(field(w, "txtCartellaCopie")->text().isEmpty());
            QVERIFY(box(w, "chkCopieServer")->isChecked());

            click(box(w, "chkGestioneIva"));
            typeCode(w, QStringLiteral("7"));
            QCOMPARE(field(w, "txtCodiceIvaStd")->text(), QStringLiteral("007"));
            QCOMPARE(field(w, "txtDescrizioneIva")->text(), QStringLiteral("Aliquota sette"));
            click(box(w, "chkIvaTrimestrale"));
            click(box(w, "chkStampaSaldo"));
            QTest::keyClicks(field(w, "txtTitoloStampa"), QStringLiteral("Cassa 2005"));
            field(w, "txtCartellaCopie")->setText(QStringLiteral(" /srv/copie "));
            click(box(w, "chkCopieServer"));
            QCOMPARE(env.scalar(QStringLiteral(R"(SELECT count(*) FROM "Parametri")")).toInt(), 0);
            auto* ok = w.findChild<QPushButton*>(QStringLiteral("cmdOk"));
            ok->setFocus();
            QTest::keyClick(ok, Qt::Key_Return);  // Enter clicks the focused button
            QCOMPARE(w.result(), int(QDialog::Accepted));
        }
        QCOMPARE(env.scalar(QStringLiteral(R"(SELECT count(*) FROM "Parametri")")).toInt(), 1);
        QCOMPARE(parameters(env), QStringLiteral("1|007|1"));
        QCOMPARE(LeggiRiferimento(DbArchivio(),
                                  QStringLiteral("Stampa con indicazione saldo progressivo")),
                 QStringLiteral("1"));
        QCOMPARE(LeggiRiferimento(DbArchivio(), QStringLiteral("Titolo stampa")),
                 QStringLiteral("Cassa 2005"));

        frmParametri again;
        QVERIFY(box(again, "chkGestioneIva")->isChecked());
        QVERIFY(box(again, "chkIvaTrimestrale")->isChecked());
        QCOMPARE(field(again, "txtCodiceIvaStd")->text(), QStringLiteral("007"));
        QCOMPARE(field(again, "txtDescrizioneIva")->text(), QStringLiteral("Aliquota sette"));
        QVERIFY(box(again, "chkStampaSaldo")->isChecked());
        QCOMPARE(field(again, "txtTitoloStampa")->text(), QStringLiteral("Cassa 2005"));
        QCOMPARE(field(again, "txtCartellaCopie")->text(), QStringLiteral("/srv/copie"));
        QVERIFY(!box(again, "chkCopieServer")->isChecked());
        QCOMPARE(env.ui.messages.size(), 0);
    }

    void turningVatManagementOffClearsTheCodeAndQuarterly() {
        TestEnvironment env;
        env.openNewArchive();
        addVatCode(env, QStringLiteral("022"), QStringLiteral("Ordinaria"));
        env.exec(QStringLiteral(R"(INSERT INTO "Parametri" VALUES (?, '022', ?))"), {true, true});
        frmParametri w;
        showActive(w);
        QVERIFY(box(w, "chkGestioneIva")->isChecked());
        QCOMPARE(field(w, "txtDescrizioneIva")->text(), QStringLiteral("Ordinaria"));
        QVERIFY(box(w, "chkIvaTrimestrale")->isChecked());

        click(box(w, "chkGestioneIva"));
        QVERIFY(field(w, "txtCodiceIvaStd")->text().isEmpty());
        QVERIFY(!field(w, "txtCodiceIvaStd")->isEnabled());
        QCOMPARE(sfondo(field(w, "txtCodiceIvaStd")), coloreDisabilitato());
        QVERIFY(field(w, "txtDescrizioneIva")->text().isEmpty());
        QVERIFY(!box(w, "chkIvaTrimestrale")->isChecked());
        QVERIFY(!box(w, "chkIvaTrimestrale")->isEnabled());

        // Back on: both usable again, neither restored.
        click(box(w, "chkGestioneIva"));
        QVERIFY(field(w, "txtCodiceIvaStd")->isEnabled());
        QCOMPARE(sfondo(field(w, "txtCodiceIvaStd")), coloreNormale());
        QVERIFY(field(w, "txtCodiceIvaStd")->text().isEmpty());
        QVERIFY(box(w, "chkIvaTrimestrale")->isEnabled());
        QVERIFY(!box(w, "chkIvaTrimestrale")->isChecked());
        QCOMPARE(env.ui.messages.size(), 0);
    }

    void theCodeIsPaddedCheckedOrLookedUp() {
        TestEnvironment env;
        env.openNewArchive();
        addVatCode(env, QStringLiteral("007"), QStringLiteral("Aliquota sette"));
        env.exec(QStringLiteral(R"(INSERT INTO "Parametri" VALUES (?, NULL, ?))"), {true, false});
        frmParametri w;
        showActive(w);
        QLineEdit* code = field(w, "txtCodiceIvaStd");

        typeCode(w, QStringLiteral("7"));
        QCOMPARE(code->text(), QStringLiteral("007"));
        QCOMPARE(field(w, "txtDescrizioneIva")->text(), QStringLiteral("Aliquota sette"));

        typeCode(w, QStringLiteral("9"));
        QCOMPARE(code->text(), QStringLiteral("009"));
        QCOMPARE(env.ui.messages.size(), 1);
        QCOMPARE(env.ui.messages[0].text, QStringLiteral("Codice Iva inesistente!"));
        QCOMPARE(env.ui.messages[0].title, QStringLiteral("PARAMETRI"));
        QCOMPARE(env.ui.messages[0].icon, Interaction::Icon::Exclamation);
        QCOMPARE(env.ui.beeps, 1);
        QCOMPARE(QApplication::focusWidget(), code);
        QVERIFY(field(w, "txtDescrizioneIva")->text().isEmpty());

        // Letters, and F4, open the lookup on the archive in use with the text typed; the
        // person picks the first line it lists, or closes it when it lists nothing.
        QList<QStringList> lookups;
        QTimer person;
        connect(&person, &QTimer::timeout, [&lookups] {
            auto* lookup = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!lookup || !lookup->isVisible()) {
                return;
            }
            auto* lines = lookup->findChild<QListWidget*>(QStringLiteral("lstRicerca"));
            QStringList seen;
            for (int i = 0; lines && i < lines->count(); ++i) {
                seen << lines->item(i)->text();
            }
            lookups << seen;
            if (seen.isEmpty()) {
                lookup->reject();
                return;
            }
            lines->setCurrentRow(0);
            QTest::mouseClick(lookup->findChild<QPushButton*>(QStringLiteral("cmdOk")),
                              Qt::LeftButton);
        });
        person.start(0);
        env.ui.clear();
        typeCode(w, QStringLiteral("Ali"));
        QCOMPARE(lookups.size(), 1);
        QCOMPARE(lookups[0].size(), 1);
        QVERIFY(lookups[0][0].startsWith(QStringLiteral("Aliquota sette")));
        QCOMPARE(code->text(), QStringLiteral("007"));
        QCOMPARE(field(w, "txtDescrizioneIva")->text(), QStringLiteral("Aliquota sette"));
        QVERIFY(!programma().RicercaInCorso);
        QCOMPARE(w.focusWidget(), code);
        QCOMPARE(sfondo(code), coloreModifica());
        QCOMPARE(env.ui.messages.size(), 0);

        // F4 on "7" lists the codes beginning with 7: none, so the box is emptied.
        code->selectAll();
        QTest::keyClicks(code, QStringLiteral("7"));
        QTest::keyClick(code, Qt::Key_F4);
        QCOMPARE(lookups.size(), 2);
        QVERIFY(lookups[1].isEmpty());
        QVERIFY(code->text().isEmpty());
        QVERIFY(field(w, "txtDescrizioneIva")->text().isEmpty());
        QCOMPARE(w.focusWidget(), code);
        QVERIFY(!programma().RicercaInCorso);
    }

    void cancelLeavesEverythingAsItWas() {
        TestEnvironment env;
        env.openNewArchive();
        env.exec(QStringLiteral(R"(INSERT INTO "Parametri" VALUES (?, NULL, ?))"), {false, false});
        ScriviRiferimento(DbArchivio(), QStringLiteral("Titolo stampa"), QStringLiteral("Vecchio"));
        const QString before = parameters(env);
        frmParametri w;
        showActive(w);
        click(box(w, "chkGestioneIva"));
        click(box(w, "chkIvaTrimestrale"));
        click(box(w, "chkStampaSaldo"));
        field(w, "txtTitoloStampa")->setText(QStringLiteral("Nuovo"));
        click(w, "cmdAnnulla");
        QCOMPARE(w.result(), int(QDialog::Rejected));
        QCOMPARE(parameters(env), before);
        QCOMPARE(env.scalar(QStringLiteral(R"(SELECT count(*) FROM "Parametri")")).toInt(), 1);
        QCOMPARE(LeggiRiferimento(DbArchivio(), QStringLiteral("Titolo stampa")),
                 QStringLiteral("Vecchio"));
        QCOMPARE(LeggiRiferimento(DbArchivio(),
                                  QStringLiteral("Stampa con indicazione saldo progressivo"),
                                  QStringLiteral("assente")),
                 QStringLiteral("assente"));
    }

    void theResetEmptiesTheBookAndNothingElse() {
        TestEnvironment env;
        env.openNewArchive();
        addVatCode(env, QStringLiteral("022"), QStringLiteral("Ordinaria"));
        env.exec(QStringLiteral(R"(INSERT INTO "Parametri" VALUES (?, '022', ?))"), {true, false});
        env.exec(QStringLiteral(R"(INSERT INTO "Tabella utenti" VALUES ('Mario', 'm'))"));
        ScriviRiferimento(DbArchivio(), QStringLiteral("Titolo stampa"), QStringLiteral("Cassa"));
        const auto fillBook = [&env] {
            env.exec(QStringLiteral(R"(INSERT INTO "Vardello" ("Numero Progressivo",
                                       "Data Registrazione", "Entrate") VALUES (1, ?, 10000))"),
                     {QDate(2005, 3, 1)});
            env.exec(QStringLiteral(R"(INSERT INTO "Totali di Cassa" VALUES (2005, 3, 10000, 0))"));
            env.exec(QStringLiteral(R"(INSERT INTO "Conti Utilizzati" VALUES ('Vendita'))"));
        };
        const auto count = [&env](const char* table) {
            return env
                .scalar(QStringLiteral("SELECT count(*) FROM \"%1\"").arg(QLatin1String(table)))
                .toInt();
        };
        fillBook();
        frmParametri w;
        showActive(w);

        env.ui.answers.enqueue(Interaction::Answer::No);
        auto* azzera = w.findChild<QPushButton*>(QStringLiteral("cmdAzzeraArchivi"));
        azzera->setFocus();
        QTest::keyClick(azzera, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(env.ui.messages.size(), 1);
        QCOMPARE(env.ui.messages[0].text,
                 QStringLiteral("Si desidera proseguire cancellando tutte le registrazioni?"));
        QCOMPARE(env.ui.messages[0].title, QStringLiteral("ATTENZIONE: Operazione irreversibile"));
        QCOMPARE(env.ui.messages[0].icon, Interaction::Icon::Question);
        QCOMPARE(env.ui.messages[0].buttons, Interaction::Buttons::YesNo);
        QCOMPARE(env.ui.messages[0].defaultAnswer, Interaction::Answer::No);  // a stray Enter
        QCOMPARE(count("Vardello"), 1);

        // Without a verified copy nothing is deleted: here the copy's name is taken.
        const auto ora = [&env](int minuto) {
            env.clock.set(QDateTime(QDate(2005, 3, 15), QTime(10, minuto)));
            return percorsoCopiaAzzeramento(programma().PercorsoArchivio, env.clock.now());
        };
        const QString occupato = ora(30);
        QVERIFY(QDir().mkpath(QFileInfo(occupato).absolutePath()));
        QFile occupante(occupato);
        QVERIFY(occupante.open(QIODevice::WriteOnly));
        occupante.close();
        click(w, "cmdAzzeraArchivi");
        QCOMPARE(env.ui.messages.size(), 3);
        QVERIFY(env.ui.messages[2].text.startsWith(
            QStringLiteral("Azzeramento non eseguito: la copia di sicurezza")));
        QVERIFY(env.ui.messages[2].text.contains(QDir::toNativeSeparators(occupato)));
        QCOMPARE(count("Vardello"), 1);

        // A deletion the archive refuses undoes the ones before it.
        ora(31);
        const bool pg = TestEnvironment::onPostgres();
        if (pg) {
            env.exec(
                QStringLiteral("CREATE FUNCTION rifiuta() RETURNS trigger AS "
                               "'BEGIN RAISE EXCEPTION ''rifiutato''; END' LANGUAGE plpgsql"));
            env.exec(QStringLiteral(R"(CREATE TRIGGER rifiuta BEFORE DELETE ON "Totali di Cassa"
                                       FOR EACH ROW EXECUTE FUNCTION rifiuta())"));
        } else {
            env.exec(QStringLiteral(R"(CREATE TRIGGER rifiuta BEFORE DELETE ON "Totali di Cassa"
                                       BEGIN SELECT RAISE(ABORT, 'rifiutato'); END)"));
        }
        click(w, "cmdAzzeraArchivi");
        QCOMPARE(env.ui.messages.size(), 5);
        QVERIFY(env.ui.messages[4].text.contains(QStringLiteral("Codice errore = ")));
        QVERIFY(!env.ui.messages[4].text.startsWith(QStringLiteral("Azzeramento eseguito")));
        QCOMPARE(count("Vardello"), 1);
        QCOMPARE(count("Conti Utilizzati"), 1);
        QCOMPARE(count("Totali di Cassa"), 1);
        env.exec(pg ? QStringLiteral(R"(DROP TRIGGER rifiuta ON "Totali di Cassa")")
                    : QStringLiteral("DROP TRIGGER rifiuta"));

        // The reset names its copy, which holds the book as it was.
        const QString copia = QDir::toNativeSeparators(ora(32));
        click(w, "cmdAzzeraArchivi");
        QCOMPARE(env.ui.messages.size(), 7);
        QCOMPARE(env.ui.messages[6].text,
                 QStringLiteral("Azzeramento eseguito con successo.\n\nL'archivio com'era prima "
                                "dell'azzeramento è nella copia:\n") +
                     copia);
        QCOMPARE(env.ui.messages[6].title, QStringLiteral("Parametri"));
        QCOMPARE(env.ui.messages[6].icon, Interaction::Icon::Exclamation);
        QVERIFY(copia.endsWith(QStringLiteral("-azzeramento-20050315-103200.MDB")));
        QCOMPARE(QFileInfo(copia).absolutePath(),
                 QFileInfo(pg ? env.platform.dataFolder + QStringLiteral("/x")
                              : programma().PercorsoArchivio)
                     .absolutePath());
        {
            archivio::Errore e;
            QVERIFY(archivio::apri(copia, QStringLiteral("copia-azzeramento"), &e));
            QSqlQuery q(QSqlDatabase::database(QStringLiteral("copia-azzeramento")));
            QVERIFY(q.exec(QStringLiteral(R"(SELECT count(*) FROM "Vardello")")) && q.next());
            QCOMPARE(q.value(0).toInt(), 1);
        }
        archivio::chiudi(QStringLiteral("copia-azzeramento"));
        QVERIFY(w.isVisible());
        QCOMPARE(count("Vardello"), 0);
        QCOMPARE(count("Conti Utilizzati"), 0);
        QCOMPARE(count("Totali di Cassa"), 0);
        QCOMPARE(count("Codici Iva"), 1);
        QCOMPARE(count("Tabella utenti"), 1);
        QCOMPARE(parameters(env), QStringLiteral("1|022|0"));
        QCOMPARE(LeggiRiferimento(DbArchivio(), QStringLiteral("Titolo stampa")),
                 QStringLiteral("Cassa"));
    }
};

QTEST_MAIN(TestParametri)
#include "tst_parametri.moc"
