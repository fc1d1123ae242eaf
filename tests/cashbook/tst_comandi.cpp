#include <QClipboard>
#include <QDialog>
#include <QLabel>
#include <QProcess>
#include <QTimer>

#include "AvvioProgramma.h"
#include "CassaDiProva.h"
#include "frmAccesso.h"

// The start-up and the small commands: copying grid rows, the information window, leaving the
// program.
class TestComandi : public QObject {
    Q_OBJECT
  private:
    static void treMovimenti(CassaDiProva& cassa) {
        cassa.movimento(1, QDate(2005, 3, 1), cassa.euro("10"), QVariant(), "Uno");
        cassa.movimento(2, QDate(2005, 3, 2), QVariant(), cassa.euro("20"), "Due");
        cassa.movimento(3, QDate(2005, 3, 3), cassa.euro("30"), QVariant(), "Tre");
    }

    static QString riga(const QString& data, const QString& operazione, const QString& entrate,
                        const QString& uscite, const QString& numero) {
        return QStringList{data,
                           operazione.leftJustified(100),
                           entrate,
                           uscite,
                           numero.leftJustified(6),
                           QStringLiteral("Anna").leftJustified(25),
                           QStringLiteral("01/02/2005"),
                           QStringLiteral("09:15")}
            .join(QLatin1Char('\t'));
    }

    // Answers the log-in with the button named, noting whether the main window exists.
    static void allAccesso(const char* pulsante, bool* principaleCostruita) {
        QTimer::singleShot(0, [pulsante, principaleCostruita] {
            auto* accesso = qobject_cast<frmAccesso*>(QApplication::activeModalWidget());
            QVERIFY(accesso);
            *principaleCostruita = false;
            for (QWidget* finestra : QApplication::topLevelWidgets()) {
                *principaleCostruita |= qobject_cast<frmVardello*>(finestra) != nullptr;
            }
            accesso->findChild<QPushButton*>(QString::fromLatin1(pulsante))->click();
        });
    }

  private slots:
    // The log-in appears without waiting for the main window, which is built after it and
    // only when someone logged in.
    void theLogInComesBeforeTheMainWindow() {
        TestEnvironment env;
        const QString archivio = env.createArchive(QStringLiteral("CASSA.MDB"));
        QFile ini(env.dir.filePath(QStringLiteral("vardello.ini")));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("ARCHIVIO   =" + archivio.toUtf8() + "\n");
        ini.close();

        bool principaleCostruita = true;
        allAccesso("cmdAnnulla", &principaleCostruita);
        QVERIFY(!avviaProgramma());
        QVERIFY(!principaleCostruita);
        for (QWidget* finestra : QApplication::topLevelWidgets()) {
            QVERIFY(!qobject_cast<frmVardello*>(finestra));
        }

        principaleCostruita = true;
        allAccesso("cmdOk", &principaleCostruita);
        const std::unique_ptr<frmVardello> finestra = avviaProgramma();
        QVERIFY(finestra);
        QVERIFY(!principaleCostruita);
        QCOMPARE(programma().UtenteCorrente, QStringLiteral("Supervisore"));
        QVERIFY(finestra->windowTitle().endsWith(QStringLiteral("Archivio:") + archivio.toUpper()));
        QCOMPARE(env.ui.messages.size(), 0);
    }

