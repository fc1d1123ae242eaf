#include <QHeaderView>
#include <QScrollBar>
#include <QSqlQuery>

#include "CassaDiProva.h"

// Picking a row, changing and deleting movements, and the two modes of the edit area.
class TestVariazione : public QObject {
    Q_OBJECT
  private:
    static void treMovimenti(CassaDiProva& cassa) {
        cassa.movimento(1, QDate(2005, 3, 1), cassa.euro("100"), QVariant(), "Uno");
        cassa.movimento(2, QDate(2005, 3, 2), cassa.euro("1.234,5"), cassa.euro("0"), "Due");
        cassa.movimento(3, QDate(2005, 3, 3), QVariant(), cassa.euro("30"), "Tre");
    }

    static bool modoVariazione(const CassaDiProva& cassa) {
        return !cassa.griglia()->isEnabled() && !cassa.c<QWidget>("cmdCanc")->isEnabled() &&
               !cassa.c<QWidget>("cmbAnno")->isEnabled() &&
               !cassa.c<QWidget>("tabMesi")->isEnabled() && cassa.c<QWidget>("cmdVar")->isEnabled();
    }
    static bool modoInserimento(const CassaDiProva& cassa) {
        return cassa.griglia()->isEnabled() && cassa.c<QWidget>("cmdCanc")->isEnabled() &&
               cassa.c<QWidget>("cmbAnno")->isEnabled() &&
               cassa.c<QWidget>("tabMesi")->isEnabled() && !cassa.c<QWidget>("cmdVar")->isEnabled();
    }
    static QString operazione(CassaDiProva& cassa, int numero) {
        return cassa.env
            .scalar(QStringLiteral(R"(SELECT "Operazione" FROM "Vardello"
                                      WHERE "Numero Progressivo" = ?)"),
                    {numero})
            .toString();
    }

  private slots:
    void pickingARowLoadsItsMovementForChange() {
        CassaDiProva cassa;
        treMovimenti(cassa);
        cassa.apri(true);
        QVERIFY(modoInserimento(cassa));

        // The header and the blank row load nothing.
        QHeaderView* intestazione = cassa.griglia()->horizontalHeader();
        QTest::mouseDClick(intestazione->viewport(), Qt::LeftButton, {},
                           QPoint(intestazione->sectionPosition(1) + 5, 5));
        cassa.scegliRiga(3);
        QCOMPARE(cassa.box("txtNumProg"), QString());
        QVERIFY(modoInserimento(cassa));

        cassa.scegliRiga(1);
        QVERIFY(modoVariazione(cassa));
        QCOMPARE(cassa.box("txtNumProg"), QStringLiteral("2"));
        QCOMPARE(cassa.c<QComboBox>("cmbOperazione")->currentText(), QStringLiteral("Due"));
        QCOMPARE(cassa.box("txtDataRegistrazione"), QStringLiteral("02/03/2005"));
        QCOMPARE(ConvertiValuta(cassa.c<ValutaBox>("txtEntrate")->text()),
                 Money::fromUnits(12345000));
        QCOMPARE(ConvertiValuta(cassa.c<ValutaBox>("txtUscite")->text()), Money());
        QCOMPARE(cassa.c<QLineEdit>("txtDataDoc")->displayText(), QStringLiteral("__/__/____"));
        QCOMPARE(cassa.box("txtUtente"), QStringLiteral("Anna"));
        QCOMPARE(cassa.box("txtDataIns"), QStringLiteral("01/02/2005"));
        QCOMPARE(cassa.c<QLineEdit>("txtOraIns")->displayText(), QStringLiteral("09.15"));
    }

