#include <QProcess>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTest>

#include "../cashbook/CassaDiProva.h"
#include "Sql.h"
#include "frmAccesso.h"
#include "frmParametri.h"
#include "frmUtenti.h"

// Texts that break a program which pastes values into its SQL, or which cuts, re-encodes or
// interprets what a person writes: stored and shown exactly as written, never executed, and
// cut only where a field has a width of its own.
namespace {

const QStringList kTestiOstili = {
    QStringLiteral("L'Aquila \"centro\"; DROP TABLE \"Vardello\"; --"),
    QStringLiteral("x' OR '1'='1"),
    QStringLiteral("100% _sconto_ \\n C:\\cassa\\ %s %d"),
    QStringLiteral("Caffè, città, perché: € 12,50"),
    QStringLiteral("Pizza 🍕 e caffè ☕ 😀"),
    QStringLiteral("SELECT * FROM \"Tabella utenti\" WHERE 1=1 /* */"),
};

// 100,000 characters taken at random (fixed seed) from everything above, so that no engine
// can store them compressed, ending on a character that is not a blank.
QString testoLungo() {
    static const QString testo = [] {
        const QString tutti = kTestiOstili.join(QString());
        QRandomGenerator caso(20050315);
        QString t;
        while (t.size() < 100'000) {
            const qsizetype i = caso.bounded(tutti.size());
            t += tutti.at(i).isSurrogate() ? QStringLiteral("😀") : QString(tutti.at(i));
        }
        t.truncate(99'999);
        if (t.back().isHighSurrogate()) {
            t.chop(1);
        }
        // Where the fields cut it (a password's 14th, a name's 25th, the grid's 100th
        // character, and the first, since texts are trimmed) stands a plain letter, whatever
        // the random sequence.
        for (const qsizetype i : {0, 13, 24, 99}) {
            if (t.at(i).isHighSurrogate()) {
                t.replace(i, 2, QStringLiteral("xx"));
            } else if (t.at(i).isLowSurrogate()) {
                t.replace(i - 1, 2, QStringLiteral("xx"));
            } else if (t.at(i).isSpace()) {
                t[i] = QLatin1Char('x');
            }
        }
        return t + QLatin1Char('x');
    }();
    return testo;
}

QString testoPdf(const QString& pdf) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    if (!p.waitForFinished(60000) || p.exitCode() != 0) {
        qFatal("pdftotext failed");
    }
    return QString::fromUtf8(p.readAllStandardOutput());
}

}  // namespace

class TestDatiOstili : public QObject {
    Q_OBJECT
  private slots:
    void descriptionsAreStoredShownAndRememberedAsWritten() {
        CassaDiProva cassa;
        cassa.apri();
        // 99 letters and an emoji: the grid's 100 columns end before the emoji, not inside it.
        const QString emojiAlBordo = QString(99, QLatin1Char('a')) + QStringLiteral("😀 fine");
        const QStringList testi = kTestiOstili + QStringList{testoLungo(), emojiAlBordo};
        for (const QString& testo : testi) {
            cassa.scrivi(QStringLiteral("10/03/2005"), testo, QStringLiteral("1,00"));
            cassa.clic("cmdIns");
        }
        QCOMPARE(cassa.env.ui.messages.size(), 0);
        QCOMPARE(cassa.movimentiInArchivio(), testi.size());

        // Each movement holds its description whole; the list of descriptions remembers
        // them once, all but the one too long to be offered again.
        for (int i = 0; i < testi.size(); ++i) {
            QCOMPARE(cassa.env
                         .scalar(QStringLiteral(R"(SELECT "Operazione" FROM "Vardello"
                                                 WHERE "Numero Progressivo" = ?)"),
                                 {i + 1})
                         .toString(),
                     testi[i]);
            QCOMPARE(cassa.env
                         .scalar(QStringLiteral(R"(SELECT count(*) FROM "Conti Utilizzati"
                                                 WHERE "Descrizione conto" = ?)"),
                                 {testi[i]})
                         .toInt(),
                     testi[i] == testoLungo() ? 0 : 1);
        }
        for (int i = 0; i < kTestiOstili.size(); ++i) {
            QCOMPARE(cassa.trimmed(i, 1), kTestiOstili[i]);
        }
        QCOMPARE(cassa.cella(kTestiOstili.size(), 1), testoLungo().left(100));
        QCOMPARE(cassa.cella(kTestiOstili.size() + 1, 1),
                 QString(99, QLatin1Char('a')) + QLatin1Char(' '));

        // A new start offers the remembered descriptions as they were written.
        frmVardello& riaperta = cassa.apri();
        auto* operazioni = riaperta.findChild<QComboBox*>(QStringLiteral("cmbOperazione"));
        QCOMPARE(operazioni->count(), testi.size() - 1);
        for (const QString& testo : kTestiOstili + QStringList{emojiAlBordo}) {
            QVERIFY(operazioni->findText(testo, Qt::MatchExactly) >= 0);
        }
    }

