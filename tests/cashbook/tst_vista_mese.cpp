#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetricsF>
#include <QHeaderView>
#include <QLabel>
#include <QTabBar>

#include "CassaDiProva.h"

// The month view: which movements a month shows, how the grid writes them, the month choice,
// the start-up and the window's size.
class TestVistaMese : public QObject {
    Q_OBJECT
  private slots:
    void aMonthShowsItsOwnDaysInRegistrationOrder() {
        CassaDiProva cassa;
        cassa.movimento(1, QDate(2005, 2, 28), cassa.euro("10"), QVariant());
        cassa.movimento(5, QDate(2005, 3, 1), cassa.euro("1.234,5"), QVariant(), "Secondo");
        cassa.movimento(1234, QDate(2005, 3, 1), QVariant(), cassa.euro("0"), "Primo");
        cassa.movimento(3, QDate(2005, 3, 31), cassa.euro("0,01"), cassa.euro("99"), "Ultimo");
        cassa.movimento(2, QDate(2005, 4, 1), cassa.euro("7"), QVariant());
        cassa.apri();

        QCOMPARE(cassa.righe()->rowCount(), 4);  // three movements and the blank row
        // One day's movements in number order, then the last day; 01/04 stops the month.
        QCOMPARE(cassa.trimmed(0, 4), QStringLiteral("5"));
        QCOMPARE(cassa.trimmed(1, 4), QStringLiteral("1.234"));
        QCOMPARE(cassa.trimmed(2, 1), QStringLiteral("Ultimo"));
        for (int colonna = 0; colonna < 8; ++colonna) {
            QCOMPARE(cassa.cella(3, colonna), QString());
        }
        // The cells hold the fixed-width texts; amounts are formatted, NULL is empty.
        QCOMPARE(cassa.cella(0, 0), QStringLiteral("01/03/2005"));
        QCOMPARE(cassa.cella(0, 1), QStringLiteral("Secondo").leftJustified(100));
        QCOMPARE(cassa.cella(0, 2), QStringLiteral("1.234,50"));
        QCOMPARE(cassa.cella(0, 3), QString());
        QCOMPARE(cassa.cella(1, 2), QString());
        QCOMPARE(cassa.cella(1, 3), QStringLiteral("0,00"));
        QCOMPARE(cassa.cella(1, 4), QStringLiteral("1.234 "));
        QCOMPARE(cassa.cella(0, 5), QStringLiteral("Anna").leftJustified(25));
        QCOMPARE(cassa.cella(0, 6), QStringLiteral("01/02/2005"));
        QCOMPARE(cassa.cella(0, 7), QStringLiteral("09:15"));
        QCOMPARE(cassa.box("txtEntrateMese"), QStringLiteral("      1.234,51"));
        QCOMPARE(cassa.box("txtUsciteMese"), QStringLiteral("         99,00"));

        const QStringList intestazioni = {QStringLiteral("Data"),    QStringLiteral("Operazione"),
                                          QStringLiteral("Entrate"), QStringLiteral("Uscite"),
                                          QStringLiteral("N.Pr."),   QStringLiteral("Utente"),
                                          QStringLiteral("DataIns"), QStringLiteral("OraIns")};
        const int larghezze[] = {93, 277, 97, 97, 45, 93, 93, 40};
        for (int colonna = 0; colonna < 8; ++colonna) {
            QCOMPARE(cassa.righe()->headerData(colonna, Qt::Horizontal).toString(),
                     intestazioni[colonna]);
            QCOMPARE(cassa.griglia()->columnWidth(colonna), larghezze[colonna]);
        }
        const auto allineamento = [&](int colonna) {
            return cassa.righe()->index(0, colonna).data(Qt::TextAlignmentRole).toInt() &
                   Qt::AlignHorizontal_Mask;
        };
        QCOMPARE(allineamento(0), int(Qt::AlignHCenter));
        QCOMPARE(allineamento(1), int(Qt::AlignLeft));
        QCOMPARE(allineamento(2), int(Qt::AlignRight));
        QCOMPARE(allineamento(4), int(Qt::AlignRight));
        QCOMPARE(allineamento(7), int(Qt::AlignHCenter));
    }

