#include <QScreen>
#include <QScrollBar>
#include <QSemaphore>
#include <QSqlQuery>
#include <QThread>

#include "Archivio.h"
#include "CassaDiProva.h"
#include "Colori.h"
#include "MovimentiCassa.h"
#include "SqlCassa.h"
#include "TotaliCassa.h"

// Inserting movements: the number, the checks of the edit area, the row and the totals that
// follow, the move to another month, and two computers inserting at once.
class TestInserimento : public QObject {
    Q_OBJECT
  private:
    // The caption goes on with the version and the archive, which a message's title bar would
    // cut; the messages carry the program's name only.
    static QString titolo(const CassaDiProva& cassa) {
        [&] { QVERIFY(cassa.finestra->windowTitle().startsWith(QStringLiteral("Vardello - "))); }();
        return QStringLiteral("VARDELLO");
    }

  private slots:
    void numbersFollowTheHighestStoredOverAllYears() {
        CassaDiProva cassa;
        cassa.apri(true);
        QCOMPARE(NumeroProCas(DbArchivio()), 1);
        cassa.scrivi(QStringLiteral("10/03/2005"), QStringLiteral("Primo"), QStringLiteral("10"));
        cassa.clic("cmdIns");
        QCOMPARE(cassa.env.scalar(QStringLiteral(R"(SELECT "Numero Progressivo" FROM "Vardello")"))
                     .toInt(),
                 1);
        cassa.movimento(7, QDate(2001, 5, 5), cassa.euro("1"), QVariant());
        cassa.movimento(3, QDate(2005, 3, 1), cassa.euro("1"), QVariant());
        cassa.scrivi(QStringLiteral("11/03/2005"), QStringLiteral("Secondo"), QStringLiteral("10"));
        cassa.clic("cmdIns");
        QCOMPARE(cassa.env
                     .scalar(QStringLiteral(R"(SELECT "Numero Progressivo" FROM "Vardello"
                                                    WHERE "Operazione" = 'Secondo')"))
                     .toInt(),
                 8);
        QCOMPARE(NumeroProCas(DbArchivio()), 9);
    }

    void theChecksRefuseIncompleteEntriesAndDatesOutOfRange() {
        CassaDiProva cassa;
        cassa.env.exec(QStringLiteral(R"(INSERT INTO "Parametri" VALUES (?, ?, ?))"),
                       {true, QString(), false});
        cassa.env.exec(QStringLiteral(R"(INSERT INTO "Codici Iva" ("Codice Iva", "Descrizione Iva",
                                         "Aliquota") VALUES ('022', 'Ordinaria', ?))"),
                       {cassa.euro("22")});
        frmVardello& finestra = cassa.apri(true);
        auto* data = cassa.c<QLineEdit>("txtDataRegistrazione");
        const auto rifiutato = [&](const char* testo, QWidget* campo) {
            if (cassa.env.ui.messages.size() != 1) {
                return false;
            }
            const auto& m = cassa.env.ui.messages[0];
            // The message box comes after the beep.
            const bool ok = m.text == QString::fromUtf8(testo) && m.title == titolo(cassa) &&
                            m.icon == Interaction::Icon::Exclamation && cassa.fuoco() == campo &&
                            cassa.env.ui.beeps == 1 && cassa.movimentiInArchivio() == 0;
            cassa.env.ui.clear();
            return ok;
        };

        cassa.scrivi(QString(), QStringLiteral("Vendita"), QStringLiteral("10"));
        cassa.clic("cmdIns");
        QVERIFY(rifiutato("La data di registrazione e' un campo obbligatorio!", data));
        for (const char* fuori : {"31/12/1995", "01/01/2029"}) {
            cassa.scrivi(QString::fromLatin1(fuori), QStringLiteral("Vendita"),
                         QStringLiteral("10"));
            cassa.clic("cmdIns");
            QVERIFY2(
                rifiutato("La data di registrazione e fuori dall'intervallo date gestito!", data),
                fuori);
        }
        cassa.scrivi(QStringLiteral("15/03/2005"), QStringLiteral("   "), QStringLiteral("10"));
        cassa.clic("cmdIns");
        QVERIFY(rifiutato("La descrizione operazione e' un campo obbligatorio!",
                          cassa.c<QComboBox>("cmbOperazione")));

        // An amount including VAT needs the VAT competence date; a zero amount does not.
        cassa.scrivi(QStringLiteral("15/03/2005"), QStringLiteral("Vendita"),
                     QStringLiteral("122"));
        cassa.c<QLineEdit>("txtCodiceIva")->setText(QStringLiteral("022"));
        cassa.c<ValutaBox>("txtImponibileIva")->setText(QStringLiteral("122"));
        QVERIFY(!finestra.verifica_campi_necessari());
        QCOMPARE(cassa.env.ui.messages.size(), 1);
        QCOMPARE(cassa.env.ui.messages[0].text,
                 QStringLiteral("Se c'e' dell'Imponibile + Iva, la data di competenza iva è "
                                "obbligatoria."));
        QVERIFY(cassa.fuoco() == cassa.c<QLineEdit>("txtDataDoc"));
        cassa.c<QLineEdit>("txtDataDoc")->setText(QStringLiteral("__/__/____"));
        cassa.c<ValutaBox>("txtImponibileIva")->setText(QStringLiteral("0"));
        cassa.env.ui.clear();
        QVERIFY(finestra.verifica_campi_necessari());
        // Neither amount is required.
        cassa.scrivi(QStringLiteral("15/03/2005"), QStringLiteral("Nota"), QString());
        QVERIFY(finestra.verifica_campi_necessari());
        QCOMPARE(cassa.env.ui.messages.size(), 0);

        // The two limits of the range are accepted.
        for (const char* limite : {"01/01/1996", "31/12/2028"}) {
            cassa.scrivi(QString::fromLatin1(limite), QStringLiteral("Limite"),
                         QStringLiteral("1"));
            cassa.clic("cmdIns");
        }
        QCOMPARE(cassa.movimentiInArchivio(), 2);
    }