    void theKeyboardAlonePicksAndChangesAMovement() {
        CassaDiProva cassa;
        treMovimenti(cassa);
        cassa.apri(true);
        cassa.griglia()->setFocus();
        cassa.tasto(Qt::Key_Home, Qt::ControlModifier);
        cassa.tasto(Qt::Key_Down);
        cassa.tasto(Qt::Key_Return);  // the row pick
        QVERIFY(modoVariazione(cassa));
        QCOMPARE(cassa.box("txtNumProg"), QStringLiteral("2"));
        // The pick enters the date, selected: digits typed at once replace it.
        QVERIFY(cassa.fuoco() == cassa.c<QWidget>("txtDataRegistrazione"));
        QTest::keyClicks(cassa.fuoco(), QStringLiteral("05032005"));
        // The first button after the fields stores the change, never a second insert.
        QCOMPARE(cassa.tabFinoAlPulsante(), cassa.c<QPushButton>("cmdVar"));
        cassa.tasto(Qt::Key_Return);
        QVERIFY(modoInserimento(cassa));
        QCOMPARE(cassa.movimentiInArchivio(), 3);
        QCOMPARE(cassa.env
                     .scalar(QStringLiteral(R"(SELECT "Data Registrazione" FROM "Vardello"
                                                  WHERE "Numero Progressivo" = 2)"))
                     .toDate(),
                 QDate(2005, 3, 5));

        // The delete by keys: the change gives the focus back to the grid; rows chosen with
        // Shift and the arrows, Tab on to the delete button, Enter, the question answered.
        QVERIFY(cassa.fuoco() == cassa.griglia());
        cassa.tasto(Qt::Key_Home, Qt::ControlModifier);
        cassa.tasto(Qt::Key_Down, Qt::ShiftModifier);
        QPushButton* pulsante = nullptr;
        for (int i = 0; i < 3 && pulsante != cassa.c<QPushButton>("cmdCanc"); ++i) {
            pulsante = cassa.tabFinoAlPulsante();
        }
        QVERIFY(pulsante == cassa.c<QPushButton>("cmdCanc"));
        cassa.env.ui.answers.enqueue(Interaction::Answer::Yes);
        cassa.tasto(Qt::Key_Return);
        QCOMPARE(cassa.movimentiInArchivio(), 1);
        QCOMPARE(cassa.trimmed(0, 1), QStringLiteral("Due"));  // moved to the 5th by the change

        // With VAT management on, a movement without a code closes the VAT fields and the
        // focus moves on to the change as well.
        cassa.env.exec(QStringLiteral(R"(INSERT INTO "Parametri" VALUES (?, '', ?))"),
                       {true, false});
        cassa.apri(true);
        cassa.scegliRiga(0);
        cassa.c<QWidget>("txtCodiceIva")->setFocus(Qt::TabFocusReason);
        cassa.tasto(Qt::Key_Tab);
        QVERIFY(cassa.fuoco() == cassa.c<QPushButton>("cmdVar"));
    }

    void aChangeStoresTheFieldsAndKeepsWhoInsertedTheEntry() {
        CassaDiProva cassa;
        treMovimenti(cassa);
        cassa.apri(true);
        cassa.scegliRiga(1);
        cassa.c<QComboBox>("cmbOperazione")->setEditText(QStringLiteral("Due corretto"));
        cassa.c<ValutaBox>("txtEntrate")->setText(QStringLiteral("200"));
        cassa.clic("cmdVar");

        QCOMPARE(cassa.env.ui.messages.size(), 0);
        QCOMPARE(operazione(cassa, 2), QStringLiteral("Due corretto"));
        QSqlQuery q(DbArchivio());
        QVERIFY(
            q.exec(QStringLiteral(R"(SELECT * FROM "Vardello" WHERE "Numero Progressivo" = 2)")));
        QVERIFY(q.next());
        QCOMPARE(valutaDaSql(q.value(QStringLiteral("Entrate"))), Money::fromWhole(200));
        QCOMPARE(q.value(QStringLiteral("Utente")).toString(), QStringLiteral("Anna"));
        QCOMPARE(q.value(QStringLiteral("DataIns")).toString(), QStringLiteral("01/02/2005"));
        QCOMPARE(q.value(QStringLiteral("OraIns")).toString(), QStringLiteral("09:15"));
        QVERIFY(q.value(QStringLiteral("Data documento")).isNull());
        q.finish();

        QCOMPARE(cassa.trimmed(1, 1), QStringLiteral("Due corretto"));
        QCOMPARE(cassa.box("txtEntrateMese"), QStringLiteral("        300,00"));
        QCOMPARE(cassa.totaliDelMese(2005, 3), QStringLiteral("300,00/30,00"));
        QVERIFY(modoInserimento(cassa));
        QCOMPARE(cassa.box("txtNumProg"), QString());
        QVERIFY(cassa.fuoco() == cassa.griglia());
        QCOMPARE(cassa.griglia()->selectionModel()->selectedRows()[0].row(), 1);

        // The insert stays available in change mode: the loaded values become a new entry.
        cassa.scegliRiga(0);
        cassa.clic("cmdIns");
        QCOMPARE(cassa.movimentiInArchivio(), 4);
        QCOMPARE(operazione(cassa, 4), QStringLiteral("Uno"));
        QCOMPARE(cassa.env
                     .scalar(QStringLiteral(R"(SELECT "Utente" FROM "Vardello"
                                                    WHERE "Numero Progressivo" = 4)"))
                     .toString(),
                 QStringLiteral("Mario"));
        QVERIFY(modoInserimento(cassa));
    }

    void anImpossibleCompetenceDateIsRefusedNotStoredAsNoDate() {
        CassaDiProva cassa;
        cassa.env.exec(QStringLiteral(R"(INSERT INTO "Parametri" VALUES (?, '', ?))"),
                       {true, false});
        cassa.movimento(1, QDate(2005, 3, 1), cassa.euro("122"), QVariant(), "Fattura");
        cassa.env.exec(QStringLiteral(R"(INSERT INTO "Codici Iva" VALUES ('022', 'Ordinaria',
                                         220000, 0, 0, 0))"));
        cassa.env.exec(QStringLiteral(R"(UPDATE "Vardello" SET "Codice Iva" = '022',
                                         "Imponibile Iva" = ?, "Data documento" = ?)"),
                       {cassa.euro("122"), valoreSql(QDate(2005, 3, 1))});
        cassa.apri(true);
        const auto dataDocumento = [&] {
            return dataDaSql(cassa.env.scalar(QStringLiteral(R"(SELECT "Data documento"
                                                             FROM "Vardello")")));
        };
        const QString messaggio =
            QStringLiteral("La data di competenza iva non e' una data valida!");

        cassa.scegliRiga(0);
        cassa.c<QLineEdit>("txtDataDoc")->setText(QStringLiteral("31/02/2005"));
        cassa.clic("cmdVar");
        QVERIFY(cassa.messaggio(messaggio));
        QCOMPARE(dataDocumento(), QDate(2005, 3, 1));
        QVERIFY(modoVariazione(cassa));

        cassa.clic("cmdIns");
        QCOMPARE(cassa.env.ui.messages.size(), 2);
        QCOMPARE(cassa.env.ui.messages.last().text, messaggio);
        QCOMPARE(cassa.movimentiInArchivio(), 1);
    }

    void aNumberGivenAgainToAnotherComputersMovementIsLeftAlone() {
        CassaDiProva cassa;
        treMovimenti(cassa);
        cassa.apri(true);
        cassa.scegliRiga(2);  // number 3, the highest
        // Meanwhile another computer deletes number 3 and records a new movement, which
        // gets number 3 again.
        cassa.env.exec(QStringLiteral(R"(DELETE FROM "Vardello" WHERE "Numero Progressivo" = 3)"));
        cassa.env.exec(QStringLiteral(R"(INSERT INTO "Vardello" ("Numero Progressivo",
                       "Data Registrazione", "Operazione", "Entrate", "Utente", "DataIns", "OraIns")
                       VALUES (3, ?, 'Di Luca', 70000, 'Luca', '15/03/2005', '10:29'))"),
                       {valoreSql(QDate(2005, 3, 3))});

        cassa.c<QComboBox>("cmbOperazione")->setEditText(QStringLiteral("Tre corretto"));
        cassa.clic("cmdVar");
        QVERIFY(cassa.messaggio(QStringLiteral("Errore durante la variazione del record!")));
        QCOMPARE(operazione(cassa, 3), QStringLiteral("Di Luca"));

        // A grid showing a number 3 that is gone: deleting it leaves the new one alone.
        cassa.apri(true);
        cassa.env.exec(QStringLiteral(R"(UPDATE "Vardello" SET "Utente" = 'Marta',
                       "Operazione" = 'Di Marta' WHERE "Numero Progressivo" = 3)"));
        cassa.selezionaRighe(2, 2);
        cassa.clic("cmdCanc");
        QCOMPARE(operazione(cassa, 3), QStringLiteral("Di Marta"));
        QCOMPARE(cassa.trimmed(2, 1), QStringLiteral("Di Marta"));

        // The same user re-entering a corrected movement within the minute leaves the same
        // stamp: what the movement holds tells it apart.
        cassa.env.ui.clear();
        cassa.scegliRiga(0);
        cassa.env.exec(QStringLiteral(R"(UPDATE "Vardello" SET "Entrate" = 1230000
                                         WHERE "Numero Progressivo" = 1)"));
        cassa.c<QComboBox>("cmbOperazione")->setEditText(QStringLiteral("Uno corretto"));
        cassa.clic("cmdVar");
        QVERIFY(cassa.messaggio(QStringLiteral("Errore durante la variazione del record!")));
        QCOMPARE(operazione(cassa, 1), QStringLiteral("Uno"));
    }

    void aChangeToAnotherMonthBringsTheMonthLeftUpToDate() {
        CassaDiProva cassa;
        cassa.movimento(1, QDate(2005, 3, 1), cassa.euro("100"), QVariant(), "Resta");
        cassa.movimento(2, QDate(2005, 3, 2), cassa.euro("10"), QVariant(), "Trasloca");
        cassa.movimento(3, QDate(2005, 4, 1), cassa.euro("1000"), QVariant(), "Aprile");
        frmVardello& finestra = cassa.apri(true);
        cassa.mostraMese(2005, 4);
        cassa.mostraMese(2005, 3);
        cassa.scegliRiga(1);
        cassa.c<QLineEdit>("txtDataRegistrazione")->setText(QStringLiteral("10/04/2005"));
        cassa.clic("cmdVar");
        QVERIFY(cassa.messaggio(QStringLiteral("Registrazione appartenente ad un altro mese.")));
        QCOMPARE(finestra.meseSelezionato(), QDate(2005, 4, 1));
        QCOMPARE(cassa.righe()->rowCount(), 3);
        QCOMPARE(cassa.totaliDelMese(2005, 3), QStringLiteral("100,00/0,00"));
        QCOMPARE(cassa.totaliDelMese(2005, 4), QStringLiteral("1010,00/0,00"));
        // Inserts add to both months' rows as the change left them.
        cassa.scrivi(QStringLiteral("11/04/2005"), QStringLiteral("Dopo"), QStringLiteral("5"));
        cassa.clic("cmdIns");
        cassa.mostraMese(2005, 3);
        cassa.scrivi(QStringLiteral("11/03/2005"), QStringLiteral("Dopo"), QStringLiteral("1"));
        cassa.clic("cmdIns");
        QCOMPARE(cassa.totaliDelMese(2005, 3), QStringLiteral("101,00/0,00"));
        QCOMPARE(cassa.totaliDelMese(2005, 4), QStringLiteral("1015,00/0,00"));
        cassa.mostraMese(2005, 5);
        QCOMPARE(cassa.box("txtEntrateMeseP"), QStringLiteral("      1.116,00"));
    }

    void aChangeOfAnEntryDeletedMeanwhileOrRefusedIsTold() {
        CassaDiProva cassa;
        treMovimenti(cassa);
        cassa.apri(true);
        cassa.scegliRiga(0);
        cassa.c<QComboBox>("cmbOperazione")->setEditText(QStringLiteral("Cambiato"));
        cassa.env.exec(QStringLiteral(R"(DELETE FROM "Vardello" WHERE "Numero Progressivo" = 1)"));
        cassa.clic("cmdVar");
        QCOMPARE(cassa.env.ui.beeps, 1);
        QVERIFY(cassa.messaggio(QStringLiteral("Errore durante la variazione del record!")));
        QCOMPARE(cassa.env.ui.messages.last().icon, Interaction::Icon::Exclamation);
        QCOMPARE(cassa.env.ui.messages.last().title, QStringLiteral("VARDELLO"));
        QVERIFY(modoVariazione(cassa));
        QCOMPARE(cassa.c<QComboBox>("cmbOperazione")->currentText(), QStringLiteral("Cambiato"));
        QCOMPARE(cassa.movimentiInArchivio(), 2);

        // A write the engine refuses is told, never taken for done.
        cassa.apri(true);
        cassa.env.ui.clear();
        cassa.scegliRiga(0);  // number 2, now the first
        cassa.c<QComboBox>("cmbOperazione")->setEditText(QStringLiteral("Cambiato"));
        cassa.rifiutaScritture("UPDATE");
        cassa.clic("cmdVar");
        QCOMPARE(cassa.env.ui.beeps, 1);
        QCOMPARE(cassa.env.ui.messages.size(), 1);
        QVERIFY(cassa.env.ui.messages[0].text.startsWith(
            QStringLiteral("Errore nell'accesso alla tabella 'Vardello'\n\nCodice errore = ")));
        QCOMPARE(cassa.env.ui.messages[0].icon, Interaction::Icon::Exclamation);
        QCOMPARE(operazione(cassa, 2), QStringLiteral("Due"));
        QVERIFY(modoVariazione(cassa));
        QCOMPARE(cassa.c<QComboBox>("cmbOperazione")->currentText(), QStringLiteral("Cambiato"));
    }

    void deletingRemovesOnlyTheSelectedEntries() {
        CassaDiProva cassa;
        treMovimenti(cassa);
        cassa.movimento(4, QDate(2005, 4, 1), cassa.euro("5"), QVariant());
        cassa.apri(true);

        cassa.selezionaRighe(0, 1);
        cassa.env.ui.answers.enqueue(Interaction::Answer::No);
        cassa.clic("cmdCanc");
        QCOMPARE(cassa.env.ui.messages.size(), 1);
        QCOMPARE(cassa.env.ui.messages[0].text,
                 QStringLiteral("Attenzione! Tutte le righe selezionate verranno cancellate!\n\n"
                                "Procedo?"));
        QCOMPARE(cassa.env.ui.messages[0].icon, Interaction::Icon::Question);
        QCOMPARE(cassa.env.ui.messages[0].buttons, Interaction::Buttons::YesNo);
        QCOMPARE(cassa.env.ui.messages[0].defaultAnswer, Interaction::Answer::No);
        QCOMPARE(cassa.env.ui.beeps, 1);
        QCOMPARE(cassa.movimentiInArchivio(), 4);

        // One of the two was deleted meanwhile by another computer: the other goes, quietly.
        cassa.env.exec(QStringLiteral(R"(DELETE FROM "Vardello" WHERE "Numero Progressivo" = 1)"));
        cassa.clic("cmdCanc");
        QCOMPARE(cassa.env.ui.messages.size(), 2);
        QCOMPARE(cassa.movimentiInArchivio(), 2);
        QCOMPARE(cassa.righe()->rowCount(), 2);
        QCOMPARE(cassa.trimmed(0, 1), QStringLiteral("Tre"));
        QCOMPARE(cassa.box("txtUsciteMese"), QStringLiteral("         30,00"));
        QCOMPARE(cassa.totaliDelMese(2005, 3), QStringLiteral("0,00/30,00"));

        // A selection reaching the blank row deletes the last entry of the month and keeps
        // the blank row.
        cassa.griglia()->selectAll();
        cassa.clic("cmdCanc");
        QCOMPARE(cassa.movimentiInArchivio(), 1);
        QCOMPARE(cassa.righe()->rowCount(), 1);
        QCOMPARE(cassa.box("txtSaldoFineMese"), QStringLiteral("          0,00"));
        QCOMPARE(cassa.totaliDelMese(2005, 3), QStringLiteral("0,00/0,00"));
    }

    void aRefusedDeleteIsToldAndDeletesNothing() {
        CassaDiProva cassa;
        treMovimenti(cassa);
        cassa.apri(true);
        cassa.rifiutaScritture("DELETE");
        cassa.selezionaRighe(0, 2);
        cassa.clic("cmdCanc");
        QCOMPARE(cassa.env.ui.beeps, 2);
        QCOMPARE(cassa.env.ui.messages.size(), 2);
        QVERIFY(cassa.env.ui.messages[1].text.startsWith(
            QStringLiteral("Errore nell'accesso alla tabella 'Vardello'\n\nCodice errore = ")));
        QCOMPARE(cassa.env.ui.messages[1].title, QStringLiteral("Vardello"));
        QCOMPARE(cassa.env.ui.messages[1].icon, Interaction::Icon::None);
        QCOMPARE(cassa.movimentiInArchivio(), 3);
        QCOMPARE(cassa.righe()->rowCount(), 4);
    }

    void theGridKeepsItsPlaceAfterAChangeAndShowsTheEndAfterAnInsert() {
        CassaDiProva cassa;
        for (int i = 1; i <= 60; ++i) {
            cassa.movimento(i, QDate(2005, 3, 1 + i % 28), cassa.euro("1"), QVariant(),
                            QStringLiteral("Riga %1").arg(i));
        }
        cassa.apri(true);
        QTableView* griglia = cassa.griglia();
        griglia->verticalScrollBar()->setValue(20);
        cassa.scegliRiga(25);
        cassa.c<ValutaBox>("txtEntrate")->setText(QStringLiteral("2"));
        cassa.clic("cmdVar");
        QCOMPARE(griglia->verticalScrollBar()->value(), 20);

        cassa.scrivi(QStringLiteral("31/03/2005"), QStringLiteral("In fondo"), QStringLiteral("1"));
        griglia->verticalScrollBar()->setValue(0);
        cassa.clic("cmdIns");
        const QRect nuova = griglia->visualRect(cassa.righe()->index(60, 0));
        QVERIFY(griglia->viewport()->rect().contains(nuova));
        QCOMPARE(cassa.trimmed(60, 1), QStringLiteral("In fondo"));
    }
};

QTEST_MAIN(TestVariazione)
#include "tst_variazione.moc"