    void userNamesAndPasswordsLogInAsWritten() {
        TestEnvironment env;
        env.openNewArchive();
        env.exec(QStringLiteral(R"(INSERT INTO "Tabella utenti" VALUES ('Supervisore', ''))"));
        const QList<QStringList> utenti = {
            {QStringLiteral("O'Brien\"; DROP TABLE x--"), QStringLiteral("pa'ss\"; --")},
            {QStringLiteral("Ana % _ \\ €"), QStringLiteral("%_\\€àè")},
            {QStringLiteral("Zoë 😀"), QStringLiteral("🍕pw😀")},
            {QStringLiteral("x' OR '1'='1"), QStringLiteral("' OR ''='")},
        };
        const QString lungo = testoLungo();

        programma().UtenteCorrente = QStringLiteral("Supervisore");
        {
            frmUtenti finestra;
            for (const QStringList& utente : utenti) {
                env.ui.inputAnswers.enqueue(utente[0]);
                finestra.findChild<QPushButton*>(QStringLiteral("cmdNuovo"))->click();
            }
            env.ui.inputAnswers.enqueue(lungo);
            finestra.findChild<QPushButton*>(QStringLiteral("cmdNuovo"))->click();
            finestra.findChild<QPushButton*>(QStringLiteral("cmdOk"))->click();
            QCOMPARE(finestra.result(), int(QDialog::Accepted));
        }
        // Each user sets a password of their own, the last one as long as it gets.
        const auto impostaPassword = [&](const QString& nome, const QString& password) {
            programma().UtenteCorrente = nome;
            frmUtenti finestra;
            for (const char* campo : {"txtUtente", "txtPwd", "txtConfermaPwd"}) {
                finestra.findChild<QLineEdit*>(QString::fromLatin1(campo))
                    ->setText(qstrcmp(campo, "txtUtente") == 0 ? nome : password);
            }
            finestra.findChild<QPushButton*>(QStringLiteral("cmdOk"))->click();
            QCOMPARE(finestra.result(), int(QDialog::Accepted));
        };
        for (const QStringList& utente : utenti) {
            impostaPassword(utente[0], utente[1]);
        }
        impostaPassword(lungo.left(25), lungo);
        QCOMPARE(env.ui.messages.size(), 0);

        QCOMPARE(env.scalar(QStringLiteral(R"(SELECT count(*) FROM "Tabella utenti")")).toInt(),
                 utenti.size() + 2);
        QCOMPARE(env.scalar(QStringLiteral(R"(SELECT "Password" FROM "Tabella utenti"
                                              WHERE "UserName" = ?)"),
                            {lungo.left(25)})
                     .toString(),
                 lungo.left(14));
        for (const QStringList& utente :
             utenti + QList<QStringList>{{lungo.left(25), lungo.left(14)}}) {
            QCOMPARE(env.scalar(QStringLiteral(R"(SELECT "Password" FROM "Tabella utenti"
                                                  WHERE "UserName" = ?)"),
                                {utente[0]})
                         .toString(),
                     utente[1]);
            frmAccesso accesso;
            accesso.findChild<QComboBox*>(QStringLiteral("cmbUtente"))->setEditText(utente[0]);
            accesso.findChild<QLineEdit*>(QStringLiteral("txtPwd"))->setText(utente[1]);
            accesso.findChild<QPushButton*>(QStringLiteral("cmdOk"))->click();
            QCOMPARE(accesso.result(), int(QDialog::Accepted));
            QCOMPARE(programma().UtenteCorrente, utente[0]);
        }
        QCOMPARE(env.ui.messages.size(), 0);
    }

    void thePrintTitleIsStoredAndPrintedAsWritten() {
        CassaDiProva cassa;
        const QString titolo = QStringLiteral("Cassa \"Rossi & Figli\"; 100% \\ perché € --");
        for (const QString& scritto : {testoLungo(), titolo}) {
            frmParametri parametri;
            parametri.findChild<QLineEdit*>(QStringLiteral("txtTitoloStampa"))->setText(scritto);
            parametri.findChild<QPushButton*>(QStringLiteral("cmdOk"))->click();
            QCOMPARE(parametri.result(), int(QDialog::Accepted));
            // The title field holds 255 characters; the rest of a longer text is not kept.
            QCOMPARE(LeggiRiferimento(DbArchivio(), QStringLiteral("Titolo stampa")),
                     scritto.left(255));
        }

        cassa.apri();
        // Descriptions short enough for the printed column.
        cassa.scrivi(QStringLiteral("10/03/2005"), kTestiOstili[1], QStringLiteral("1,00"));
        cassa.clic("cmdIns");
        cassa.scrivi(QStringLiteral("11/03/2005"), kTestiOstili[3], QStringLiteral("1,00"));
        cassa.clic("cmdIns");
        cassa.env.ui.pdfPath = cassa.env.dir.filePath(QStringLiteral("stampa.pdf"));
        cassa.clic("cmdStampa");
        QCOMPARE(cassa.env.ui.messages.size(), 0);
        const QString stampato = testoPdf(cassa.env.ui.pdfPath);
        QVERIFY2(stampato.contains(titolo), qPrintable(stampato));
        QVERIFY2(stampato.contains(kTestiOstili[1]), qPrintable(stampato));
        QVERIFY2(stampato.contains(kTestiOstili[3]), qPrintable(stampato));
    }
};

QTEST_MAIN(TestDatiOstili)
#include "tst_dati_ostili.moc"