    void anInsertAddsTheRowAndTheTotalsAndClearsTheFields() {
        CassaDiProva cassa;
        cassa.movimento(1, QDate(2005, 3, 1), cassa.euro("100"), QVariant());
        cassa.movimento(2, QDate(2005, 2, 1), cassa.euro("40"), QVariant());
        cassa.totaliRegistrati(2005, 2, "40", "0");
        cassa.apri(true);
        cassa.scrivi(QStringLiteral("20/03/2005"), QStringLiteral("  Vendita  "),
                     QStringLiteral("1.234,5"), QStringLiteral("4"));
        cassa.clic("cmdIns");

        QCOMPARE(cassa.env.ui.messages.size(), 0);
        QCOMPARE(cassa.righe()->rowCount(), 3);
        QCOMPARE(cassa.trimmed(1, 1), QStringLiteral("Vendita"));
        QCOMPARE(cassa.cella(1, 2), QStringLiteral("1.234,50"));
        QCOMPARE(cassa.cella(1, 3), QStringLiteral("4,00"));
        QCOMPARE(cassa.trimmed(1, 4), QStringLiteral("3"));
        QCOMPARE(cassa.trimmed(1, 5), QStringLiteral("Mario"));
        QCOMPARE(cassa.cella(1, 6), QStringLiteral("15/03/2005"));
        QCOMPARE(cassa.cella(1, 7), QStringLiteral("10:30"));
        QCOMPARE(cassa.griglia()->selectionModel()->selectedRows().size(), 1);
        QCOMPARE(cassa.griglia()->selectionModel()->selectedRows()[0].row(), 1);
        QCOMPARE(cassa.box("txtEntrateMese"), QStringLiteral("      1.334,50"));
        QCOMPARE(cassa.box("txtUsciteMese"), QStringLiteral("          4,00"));
        QCOMPARE(cassa.box("txtSaldo"), QStringLiteral("      1.370,50"));
        QCOMPARE(cassa.totaliDelMese(2005, 3), QStringLiteral("1334,50/4,00"));

        QSqlQuery q(DbArchivio());
        QVERIFY(
            q.exec(QStringLiteral(R"(SELECT * FROM "Vardello" WHERE "Numero Progressivo" = 3)")));
        QVERIFY(q.next());
        QCOMPARE(q.value(QStringLiteral("Operazione")).toString(), QStringLiteral("Vendita"));
        QCOMPARE(valutaDaSql(q.value(QStringLiteral("Entrate"))), Money::fromUnits(12345000));
        QCOMPARE(dataDaSql(q.value(QStringLiteral("Data Registrazione"))), QDate(2005, 3, 20));
        QVERIFY(q.value(QStringLiteral("Data documento")).isNull());
        QCOMPARE(q.value(QStringLiteral("Utente")).toString(), QStringLiteral("Mario"));
        QCOMPARE(q.value(QStringLiteral("DataIns")).toString(), QStringLiteral("15/03/2005"));
        QCOMPARE(q.value(QStringLiteral("OraIns")).toString(), QStringLiteral("10:30"));
        q.finish();

        // Fields cleared, insert mode, the focus on the registration date (which proposes today).
        QCOMPARE(cassa.c<QComboBox>("cmbOperazione")->currentText(), QString());
        QCOMPARE(cassa.c<ValutaBox>("txtEntrate")->text(), QString());
        QCOMPARE(cassa.box("txtNumProg"), QString());
        QCOMPARE(cassa.c<QLineEdit>("txtOraIns")->displayText(), QStringLiteral("__.__"));
        QVERIFY(cassa.fuoco() == cassa.c<QLineEdit>("txtDataRegistrazione"));
        QCOMPARE(cassa.box("txtDataRegistrazione"), QStringLiteral("15/03/2005"));
        QVERIFY(!cassa.c<QPushButton>("cmdVar")->isEnabled());
        QVERIFY(cassa.c<QPushButton>("cmdCanc")->isEnabled());
    }

