#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>

#include "Archivio.h"
#include "ArchivioIva.h"
#include "Programma.h"
#include "clsRicerca.h"

// The VAT code lookup: which codes it lists, in which order, and what it hands back.
class TestRicercaIva : public QObject {
    Q_OBJECT
  private:
    static void codiciDiProva(QSqlDatabase db) {
        aggiungiCodice(db, QStringLiteral("022"), QStringLiteral("IVA 22%"), importo("22"));
        aggiungiCodice(db, QStringLiteral("004"), QStringLiteral("Iva 4%"), importo("4"));
        aggiungiCodice(db, QStringLiteral("010"), QStringLiteral("ESENTE art.10"));
        aggiungiCodice(db, QStringLiteral("200"), QStringLiteral("ALTRA"));
        aggiungiCodice(db, QStringLiteral("002"), QStringLiteral("esente minore"));
        aggiungiCodice(db, QStringLiteral("210"), QString());
    }

    static QListWidget* lista(QWidget* ricerca) {
        return ricerca->findChild<QListWidget*>(QStringLiteral("lstRicerca"));
    }
    static QCheckBox* ordine(QWidget* ricerca) {
        return ricerca->findChild<QCheckBox*>(QStringLiteral("chkOrdinaPerDescrizione"));
    }
    static QPushButton* pulsante(QWidget* ricerca, const char* nome) {
        return ricerca->findChild<QPushButton*>(QString::fromLatin1(nome));
    }
    static QStringList righe(QWidget* ricerca) {
        QStringList testi;
        for (int i = 0; i < lista(ricerca)->count(); ++i) {
            testi.append(lista(ricerca)->item(i)->text());
        }
        return testi;
    }
    static void seleziona(QWidget* ricerca, int riga) {
        QListWidget* l = lista(ricerca);
        l->setCurrentRow(riga);
        QVERIFY(l->item(riga)->isSelected());
    }