    void bigNumbersStayWholeAndPickTheirOwnMovement() {
        CassaDiProva cassa;
        cassa.movimento(100000, QDate(2005, 3, 2), cassa.euro("1"), QVariant(), "Centomila");
        cassa.movimento(10000, QDate(2005, 3, 1), cassa.euro("2"), QVariant(), "Diecimila");
        cassa.apri(true);
        QCOMPARE(cassa.cella(1, 4), QStringLiteral("100.000"));
        cassa.scegliRiga(1);
        QCOMPARE(cassa.c<QComboBox>("cmbOperazione")->currentText(), QStringLiteral("Centomila"));
        QCOMPARE(cassa.box("txtNumProg"), QStringLiteral("100.000"));
    }

    void anEmptyMonthShowsTheBlankRowAndTheEarlierTotals() {
        CassaDiProva cassa;
        cassa.movimento(1, QDate(2005, 2, 10), cassa.euro("100"), cassa.euro("40"));
        cassa.apri();
        cassa.mostraMese(2005, 2);
        cassa.mostraMese(2005, 5);
        QCOMPARE(cassa.righe()->rowCount(), 1);
        QCOMPARE(cassa.box("txtEntrateMese"), QStringLiteral("          0,00"));
        QCOMPARE(cassa.box("txtSaldoFineMese"), QStringLiteral("          0,00"));
        QCOMPARE(cassa.box("txtEntrateMeseP"), QStringLiteral("        100,00"));
        QCOMPARE(cassa.box("txtUsciteMeseP"), QStringLiteral("         40,00"));
        QCOMPARE(cassa.box("txtSaldo"), QStringLiteral("         60,00"));
    }

    void theYearAndTheTabChooseTheMonth() {
        CassaDiProva cassa;
        cassa.movimento(1, QDate(2004, 3, 5), cassa.euro("1"), QVariant(), "Marzo 2004");
        cassa.movimento(2, QDate(2005, 3, 5), cassa.euro("2"), QVariant(), "Marzo 2005");
        cassa.movimento(3, QDate(2004, 7, 5), cassa.euro("3"), QVariant(), "Luglio 2004");
        frmVardello& finestra = cassa.apri();
        QCOMPARE(cassa.trimmed(0, 1), QStringLiteral("Marzo 2005"));
        cassa.c<QComboBox>("cmbAnno")->setCurrentText(QStringLiteral("2004"));
        QCOMPARE(cassa.trimmed(0, 1), QStringLiteral("Marzo 2004"));
        QCOMPARE(finestra.meseSelezionato(), QDate(2004, 3, 1));
        cassa.c<QTabBar>("tabMesi")->setCurrentIndex(6);
        QCOMPARE(cassa.trimmed(0, 1), QStringLiteral("Luglio 2004"));
        QCOMPARE(cassa.righe()->rowCount(), 2);
    }

    void choosingTheYearOrTabShownLoadsTheMonthAgain() {
        CassaDiProva cassa;
        cassa.movimento(1, QDate(2005, 3, 5), cassa.euro("1"), QVariant(), "Primo");
        cassa.apri(true);
        auto* anni = cassa.c<QComboBox>("cmbAnno");
        auto* mesi = cassa.c<QTabBar>("tabMesi");
        const auto scegliAnno = [&](const QString& anno) {
            anni->showPopup();
            QAbstractItemView* lista = anni->view();
            lista->setCurrentIndex(lista->model()->index(anni->findText(anno), 0));
            QTest::keyClick(lista, Qt::Key_Return);
        };
        // Another computer stores a movement of the month shown.
        cassa.movimento(2, QDate(2005, 3, 6), cassa.euro("2"), QVariant(), "Secondo");
        scegliAnno(QStringLiteral("2005"));
        QCOMPARE(cassa.righe()->rowCount(), 3);
        cassa.movimento(3, QDate(2005, 3, 7), cassa.euro("3"), QVariant(), "Terzo");
        QTest::mouseClick(mesi, Qt::LeftButton, {}, mesi->tabRect(2).center());
        QCOMPARE(cassa.righe()->rowCount(), 4);
        // Another year chosen from the list is loaded as well.
        scegliAnno(QStringLiteral("2004"));
        QCOMPARE(anni->currentText(), QStringLiteral("2004"));
        QCOMPARE(cassa.righe()->rowCount(), 1);
    }