    // The grid repaints only what an insert changed: what the screen shows afterwards (rows
    // and scroll bars) is what drawing the whole grid afresh shows, also when a long month scrolls,
    // and the scroll bar appears and reaches the last row when the inserts make the month scroll.
    void theGridOnScreenShowsEveryInsertedRow_data() {
        QTest::addColumn<int>("righe");
        QTest::addColumn<int>("inserimenti");
        QTest::newRow("short month") << 2 << 3;
        QTest::newRow("month that scrolls") << 40 << 3;
        QTest::newRow("month that begins to scroll") << 2 << 30;
    }
    void theGridOnScreenShowsEveryInsertedRow() {
        QFETCH(int, righe);
        QFETCH(int, inserimenti);
        CassaDiProva cassa;
        for (int n = 1; n <= righe; ++n) {
            cassa.movimento(n, QDate(2005, 3, 1 + n % 28), cassa.euro("1"), QVariant());
        }
        cassa.apri(true);
        QTableView* tabella = cassa.griglia();
        QWidget* griglia = tabella->viewport();
        for (int n = 0; n < inserimenti; ++n) {
            cassa.scrivi(QStringLiteral("28/03/2005"), QStringLiteral("Vendita"),
                         QString::number(5 + n));
            cassa.clic("cmdIns");
            QCoreApplication::processEvents();
            QCoreApplication::processEvents();  // the scroll area's own layout is queued
            const QRect posto(tabella->mapTo(cassa.finestra.get(), QPoint()), tabella->size());
            const QImage schermo = cassa.finestra->screen()
                                       ->grabWindow(cassa.finestra->winId())
                                       .toImage()
                                       .copy(posto)
                                       .convertToFormat(QImage::Format_RGB32);
            QCOMPARE(schermo, tabella->grab().toImage().convertToFormat(QImage::Format_RGB32));
            const int intere = griglia->height() / tabella->rowHeight(0);
            const int oltre = qMax(0, tabella->model()->rowCount() - intere);
            QCOMPARE(tabella->verticalScrollBar()->isVisible(), oltre > 0);
            QCOMPARE(tabella->verticalScrollBar()->maximum(), oltre);
            QCOMPARE(tabella->verticalScrollBar()->value(), oltre);
        }
    }