  private slots:
    void listsEveryCodeInEitherOrder() {
        TestEnvironment env;
        codiciDiProva(env.openNewArchive());
        frmRicercaIva ricerca;
        ricerca.setStringaIniziale(QString());
        ricerca.setNomeDB(programma().PercorsoArchivio);
        mostraAttiva(&ricerca);

        QCOMPARE(ricerca.windowTitle(), QStringLiteral("Ricerca Codici IVA"));
        QVERIFY(ordine(&ricerca)->isEnabled());
        QVERIFY(!ordine(&ricerca)->isChecked());
        QCOMPARE(righe(&ricerca), QStringList({QStringLiteral("002 - esente minore       "),
                                               QStringLiteral("004 - Iva 4%              "),
                                               QStringLiteral("010 - ESENTE art.10       "),
                                               QStringLiteral("022 - IVA 22%             "),
                                               QStringLiteral("200 - ALTRA               "),
                                               QStringLiteral("210 -                     ")}));

        QTest::mouseClick(ordine(&ricerca), Qt::LeftButton);
        QVERIFY(ordine(&ricerca)->isChecked());
        // Description order ignores letter case; the code stands at position 24.
        QCOMPARE(righe(&ricerca), QStringList({QStringLiteral("                     - 210"),
                                               QStringLiteral("ALTRA                - 200"),
                                               QStringLiteral("ESENTE art.10        - 010"),
                                               QStringLiteral("esente minore        - 002"),
                                               QStringLiteral("IVA 22%              - 022"),
                                               QStringLiteral("Iva 4%               - 004")}));
        QVERIFY(lista(&ricerca)->hasFocus());
        QTest::mouseClick(ordine(&ricerca), Qt::LeftButton);  // back to code order, and again
        QCOMPARE(righe(&ricerca).first(), QStringLiteral("002 - esente minore       "));
        QTest::mouseClick(ordine(&ricerca), Qt::LeftButton);

        QListWidget* l = lista(&ricerca);
        const QRect riga = l->visualItemRect(l->item(3));
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, riga.center());
        QTest::mouseDClick(l->viewport(), Qt::LeftButton, {}, riga.center());
        QCOMPARE(ricerca.StringaFinale(), QStringLiteral("002"));
        QVERIFY(!ricerca.isVisible());
        QCOMPARE(env.ui.messages.size(), 0);
    }

    void aStartTextNarrowsTheList() {
        TestEnvironment env;
        codiciDiProva(env.openNewArchive());
        {
            // Digits match the start of the code, not its value: 002 and 022 stay out.
            frmRicercaIva ricerca;
            ricerca.setStringaIniziale(QStringLiteral(" 2 "));
            ricerca.setNomeDB(programma().PercorsoArchivio);
            mostraAttiva(&ricerca);
            QCOMPARE(righe(&ricerca), QStringList({QStringLiteral("200 - ALTRA               "),
                                                   QStringLiteral("210 -                     ")}));
            QVERIFY(!ordine(&ricerca)->isEnabled());
            QVERIFY(!ordine(&ricerca)->isChecked());
            QTest::mouseClick(ordine(&ricerca), Qt::LeftButton);
            QVERIFY(!ordine(&ricerca)->isChecked());
            QCOMPARE(righe(&ricerca).size(), 2);
        }
        {
            // Letters match the start of the description, capitals and small letters apart.
            frmRicercaIva ricerca;
            ricerca.setStringaIniziale(QStringLiteral("ESE"));
            ricerca.setNomeDB(programma().PercorsoArchivio);
            mostraAttiva(&ricerca);
            QCOMPARE(righe(&ricerca), QStringList({QStringLiteral("ESENTE art.10        - 010")}));
            QVERIFY(ordine(&ricerca)->isChecked());
            QVERIFY(!ordine(&ricerca)->isEnabled());
            seleziona(&ricerca, 0);
            QTest::keyClick(lista(&ricerca), Qt::Key_Return);
            QCOMPARE(ricerca.StringaFinale(), QStringLiteral("010"));
        }
        {
            frmRicercaIva ricerca;
            ricerca.setStringaIniziale(QStringLiteral("xyz"));
            ricerca.setNomeDB(programma().PercorsoArchivio);
            mostraAttiva(&ricerca);
            QCOMPARE(lista(&ricerca)->count(), 0);
        }
        QCOMPARE(env.ui.messages.size(), 0);
    }

    void everyWayOutButAChoiceReturnsNothing() {
        TestEnvironment env;
        codiciDiProva(env.openNewArchive());
        const QString archivio = programma().PercorsoArchivio;

        allaRicerca([](frmRicercaIva* ricerca) { pulsante(ricerca, "cmdCancel")->click(); });
        QCOMPARE(clsRicerca().F4CodIva(QString(), archivio, QString()), QString());

        allaRicerca([](frmRicercaIva* ricerca) {
            seleziona(ricerca, 1);
            pulsante(ricerca, "cmdCancel")->click();
        });
        QCOMPARE(clsRicerca().F4CodIva(QString(), archivio, QString()), QString());

        allaRicerca([](frmRicercaIva* ricerca) { pulsante(ricerca, "cmdOk")->click(); });
        QCOMPARE(clsRicerca().F4CodIva(QString(), archivio, QString()), QString());

        // Esc in the list closes the lookup as Cancel does, a line selected or not.
        allaRicerca([](frmRicercaIva* ricerca) {
            seleziona(ricerca, 1);
            QTest::keyClick(ricerca->findChild<QWidget*>(QStringLiteral("lstRicerca")),
                            Qt::Key_Escape);
        });
        QCOMPARE(clsRicerca().F4CodIva(QString(), archivio, QString()), QString());

        allaRicerca([](frmRicercaIva* ricerca) {
            seleziona(ricerca, 1);
            ricerca->close();  // the title bar
        });
        QCOMPARE(clsRicerca().F4CodIva(QString(), archivio, QString()), QString());

        allaRicerca([](frmRicercaIva* ricerca) {
            seleziona(ricerca, 1);
            pulsante(ricerca, "cmdOk")->click();
        });
        QCOMPARE(clsRicerca().F4CodIva(QString(), archivio, QString()), QStringLiteral("004"));

        // Enter on a focused button clicks it, whichever button it is.
        allaRicerca([](frmRicercaIva* ricerca) {
            seleziona(ricerca, 1);
            pulsante(ricerca, "cmdCancel")->setFocus();
            QTest::keyClick(pulsante(ricerca, "cmdCancel"), Qt::Key_Return);
            QVERIFY(!ricerca->isVisible());
        });
        QCOMPARE(clsRicerca().F4CodIva(QString(), archivio, QString()), QString());
        allaRicerca([](frmRicercaIva* ricerca) {
            seleziona(ricerca, 2);
            pulsante(ricerca, "cmdOk")->setFocus();
            QTest::keyClick(pulsante(ricerca, "cmdOk"), Qt::Key_Return);
        });
        QCOMPARE(clsRicerca().F4CodIva(QString(), archivio, QString()), QStringLiteral("010"));
        QCOMPARE(env.ui.messages.size(), 0);
    }

    void readsTheArchiveItIsGivenAndClosesIt() {
        TestEnvironment env;
        codiciDiProva(env.openNewArchive());
        const QString altro = env.createArchive(QStringLiteral("ALTRO.MDB"));
        {
            archivio::Errore errore;
            QVERIFY(archivio::apri(altro, QStringLiteral("altro"), &errore));
            aggiungiCodice(QSqlDatabase::database(QStringLiteral("altro")), QStringLiteral("099"),
                           QStringLiteral("Solo nell'altro"));
            archivio::chiudi(QStringLiteral("altro"));
        }
        const QStringList connessioni = QSqlDatabase::connectionNames();

        QStringList elencate;
        allaRicerca([&elencate](frmRicercaIva* ricerca) {
            elencate = righe(ricerca);
            seleziona(ricerca, 0);
            pulsante(ricerca, "cmdOk")->click();
        });
        QCOMPARE(clsRicerca().F4CodIva(QString(), altro, QString()), QStringLiteral("099"));
        QCOMPARE(elencate, QStringList({QStringLiteral("099 - Solo nell'altro     ")}));
        QCOMPARE(QSqlDatabase::connectionNames(), connessioni);

        // An archive that cannot be opened: both failures are told, nothing is listed.
        allaRicerca([&elencate](frmRicercaIva* ricerca) {
            elencate = righe(ricerca);
            pulsante(ricerca, "cmdCancel")->click();
        });
        const QString mancante = env.newArchiveLocation(QStringLiteral("MANCANTE.MDB"));
        QCOMPARE(clsRicerca().F4CodIva(QString(), mancante, QString()), QString());
        QVERIFY(elencate.isEmpty());
        QCOMPARE(env.ui.messages.size(), 2);
        QCOMPARE(env.ui.messages[0].text,
                 QStringLiteral("Errore durante l'apertura degli archivi"));
        QCOMPARE(env.ui.messages[1].text,
                 QStringLiteral("Errore durante il caricamento dei dati!"));
        for (const auto& messaggio : env.ui.messages) {
            QCOMPARE(messaggio.title, QStringLiteral("RICERCA CODICI IVA"));
            QCOMPARE(messaggio.icon, Interaction::Icon::Exclamation);
        }
        QCOMPARE(env.ui.beeps, 2);
        QCOMPARE(QSqlDatabase::connectionNames(), connessioni);
    }

    void anEmptyTableAndAFailedReadAreTold() {
        TestEnvironment env;
        env.openNewArchive();
        {
            frmRicercaIva ricerca;
            ricerca.setNomeDB(programma().PercorsoArchivio);
            mostraAttiva(&ricerca);
            QCOMPARE(lista(&ricerca)->count(), 0);
        }
        QCOMPARE(env.ui.messages.size(), 2);
        QCOMPARE(env.ui.messages[0].text, QStringLiteral("Archivio vuoto!"));
        QCOMPARE(env.ui.messages[1].text,
                 QStringLiteral("Errore durante il caricamento dei dati!"));
        env.ui.clear();

        codiciDiProva(DbArchivio());
        frmRicercaIva ricerca;
        ricerca.setNomeDB(programma().PercorsoArchivio);
        mostraAttiva(&ricerca);
        QCOMPARE(lista(&ricerca)->count(), 6);
        env.exec(QStringLiteral(R"(DROP TABLE "Codici Iva")"));
        QTest::mouseClick(ordine(&ricerca), Qt::LeftButton);
        QCOMPARE(env.ui.messages.size(), 2);
        QVERIFY2(env.ui.messages[0].text.startsWith(
                     QStringLiteral("Errore nell'accesso ai dati!\nCodice errore = ")),
                 qPrintable(env.ui.messages[0].text));
        QVERIFY(!env.ui.messages[0].text.endsWith(QStringLiteral("= 0")));
        QCOMPARE(env.ui.messages[1].text,
                 QStringLiteral("Errore durante il caricamento dei dati!"));
        QVERIFY(ricerca.isVisible());
    }
};

QTEST_MAIN(TestRicercaIva)
#include "tst_ricerca_iva.moc"