    void startUpNamesTheArchiveOpenedAndShowsToday() {
        CassaDiProva cassa;
        cassa.env.clock.set(QDateTime(QDate(2027, 12, 10), QTime(9, 0)));
        cassa.movimento(1, QDate(2027, 12, 1), cassa.euro("5"), QVariant());
        frmVardello& finestra = cassa.apri();
        QCOMPARE(finestra.windowTitle(), QStringLiteral("Vardello - Versione %1.%2.%3 - Archivio:")
                                                 .arg(VARDELLO_VERSION_MAJOR)
                                                 .arg(VARDELLO_VERSION_MINOR)
                                                 .arg(VARDELLO_VERSION_PATCH) +
                                             programma().PercorsoArchivio.toUpper());
        QCOMPARE(cassa.c<QLabel>("lblPercorsoArchivi")->text(),
                 QStringLiteral("Percorso archivi: ") + programma().PercorsoArchivio);
        auto* anni = cassa.c<QComboBox>("cmbAnno");
        QCOMPARE(anni->count(), 33);
        QCOMPARE(anni->itemText(0), QStringLiteral("1996"));
        QCOMPARE(anni->itemText(32), QStringLiteral("2028"));
        QCOMPARE(anni->currentText(), QStringLiteral("2027"));
        QCOMPARE(cassa.c<QTabBar>("tabMesi")->currentIndex(), 11);
        QCOMPARE(cassa.righe()->rowCount(), 2);
        // Only the month shown was stored, not the months passed through while choosing it.
        QCOMPARE(
            cassa.env.scalar(QStringLiteral(R"(SELECT count(*) FROM "Totali di Cassa")")).toInt(),
            1);
    }

    void theVatControlsFollowTheParameters() {
        CassaDiProva cassa;
        cassa.apri();
        const char* controlliIva[] = {"lblIva",        "lblImponibileIva", "lblDataDoc",
                                      "lblImpostaIva", "txtCodiceIva",     "txtDescrizioneIva",
                                      "txtAliquota",   "txtImponibileIva", "txtImpostaIva",
                                      "txtDataDoc",    "cmdCodiciIva",     "cmdSituazioneIva"};
        for (const char* nome : controlliIva) {
            QVERIFY2(cassa.c<QWidget>(nome)->isHidden(), nome);  // no parameters: VAT off
        }
        QCOMPARE(cassa.c<QWidget>("cmdInfo")->x(), 2820 / 15);

        // Switched on in the parameters window: the main window reads them again.
        CassaDiProva::nellaFinestraModale([](QWidget* parametri) {
            QTest::mouseClick(parametri->findChild<QCheckBox*>(QStringLiteral("chkGestioneIva")),
                              Qt::LeftButton);
            QTest::mouseClick(parametri->findChild<QCheckBox*>(QStringLiteral("chkIvaTrimestrale")),
                              Qt::LeftButton);
            QTest::mouseClick(parametri->findChild<QPushButton*>(QStringLiteral("cmdOk")),
                              Qt::LeftButton);
        });
        cassa.clic("cmdServizi");
        for (const char* nome : controlliIva) {
            QVERIFY2(!cassa.c<QWidget>(nome)->isHidden(), nome);
        }
        QCOMPARE(cassa.c<QWidget>("cmdInfo")->x(), 5340 / 15);
        QVERIFY(programma().IvaTrimestrale);
    }

    void theGridFollowsTheWindowButNeverShrinksBelowNothing() {
        CassaDiProva cassa;
        frmVardello& finestra = cassa.apri(true);
        finestra.resize(800, 600);
        QTRY_COMPARE(cassa.griglia()->size(), QSize(800 - 19, 600 - 260));
        auto* pannello = cassa.c<QWidget>("pnlInferiore");
        QCOMPARE(pannello->geometry(), QRect(0, 600 - 227, 800, 227));
        // The window keeps a minimum size; below it (were it lifted) the grid stays as it was.
        QVERIFY(finestra.minimumWidth() > cassa.c<QWidget>("cmbAnno")->geometry().right());
        finestra.setMinimumSize(0, 0);
        finestra.resize(15, 200);
        QTRY_COMPARE(finestra.size(), QSize(15, 200));
        QCOMPARE(cassa.griglia()->size(), QSize(781, 340));
    }