    void anEntryOfAnotherMonthSwitchesToThatMonth() {
        CassaDiProva cassa;
        cassa.movimento(1, QDate(2005, 3, 1), cassa.euro("100"), QVariant(), "Marzo");
        cassa.movimento(2, QDate(2006, 6, 1), cassa.euro("5"), QVariant(), "Giugno");
        frmVardello& finestra = cassa.apri(true);
        cassa.scrivi(QStringLiteral("05/06/2006"), QStringLiteral("Altro mese"),
                     QStringLiteral("7"));
        cassa.clic("cmdIns");
        QCOMPARE(cassa.env.ui.beeps, 1);
        QCOMPARE(cassa.env.ui.messages.size(), 1);
        QCOMPARE(cassa.env.ui.messages[0].text,
                 QStringLiteral("Registrazione appartenente ad un altro mese."));
        QCOMPARE(cassa.env.ui.messages[0].icon, Interaction::Icon::Exclamation);
        QCOMPARE(cassa.env.ui.messages[0].title, titolo(cassa));
        QCOMPARE(finestra.meseSelezionato(), QDate(2006, 6, 1));
        QCOMPARE(cassa.c<QComboBox>("cmbAnno")->currentText(), QStringLiteral("2006"));
        QCOMPARE(cassa.righe()->rowCount(), 3);
        QCOMPARE(cassa.trimmed(1, 1), QStringLiteral("Altro mese"));
        QCOMPARE(cassa.box("txtEntrateMese"), QStringLiteral("         12,00"));
        QCOMPARE(cassa.box("txtEntrateMeseP"), QStringLiteral("        100,00"));
        QCOMPARE(cassa.totaliDelMese(2006, 6), QStringLiteral("12,00/0,00"));
        cassa.mostraMese(2005, 3);
        QCOMPARE(cassa.righe()->rowCount(), 2);
        QCOMPARE(cassa.trimmed(0, 1), QStringLiteral("Marzo"));
    }

    void theMonthTotalsStoredByAnInsertCountWhatOthersStoredMeanwhile() {
        CassaDiProva cassa;
        cassa.movimento(1, QDate(2005, 3, 1), cassa.euro("100"), QVariant());
        cassa.apri(true);
        // Another computer stores a movement of the same month, with its month's totals.
        QVERIFY(archivio::apri(programma().PercorsoArchivio, QStringLiteral("altro"), nullptr));
        inserisciMovimento(
            QSqlDatabase::database(QStringLiteral("altro")),
            {QDate(2005, 3, 2), QStringLiteral("Altro computer"), Money::fromUnits(70000), Money(),
             QString(), Money(), QDate(), QStringLiteral("Anna"), QStringLiteral("02/03/2005"),
             QStringLiteral("09:00")});
        archivio::chiudi(QStringLiteral("altro"));
        cassa.scrivi(QStringLiteral("03/03/2005"), QStringLiteral("Vendita"), QStringLiteral("10"));
        cassa.clic("cmdIns");
        // The screen keeps the rows it shows; the archive keeps the month's real totals.
        QCOMPARE(cassa.box("txtEntrateMese"), QStringLiteral("        110,00"));
        QCOMPARE(cassa.totaliDelMese(2005, 3), QStringLiteral("117,00/0,00"));
        cassa.mostraMese(2005, 4);
        QCOMPARE(cassa.box("txtEntrateMeseP"), QStringLiteral("        117,00"));
    }