    void copyPutsTheSelectedRowsOnTheClipboard() {
        CassaDiProva cassa;
        treMovimenti(cassa);
        frmVardello& finestra = cassa.apri(true);

        cassa.selezionaRighe(1, 1);
        cassa.clic("cmdCopia");
        const QString secondaRiga = riga(QStringLiteral("02/03/2005"), QStringLiteral("Due"),
                                         QString(), QStringLiteral("20,00"), QStringLiteral("2"));
        QCOMPARE(QGuiApplication::clipboard()->text(), secondaRiga);
        QCOMPARE(cassa.env.ui.beeps, 1);
        QCOMPARE(cassa.env.ui.messages.size(), 1);
        QCOMPARE(cassa.env.ui.messages[0].text,
                 QStringLiteral("Le celle selezionate sono state copiate nella clipboard"));
        QCOMPARE(cassa.env.ui.messages[0].title, finestra.windowTitle());
        QCOMPARE(cassa.env.ui.messages[0].icon, Interaction::Icon::Exclamation);

        // Several rows, chosen from the bottom up, come in grid order, one per CR.
        QTableView* griglia = cassa.griglia();
        const auto punto = [&](int r) {
            return griglia->visualRect(cassa.righe()->index(r, 0)).center();
        };
        QTest::mouseClick(griglia->viewport(), Qt::LeftButton, {}, punto(2));
        QTest::mouseClick(griglia->viewport(), Qt::LeftButton, Qt::ShiftModifier, punto(0));
        cassa.clic("cmdCopia");
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 riga(QStringLiteral("01/03/2005"), QStringLiteral("Uno"), QStringLiteral("10,00"),
                      QString(), QStringLiteral("1")) +
                     QLatin1Char('\r') + secondaRiga + QLatin1Char('\r') +
                     riga(QStringLiteral("03/03/2005"), QStringLiteral("Tre"),
                          QStringLiteral("30,00"), QString(), QStringLiteral("3")));
        QCOMPARE(cassa.env.ui.messages.size(), 2);
    }

    void infoShowsTheProgramAndItsVersion() {
        CassaDiProva cassa;
        cassa.apri(true);
        QString titolo, nome, versione;
        QTimer::singleShot(0, [&] {
            auto* info = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(info);
            titolo = info->windowTitle();
            nome = info->findChild<QLabel*>(QStringLiteral("Label2"))->text();
            versione = info->findChild<QLabel*>(QStringLiteral("lblVersione"))->text();
            QTest::mouseClick(info->findChild<QPushButton*>(QStringLiteral("cmdOk")),
                              Qt::LeftButton);
        });
        cassa.clic("cmdInfo");
        QCOMPARE(titolo, QStringLiteral("Informazioni su Vardello"));
        QCOMPARE(nome, QStringLiteral("Vardello "));
        QCOMPARE(versione, QStringLiteral("Versione %1.%2.%3")
                               .arg(VARDELLO_VERSION_MAJOR)
                               .arg(VARDELLO_VERSION_MINOR)
                               .arg(VARDELLO_VERSION_PATCH));
        QVERIFY(!QApplication::activeModalWidget());
    }

    void printTakesTheMonthShownWithItsTotals() {
        CassaDiProva cassa;
        treMovimenti(cassa);
        cassa.apri();
        cassa.env.ui.pdfPath = cassa.env.dir.filePath(QStringLiteral("mese.pdf"));
        cassa.clic("cmdStampa");
        QCOMPARE(cassa.env.ui.printerDialogs, 1);
        QProcess testo;
        testo.start(QStringLiteral("pdftotext"),
                    {QStringLiteral("-layout"), cassa.env.ui.pdfPath, QStringLiteral("-")});
        QVERIFY(testo.waitForFinished());
        const QString stampato = QString::fromUtf8(testo.readAllStandardOutput());
        QVERIFY2(stampato.contains(QStringLiteral("VARDELLO DEL MESE DI MARZO 2005")),
                 qPrintable(stampato));
        for (const char* atteso : {"Uno", "Due", "Tre", "Saldo:", "40,00", "20,00"}) {
            QVERIFY2(stampato.contains(QString::fromLatin1(atteso)), atteso);
        }
    }

    void exitClosesTheMainWindow() {
        CassaDiProva cassa;
        frmVardello& finestra = cassa.apri(true);
        cassa.clic("cmdEsci");
        QVERIFY(!finestra.isVisible());
    }
};

QTEST_MAIN(TestComandi)
#include "tst_comandi.moc"