    void theControlsHaveTheirKindsAndPlaces() {
        CassaDiProva cassa;
        cassa.apri();
        for (const char* nome : {"txtEntrate", "txtUscite", "txtImponibileIva", "txtImpostaIva"}) {
            auto* box = cassa.c<ValutaBox>(nome);
            QCOMPARE(box->decimali(), 2);
            QCOMPARE(box->maxLength(), 14);
            // The columns of figures line up: every digit, the separators and the blank
            // take the same width in the font the box really got.
            const QFontMetricsF misure(box->font());
            for (const QChar segno : QStringLiteral("0123456789.,- ")) {
                QCOMPARE(misure.horizontalAdvance(segno), misure.horizontalAdvance(u'0'));
            }
            QCOMPARE(box->text(), QString());  // not the "Text1" of a new box
        }
        for (const char* nome : {"txtDataRegistrazione", "txtDataDoc", "txtDataIns"}) {
            QCOMPARE(cassa.c<QLineEdit>(nome)->displayText(), QStringLiteral("__/__/____"));
        }
        QCOMPARE(cassa.c<QLineEdit>("txtOraIns")->displayText(), QStringLiteral("__.__"));
        QVERIFY(cassa.c<QComboBox>("cmbOperazione")->isEditable());
        QCOMPARE(cassa.c<QLineEdit>("txtCodiceIva")->maxLength(), 3);
        for (const char* nome : {"txtNumProg", "txtUtente", "txtDescrizioneIva", "txtAliquota",
                                 "txtEntrateMese", "txtSaldo"}) {
            QVERIFY2(!cassa.c<QWidget>(nome)->isEnabled(), nome);
        }
        QCOMPARE(cassa.c<QTabBar>("tabMesi")->count(), 12);
        QCOMPARE(cassa.c<QTabBar>("tabMesi")->tabText(4), QStringLiteral("Mag"));
        QCOMPARE(cassa.c<QWidget>("txtEntrate")->pos(), QPoint(380, 0));
        QCOMPARE(cassa.c<QWidget>("txtCodiceIva")->pos(), QPoint(4, 36));
        QCOMPARE(cassa.c<QWidget>("txtEntrateGenerali")->pos(), QPoint(136, 120));
        QCOMPARE(cassa.c<QWidget>("cmdCanc")->pos(), QPoint(628, 72));
        QCOMPARE(cassa.c<QWidget>("cmdCopia")->pos(), QPoint(508, 184));
        QCOMPARE(cassa.c<QWidget>("cmbAnno")->x(), 624);
        QCOMPARE(cassa.c<QWidget>("tabMesi")->y(), 156);
        QCOMPARE(cassa.c<QWidget>("lblPercorsoArchivi")->y(), 212);
        QCOMPARE(cassa.c<QPushButton>("cmdStampa")->toolTip(),
                 QStringLiteral("Apre la finestra di stampa"));
        QCOMPARE(cassa.c<QPushButton>("cmdEsci")->toolTip(), QStringLiteral("Esci"));
    }

    void aFailedLoadIsToldWithTheProgramsTitle() {
        CassaDiProva cassa;
        frmVardello& finestra = cassa.apri();
        cassa.env.exec(QStringLiteral(R"(ALTER TABLE "Vardello" RENAME TO "Altro")"));
        cassa.env.ui.clear();
        finestra.CaricaMese(QDate(2005, 3, 1));
        QCOMPARE(cassa.env.ui.beeps, 1);
        QCOMPARE(cassa.env.ui.messages.size(), 1);
        QVERIFY(cassa.env.ui.messages[0].text.startsWith(
            QStringLiteral("Errore nell'accesso alla tabella 'Vardello'\n\nCodice errore = ")));
        QVERIFY(!cassa.env.ui.messages[0].text.endsWith(QStringLiteral("= ")));
        QCOMPARE(cassa.env.ui.messages[0].title, QStringLiteral("Vardello"));
        QCOMPARE(cassa.env.ui.messages[0].icon, Interaction::Icon::None);
        QCOMPARE(cassa.righe()->rowCount(), 1);
        QCOMPARE(cassa.box("txtEntrateMese"), QStringLiteral("          0,00"));
    }
};

QTEST_MAIN(TestVistaMese)
#include "tst_vista_mese.moc"