    void aFailedInsertIsToldAndKeepsTheFields() {
        CassaDiProva cassa;
        cassa.movimento(1, QDate(2005, 3, 1), cassa.euro("100"), QVariant());
        cassa.apri(true);
        cassa.rifiutaScritture("INSERT");
        cassa.scrivi(QStringLiteral("03/03/2005"), QStringLiteral("Vendita"), QStringLiteral("10"));
        cassa.clic("cmdIns");
        QCOMPARE(cassa.env.ui.beeps, 1);
        QCOMPARE(cassa.env.ui.messages.size(), 1);
        QVERIFY(cassa.env.ui.messages[0].text.startsWith(
            QStringLiteral("Errore nell'accesso alla tabella 'Vardello'\n\nCodice errore = ")));
        QCOMPARE(cassa.env.ui.messages[0].title, titolo(cassa));
        QCOMPARE(cassa.env.ui.messages[0].icon, Interaction::Icon::Exclamation);
        QCOMPARE(cassa.movimentiInArchivio(), 1);
        QCOMPARE(cassa.righe()->rowCount(), 2);
        QCOMPARE(cassa.box("txtEntrateMese"), QStringLiteral("        100,00"));
        QCOMPARE(cassa.totaliDelMese(2005, 3), QStringLiteral("100,00/0,00"));
        QCOMPARE(cassa.c<QComboBox>("cmbOperazione")->currentText(), QStringLiteral("Vendita"));
        QCOMPARE(cassa.box("txtDataRegistrazione"), QStringLiteral("03/03/2005"));
    }

    void theDateAndOperationFieldsShowWhereTheOperatorTypes() {
        CassaDiProva cassa;
        cassa.apri(true);
        auto* data = cassa.c<QLineEdit>("txtDataRegistrazione");
        auto* operazione = cassa.c<QComboBox>("cmbOperazione");
        QTest::mouseClick(data, Qt::LeftButton);
        QCOMPARE(sfondo(data), coloreModifica());
        QCOMPARE(data->text(), QStringLiteral("15/03/2005"));
        // The click leaves the proposed date selected once its events are done: digits typed
        // at once replace it.
        QCoreApplication::processEvents();
        QTest::keyClicks(data, QStringLiteral("070405"));
        QTest::keyClick(data, Qt::Key_Tab);
        QVERIFY(cassa.fuoco() == operazione);
        QCOMPARE(sfondo(data), coloreNormale());
        QCOMPARE(data->text(), QStringLiteral("07/04/2005"));
        QCOMPARE(sfondo(operazione), coloreModifica());
        QTest::keyClicks(operazione, QStringLiteral("  Affitto  "));
        QTest::keyClick(operazione, Qt::Key_Tab);
        QCOMPARE(sfondo(operazione), coloreNormale());
        QCOMPARE(operazione->currentText(), QStringLiteral("Affitto"));
        // A date already typed stays when the field is entered again.
        QTest::mouseClick(data, Qt::LeftButton);
        QCOMPARE(data->text(), QStringLiteral("07/04/2005"));
    }

    void theKeyboardAloneInsertsMovements() {
        CassaDiProva cassa;
        cassa.apri(true);
        auto* data = cassa.c<QLineEdit>("txtDataRegistrazione");
        cassa.griglia()->setFocus();
        cassa.tasto(Qt::Key_Down);
        QVERIFY(cassa.fuoco() == cassa.griglia());
        cassa.tasto(Qt::Key_Tab);  // out of the grid, not to its next cell
        QVERIFY(cassa.fuoco() == data);
        cassa.tasto(Qt::Key_Tab, Qt::ShiftModifier);
        QVERIFY(cassa.fuoco() == cassa.griglia());
        cassa.tasto(Qt::Key_Tab);
        QCOMPARE(sfondo(data), coloreModifica());
        QTest::keyClicks(data, QStringLiteral("10032005"));  // over the proposed 15/03/2005
        QCOMPARE(data->text(), QStringLiteral("10/03/2005"));
        cassa.tasto(Qt::Key_Tab);
        QTest::keyClicks(cassa.fuoco(), QStringLiteral("Vendita"));
        cassa.tasto(Qt::Key_Tab);
        QTest::keyClicks(cassa.fuoco(), QStringLiteral("12,5"));
        QCOMPARE(cassa.tabFinoAlPulsante(), cassa.c<QPushButton>("cmdIns"));
        cassa.tasto(Qt::Key_Return);  // Enter clicks the focused button
        QCOMPARE(cassa.movimentiInArchivio(), 1);
        QCOMPARE(cassa.trimmed(0, 0), QStringLiteral("10/03/2005"));

        // After the insert the date field is entered with today's date selected.
        QVERIFY(cassa.fuoco() == data);
        QCOMPARE(sfondo(data), coloreModifica());
        QTest::keyClicks(data, QStringLiteral("03092026"));
        QCOMPARE(data->text(), QStringLiteral("03/09/2026"));

        // An entry of another month: the message box takes the activation from the window
        // and gives it back; the date field is entered all the same.
        cassa.tasto(Qt::Key_Tab);
        QTest::keyClicks(cassa.fuoco(), QStringLiteral("Affitto"));
        cassa.tasto(Qt::Key_Tab);
        QTest::keyClicks(cassa.fuoco(), QStringLiteral("7"));
        QCOMPARE(cassa.tabFinoAlPulsante(), cassa.c<QPushButton>("cmdIns"));
        QWidget scatola;
        cassa.env.ui.duranteMessaggio = [&scatola](const ScriptedInteraction::Message&) {
            scatola.show();
            scatola.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&scatola));
            scatola.hide();
        };
        cassa.tasto(Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(cassa.env.ui.messages.size(), 1);
        QCOMPARE(cassa.movimentiInArchivio(), 2);
        cassa.finestra->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(cassa.finestra.get()));
        QVERIFY(cassa.fuoco() == data);
        QCOMPARE(sfondo(data), coloreModifica());
        QTest::keyClicks(data, QStringLiteral("01092026"));
        QCOMPARE(data->text(), QStringLiteral("01/09/2026"));
    }

    void anInsertWaitsForAnotherComputerThatIsNumberingAMovement() {
        CassaDiProva cassa;
        cassa.movimento(1, QDate(2005, 3, 1), cassa.euro("1"), QVariant());
        cassa.apri(true);
        const QString percorso = programma().PercorsoArchivio;
        QSemaphore numerato;
        // The other computer takes number 2 and holds its write for a moment before storing.
        std::unique_ptr<QThread> altro(QThread::create([&] {
            archivio::Errore errore;
            if (!archivio::apri(percorso, QStringLiteral("altro"), &errore)) {
                qFatal("cannot open the archive: %s", qPrintable(errore.testo));
            }
            {
                QSqlDatabase db = QSqlDatabase::database(QStringLiteral("altro"));
                TransazioneScrittura transazione(db);
                QSqlQuery q(db);
                esegui(q, QStringLiteral(R"(INSERT INTO "Vardello" ("Numero Progressivo",
                          "Data Registrazione", "Entrate") VALUES (?, ?, ?))"),
                       {NumeroProCas(db), valoreSql(QDate(2005, 3, 2)), CassaDiProva::euro("2")});
                aggiungiATotaliMese(db, 2005, 3, {Money::fromUnits(20000), Money()});
                numerato.release();
                QThread::msleep(300);
                transazione.conferma();
            }
            archivio::chiudi(QStringLiteral("altro"));
        }));
        altro->start();
        numerato.acquire();
        cassa.scrivi(QStringLiteral("03/03/2005"), QStringLiteral("Vendita"), QStringLiteral("10"));
        cassa.clic("cmdIns");
        QVERIFY(altro->wait());
        QCOMPARE(cassa.env.ui.messages.size(), 0);
        QCOMPARE(cassa.movimentiInArchivio(), 3);
        QCOMPARE(cassa.env
                     .scalar(QStringLiteral(R"(SELECT "Numero Progressivo" FROM "Vardello"
                                                    WHERE "Operazione" = 'Vendita')"))
                     .toInt(),
                 3);
        QCOMPARE(cassa.totaliDelMese(2005, 3), QStringLiteral("13,00/0,00"));
    }
};

QTEST_MAIN(TestInserimento)
#include "tst_inserimento.moc"
