#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <random>

#include "Archivio.h"
#include "Colori.h"
#include "DatiCondivisi.h"
#include "MovimentiAFette.h"
#include "NumberPattern.h"
#include "Programma.h"
#include "StampaCassa.h"
#include "TestEnvironment.h"
#include "frmSelezione.h"

namespace {

const QString kSceltaSaldo = QStringLiteral("Stampa con indicazione saldo progressivo");
const QString kTitolo = QStringLiteral("Titolo stampa");

// A word of the printed PDF, its box in millimetres from the page's top left corner.
struct Parola {
    int pagina = 0;  // from 1
    QString testo;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

QString esegui(const QString& programma, const QStringList& argomenti) {
    QProcess p;
    p.start(programma, argomenti);
    if (!p.waitForFinished(60000) || p.exitCode() != 0) {
        qFatal("%s failed", qPrintable(programma));
    }
    return QString::fromUtf8(p.readAllStandardOutput());
}

QString testoPdf(const QString& pdf) {
    return esegui(QStringLiteral("pdftotext"),
                  {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
}

int pagine(const QString& pdf) {
    const auto m = QRegularExpression(QStringLiteral(R"(Pages:\s+(\d+))"))
                       .match(esegui(QStringLiteral("pdfinfo"), {pdf}));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

QList<Parola> parole(const QString& pdf) {
    const QString html =
        esegui(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    const QRegularExpression parola(QStringLiteral(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    constexpr double mm = 25.4 / 72;
    QList<Parola> risultato;
    const QStringList perPagina = html.split(QStringLiteral("<page "));
    for (int p = 1; p < perPagina.size(); ++p) {
        for (const auto& m : parola.globalMatch(perPagina[p])) {
            risultato.append({p, m.captured(5), m.captured(1).toDouble() * mm,
                              m.captured(2).toDouble() * mm, m.captured(3).toDouble() * mm,
                              m.captured(4).toDouble() * mm});
        }
    }
    return risultato;
}

// The words of one page standing on a print line whose text starts at y (+/- 1.5 mm).
QList<Parola> riga(const QList<Parola>& tutte, int pagina, double y) {
    QList<Parola> trovate;
    for (const Parola& p : tutte) {
        if (p.pagina == pagina && std::abs(p.y1 - y) < 1.5) {
            trovate.append(p);
        }
    }
    std::sort(trovate.begin(), trovate.end(), [](auto& a, auto& b) { return a.x1 < b.x1; });
    return trovate;
}

QString testoRiga(const QList<Parola>& tutte, int pagina, double y) {
    QStringList testi;
    for (const Parola& p : riga(tutte, pagina, y)) {
        testi.append(p.testo);
    }
    return testi.join(QLatin1Char(' '));
}

const Parola* cerca(const QList<Parola>& tutte, int pagina, const QString& testo) {
    for (const Parola& p : tutte) {
        if (p.pagina == pagina && p.testo == testo) {
            return &p;
        }
    }
    return nullptr;
}

// Lines of entries on a page: the words in the date column.
int righeDiMovimento(const QList<Parola>& tutte, int pagina) {
    static const QRegularExpression data(QStringLiteral(R"(^\d\d/\d\d/\d{4}$)"));
    return static_cast<int>(std::count_if(tutte.begin(), tutte.end(), [&](const Parola& p) {
        return p.pagina == pagina && std::abs(p.x1 - 6) < 1 && data.match(p.testo).hasMatch();
    }));
}

void movimento(TestEnvironment& env, qint64 numero, QDate data, const QString& operazione,
               const QVariant& entrate, const QVariant& uscite = {}) {
    const auto importo = [](const QVariant& v) {
        return v.isValid() ? QVariant(v.toLongLong() * 10000)
                           : QVariant(QMetaType::fromType<qlonglong>());
    };
    env.exec(QStringLiteral(R"(INSERT INTO "Vardello" ("Numero Progressivo", "Data Registrazione",
             "Operazione", "Entrate", "Uscite") VALUES (?, ?, ?, ?, ?))"),
             {numero, data, operazione, importo(entrate), importo(uscite)});
}

// Answers the date-range window as soon as it is up: the digits typed into each field (none
// leaves it empty), then OK or Annulla clicked.
void rispondiSelezione(const QString& da, const QString& a, bool conferma = true) {
    QTimer::singleShot(0, [=] {
        auto* selezione = qobject_cast<frmSelezione*>(QApplication::activeModalWidget());
        if (!selezione) {
            qFatal("the date-range window is not shown");
        }
        selezione->activateWindow();
        if (!QTest::qWaitForWindowActive(selezione)) {
            qFatal("the date-range window does not become active");
        }
        for (const auto& [nome, cifre] : {std::pair{"txtDaData", da}, std::pair{"txtAData", a}}) {
            auto* campo = selezione->findChild<QLineEdit*>(QString::fromLatin1(nome));
            campo->setFocus();
            campo->setCursorPosition(0);
            QTest::keyClicks(campo, cifre);
        }
        QTest::mouseClick(selezione->findChild<QPushButton*>(
                              conferma ? QStringLiteral("cmdOk") : QStringLiteral("cmdAnnulla")),
                          Qt::LeftButton);
    });
}

DatiStampaMese mese(int righe) {
    DatiStampaMese dati;
    dati.indiceMese = 2;
    dati.anno = QStringLiteral("2005");
    for (int i = 1; i <= righe; ++i) {
        dati.righe.append({QStringLiteral("%1/03/2005").arg(1 + i % 28, 2, 10, QLatin1Char('0')),
                           QStringLiteral("Vendita %1").arg(i).leftJustified(100),
                           i % 2 ? QStringLiteral("1.000,00") : QStringLiteral("5,00"), QString(),
                           QString::number(i).leftJustified(6), QStringLiteral("ADMIN"),
                           QStringLiteral("15/03/2005"), QStringLiteral("10:30")});
    }
    dati.entrateMese = QStringLiteral("1.500,00");
    dati.usciteMese = QStringLiteral("500,00");
    dati.saldoFineMese = QStringLiteral("1.000,00");
    return dati;
}

}  // namespace

// The two printed forms of the book, printed to PDF and read back.
class TestStampa : public QObject {
    Q_OBJECT
  private:
    struct Stampa {
        Stampa() {
            db = env.openNewArchive();
            pdf = env.dir.filePath(QStringLiteral("stampa.pdf"));
            env.ui.pdfPath = pdf;
        }
        void conSaldo() { QVERIFY(ScriviRiferimento(db, kSceltaSaldo, 1)); }
        void stampa(const DatiStampaMese& dati = {}) { StampaCassa(db, dati, nullptr); }

        TestEnvironment env;
        QSqlDatabase db;
        QString pdf;
    };

  private slots:
    void theMonthForm() {
        Stampa s;
        DatiStampaMese dati = mese(2);
        dati.righe.insert(1, {QStringLiteral("02/03/2005"), QStringLiteral("Pagamento"), QString(),
                              QStringLiteral("500,00"), QStringLiteral("3     ")});
        dati.righe.append(QStringList(8, QString()));  // the grid's blank row
        s.stampa(dati);
        QCOMPARE(s.env.ui.printerDialogs, 1);
        QVERIFY(s.env.ui.messages.isEmpty());
        QCOMPARE(pagine(s.pdf), 1);
        const QList<Parola> p = parole(s.pdf);

        QCOMPARE(testoRiga(p, 1, 10), QStringLiteral("VARDELLO DEL MESE DI MARZO 2005"));
        QCOMPARE(testoRiga(p, 1, 7.5), QStringLiteral("Data: 15/03/2005 Pag. 1"));
        const Parola* data = cerca(p, 1, QStringLiteral("Data:"));
        QVERIFY(data);
        QVERIFY(std::abs(data->x1 - 142) < 1);
        QCOMPARE(testoRiga(p, 1, 22), QStringLiteral("Data reg. Operazione Entrate Uscite Prot."));
        QVERIFY(std::abs(cerca(p, 1, QStringLiteral("Prot."))->x1 - 189) < 1);

        // The rows in grid order, 8 mm apart; amounts right-aligned in their column.
        QCOMPARE(testoRiga(p, 1, 30), QStringLiteral("02/03/2005 Vendita 1 1.000,00 1"));
        QCOMPARE(testoRiga(p, 1, 38), QStringLiteral("02/03/2005 Pagamento 500,00 3"));
        QCOMPARE(testoRiga(p, 1, 46), QStringLiteral("03/03/2005 Vendita 2 5,00 2"));
        const QList<Parola> prima = riga(p, 1, 30);
        const QList<Parola> terza = riga(p, 1, 46);
        QVERIFY(std::abs(prima[0].x1 - 6) < 1);
        QVERIFY(std::abs(prima[1].x1 - 31) < 1);
        QVERIFY(std::abs(prima[3].x2 - terza[3].x2) < 0.3);
        QVERIFY(prima[3].x2 > 145 && prima[3].x2 < 154);
        QVERIFY(std::abs(riga(p, 1, 38)[2].x2 - prima[3].x2 - 33) < 0.3);  // expense column

        QCOMPARE(testoRiga(p, 1, 54), QStringLiteral("Saldo: 1.000,00 1.500,00 500,00"));
        QVERIFY(std::abs(cerca(p, 1, QStringLiteral("Saldo:"))->x1 - 50) < 1);
        QCOMPARE(righeDiMovimento(p, 1), 3);

        QVERIFY(ScriviRiferimento(s.db, kTitolo, QStringLiteral("Ditta Rossi")));
        s.stampa(dati);
        QCOMPARE(testoRiga(parole(s.pdf), 1, 10), QStringLiteral("Ditta Rossi MESE MARZO 2005"));
        // A long title fits its frame, left of the date line's frame, in a smaller size.
        QVERIFY(
            ScriviRiferimento(s.db, kTitolo, QStringLiteral("Alimentari Rossi - Libro di cassa")));
        dati.indiceMese = 8;
        s.stampa(dati);
        const QList<Parola> titolo = riga(parole(s.pdf), 1, 10);
        QCOMPARE(testoRiga(parole(s.pdf), 1, 10),
                 QStringLiteral("Alimentari Rossi - Libro di cassa MESE SETTEMBRE 2005"));
        QVERIFY(titolo.first().x1 >= 5 && titolo.last().x2 <= 141);
        QVERIFY(titolo.last().y2 <= 18);
    }

    void anEmptyMonthPrintsHeaderAndTotals() {
        Stampa s;
        DatiStampaMese dati = mese(0);
        dati.indiceMese = 11;
        dati.entrateMese = dati.usciteMese = dati.saldoFineMese = QStringLiteral("0,00");
        dati.righe.append(QStringList(8, QString()));
        s.stampa(dati);
        QCOMPARE(pagine(s.pdf), 1);
        const QList<Parola> p = parole(s.pdf);
        QCOMPARE(testoRiga(p, 1, 10), QStringLiteral("VARDELLO DEL MESE DI DICEMBRE 2005"));
        QCOMPARE(righeDiMovimento(p, 1), 0);
        QCOMPARE(testoRiga(p, 1, 30), QStringLiteral("Saldo: 0,00 0,00 0,00"));
    }

    void theMonthFormBreaksPages() {
        Stampa s;
        s.stampa(mese(29));  // 29 rows and the totals fill one page
        QCOMPARE(pagine(s.pdf), 1);
        QCOMPARE(righeDiMovimento(parole(s.pdf), 1), 29);

        s.stampa(mese(30));  // a full page pushes the totals onto a page of their own
        QCOMPARE(pagine(s.pdf), 2);
        const QList<Parola> p = parole(s.pdf);
        QCOMPARE(righeDiMovimento(p, 1), 30);
        QCOMPARE(righeDiMovimento(p, 2), 0);
        QCOMPARE(testoRiga(p, 2, 10), QStringLiteral("VARDELLO DEL MESE DI MARZO 2005"));
        QCOMPARE(testoRiga(p, 2, 30), QStringLiteral("Saldo: 1.000,00 1.500,00 500,00"));
    }

    void theRunningBalanceOfTheWholeBook() {
        Stampa s;
        s.conSaldo();
        // Numbers out of date order: the book follows the registration date, then the number.
        movimento(s.env, 3, QDate(2005, 1, 10), QStringLiteral("Vendita"), 1000);
        movimento(s.env, 1, QDate(2005, 2, 1), QStringLiteral("Affitto"), {}, 300);
        movimento(s.env, 2, QDate(2005, 1, 10), QStringLiteral("Incasso"), 50, 20);
        movimento(s.env, 4, QDate(2005, 2, 1), QStringLiteral("Luce"), {}, 1000);

        rispondiSelezione({}, {});
        s.stampa();
        QVERIFY(s.env.ui.messages.isEmpty());
        QCOMPARE(pagine(s.pdf), 1);
        const QList<Parola> p = parole(s.pdf);
        QCOMPARE(testoRiga(p, 1, 11),
                 QStringLiteral("STAMPA VARDELLO - Da data: __/__/____ A data: __/__/____"));
        QCOMPARE(testoRiga(p, 1, 7.5), QStringLiteral("Data: 15/03/2005 Pag. 1"));
        QCOMPARE(testoRiga(p, 1, 22),
                 QStringLiteral("Data reg. Operazione Entrate Uscite Saldo Prot."));
        QCOMPARE(testoRiga(p, 1, 30), QStringLiteral("Riporto saldo 0,00"));
        QCOMPARE(testoRiga(p, 1, 38), QStringLiteral("10/01/2005 Incasso 50,00 20,00 30,00 2"));
        QCOMPARE(testoRiga(p, 1, 46), QStringLiteral("10/01/2005 Vendita 1.000,00 1.030,00 3"));
        QCOMPARE(testoRiga(p, 1, 54), QStringLiteral("01/02/2005 Affitto 300,00 730,00 1"));
        QCOMPARE(testoRiga(p, 1, 62), QStringLiteral("01/02/2005 Luce 1.000,00 -270,00 4"));
        QCOMPARE(testoRiga(p, 1, 70), QStringLiteral("Saldi: 1.050,00 1.320,00 -270,00"));
        // Columns: balance right-aligned at 161 in 15 characters, number at 194.
        const QList<Parola> luce = riga(p, 1, 62);
        QVERIFY(std::abs(luce.last().x1 - 194) < 1);
        QVERIFY(std::abs(riga(p, 1, 30).last().x2 - luce[3].x2) < 0.3);
        QVERIFY(std::abs(cerca(p, 1, QStringLiteral("Saldi:"))->x1 - 80) < 1);

        QVERIFY(ScriviRiferimento(s.db, kTitolo, QStringLiteral("Ditta Rossi")));
        rispondiSelezione({}, QStringLiteral("31012005"));
        s.stampa();
        const QList<Parola> titolata = parole(s.pdf);
        QCOMPARE(testoRiga(titolata, 1, 11),
                 QStringLiteral("Ditta Rossi - Da data: __/__/____ A data: 31/01/2005"));
        QCOMPARE(testoRiga(titolata, 1, 54), QStringLiteral("Saldi: 1.050,00 20,00 1.030,00"));
    }

    void aStartDateCarriesTheBalanceForward() {
        Stampa s;
        s.conSaldo();
        movimento(s.env, 1, QDate(2005, 1, 10), QStringLiteral("Vendita"), 1000);
        movimento(s.env, 2, QDate(2005, 2, 28), QStringLiteral("Affitto"), {}, 300);
        movimento(s.env, 3, QDate(2005, 3, 1), QStringLiteral("Incasso"), 50);
        movimento(s.env, 4, QDate(2005, 3, 15), QStringLiteral("Acqua"), {}, 10);
        movimento(s.env, 5, QDate(2005, 3, 16), QStringLiteral("Dopo"), 999);

        rispondiSelezione(QStringLiteral("01032005"), QStringLiteral("15032005"));
        s.stampa();
        const QList<Parola> p = parole(s.pdf);
        QCOMPARE(testoRiga(p, 1, 11),
                 QStringLiteral("STAMPA VARDELLO - Da data: 01/03/2005 A data: 15/03/2005"));
        QCOMPARE(testoRiga(p, 1, 30), QStringLiteral("Riporto saldo 700,00"));
        QCOMPARE(testoRiga(p, 1, 38), QStringLiteral("01/03/2005 Incasso 50,00 750,00 3"));
        QCOMPARE(testoRiga(p, 1, 46), QStringLiteral("15/03/2005 Acqua 10,00 740,00 4"));
        QCOMPARE(testoRiga(p, 1, 54), QStringLiteral("Saldi: 50,00 10,00 740,00"));

        // A range with no entry: no carried-forward line, the totals show the balance.
        rispondiSelezione(QStringLiteral("01042005"), {});
        s.stampa();
        const QList<Parola> vuota = parole(s.pdf);
        QCOMPARE(testoRiga(vuota, 1, 30), QStringLiteral("Saldi: 0,00 0,00 1.739,00"));
        QCOMPARE(righeDiMovimento(vuota, 1), 0);
    }

    void theRunningBalanceFormBreaksPages() {
        Stampa s;
        s.conSaldo();
        for (int i = 1; i <= 29; ++i) {
            movimento(s.env, i, QDate(2005, 1, i), QStringLiteral("Voce %1").arg(i), 10);
        }
        // The carried-forward line and 29 entries fill page 1: the totals go to page 2.
        rispondiSelezione({}, {});
        s.stampa();
        QCOMPARE(pagine(s.pdf), 2);
        QList<Parola> p = parole(s.pdf);
        QCOMPARE(righeDiMovimento(p, 1), 29);
        QCOMPARE(testoRiga(p, 1, 30 + 29 * 8),
                 QStringLiteral("29/01/2005 Voce 29 10,00 290,00 29"));
        QCOMPARE(testoRiga(p, 2, 7.5), QStringLiteral("Data: 15/03/2005 Pag. 2"));
        QCOMPARE(testoRiga(p, 2, 30), QStringLiteral("Saldi: 290,00 0,00 290,00"));

        // A 31st line starts page 2 under a new header, its number right-aligned in four
        // characters ("Pag.    2").
        movimento(s.env, 30, QDate(2005, 1, 30), QStringLiteral("Voce 30"), 10);
        rispondiSelezione({}, {});
        s.stampa();
        QCOMPARE(pagine(s.pdf), 2);
        p = parole(s.pdf);
        QCOMPARE(righeDiMovimento(p, 1), 29);
        QCOMPARE(testoRiga(p, 2, 11),
                 QStringLiteral("STAMPA VARDELLO - Da data: __/__/____ A data: __/__/____"));
        QCOMPARE(testoRiga(p, 2, 30), QStringLiteral("30/01/2005 Voce 30 10,00 300,00 30"));
        QCOMPARE(testoRiga(p, 2, 38), QStringLiteral("Saldi: 300,00 0,00 300,00"));
        const Parola* pag = cerca(p, 2, QStringLiteral("Pag."));
        const Parola* numero = cerca(p, 2, QStringLiteral("2"));
        QVERIFY(pag && numero);
        const double carattere = (pag->x2 - pag->x1) / 4;
        QVERIFY(std::abs(numero->x1 - pag->x2 - 4 * carattere) < carattere / 3);
    }

    void theDateRangeWindow() {
        TestEnvironment env;
        frmSelezione selezione;
        QCOMPARE(selezione.windowTitle(), QStringLiteral("Stampa"));
        QCOMPARE(selezione.findChild<QPushButton*>(QStringLiteral("cmdAnnulla"))->toolTip(),
                 QStringLiteral("Esci"));
        auto* da = selezione.findChild<QLineEdit*>(QStringLiteral("txtDaData"));
        auto* a = selezione.findChild<QLineEdit*>(QStringLiteral("txtAData"));
        QCOMPARE(da->displayText(), QStringLiteral("__/__/____"));
        selezione.show();
        QVERIFY(QTest::qWaitForWindowActive(&selezione));
        da->setFocus();
        QCOMPARE(sfondo(da), coloreModifica());
        QTest::keyClicks(da, QStringLiteral("010305"));
        a->setFocus();
        QCOMPARE(sfondo(da), coloreNormale());
        QCOMPARE(da->displayText(), QStringLiteral("01/03/2005"));
        QTest::mouseClick(selezione.findChild<QPushButton*>(QStringLiteral("cmdOk")),
                          Qt::LeftButton);
        QVERIFY(selezione.PremutoOk);
        QCOMPARE(selezione.DaData, QStringLiteral("01/03/2005"));
        QCOMPARE(selezione.AData, QStringLiteral("__/__/____"));

        // Enter straight from a half-typed date completes it; an impossible one keeps the
        // window open instead of printing up to the end of the book.
        frmSelezione invio;
        invio.show();
        QVERIFY(QTest::qWaitForWindowActive(&invio));
        auto* fine = invio.findChild<QLineEdit*>(QStringLiteral("txtAData"));
        fine->setFocus();
        QTest::keyClicks(fine, QStringLiteral("3102"));
        QTest::keyClick(fine, Qt::Key_Return);
        QVERIFY(!invio.PremutoOk);
        QVERIFY(invio.isVisible());
        QCOMPARE(env.ui.beeps, 1);
        fine->setCursorPosition(0);
        QTest::keyClicks(fine, QStringLiteral("3103"));
        QTest::keyClick(fine, Qt::Key_Return);
        QVERIFY(invio.PremutoOk);
        QCOMPARE(invio.AData, QStringLiteral("31/03/2005"));

        frmSelezione annullata;
        annullata.show();
        QTest::mouseClick(annullata.findChild<QPushButton*>(QStringLiteral("cmdAnnulla")),
                          Qt::LeftButton);
        QVERIFY(!annullata.PremutoOk);
        QVERIFY(annullata.isHidden());

        // Enter on the focused cancel button cancels, although OK is the default button.
        frmSelezione daTastiera;
        daTastiera.show();
        QVERIFY(QTest::qWaitForWindowActive(&daTastiera));
        auto* annulla = daTastiera.findChild<QPushButton*>(QStringLiteral("cmdAnnulla"));
        annulla->setFocus();
        QTest::keyClick(annulla, Qt::Key_Return);
        QVERIFY(!daTastiera.PremutoOk);
        QVERIFY(daTastiera.isHidden());
    }

    void cancellingOrFailingPrintsNothing() {
        Stampa s;
        s.conSaldo();
        movimento(s.env, 1, QDate(2005, 1, 10), QStringLiteral("Vendita"), 1000);

        // Cancelling the date range: no printer, no message.
        rispondiSelezione({}, {}, false);
        s.stampa();
        QCOMPARE(s.env.ui.printerDialogs, 0);
        QVERIFY(s.env.ui.messages.isEmpty());
        QVERIFY(!QFile::exists(s.pdf));

        // Cancelling the printer dialog prints nothing and says nothing, in both forms.
        s.env.ui.cancelPrinter = true;
        rispondiSelezione({}, {});
        s.stampa();
        QVERIFY(ScriviRiferimento(s.db, kSceltaSaldo, 0));
        s.stampa(mese(3));
        QCOMPARE(s.env.ui.printerDialogs, 2);
        QVERIFY(s.env.ui.messages.isEmpty());
        QCOMPARE(s.env.ui.beeps, 0);
        QVERIFY(!QFile::exists(s.pdf));

        // An archive failure after the printer was chosen ends the print the same way.
        s.env.ui.clear();
        s.env.ui.pdfPath = s.pdf;
        s.conSaldo();
        s.env.exec(QStringLiteral(R"(DROP TABLE "Vardello")"));
        rispondiSelezione({}, {});
        s.stampa();
        QCOMPARE(s.env.ui.messages.size(), 1);
        QCOMPARE(s.env.ui.messages[0].text, QStringLiteral("Errore sulla stampante."));
        QCOMPARE(s.env.ui.messages[0].title, QStringLiteral("STAMPA"));
        QCOMPARE(s.env.ui.messages[0].icon, Interaction::Icon::Exclamation);
        QVERIFY(!QFile::exists(s.pdf));

        // So does a printer that refuses the document.
        QVERIFY(ScriviRiferimento(s.db, kSceltaSaldo, 0));
        s.env.ui.clear();
        s.env.ui.pdfPath = s.env.dir.filePath(QStringLiteral("manca/stampa.pdf"));
        s.stampa(mese(1));
        QCOMPARE(s.env.ui.printerDialogs, 1);
        QCOMPARE(s.env.ui.messages.size(), 1);
        QCOMPARE(s.env.ui.messages[0].text, QStringLiteral("Errore sulla stampante."));

        // Without the named values the print cannot choose its form: told, nothing printed.
        s.env.ui.clear();
        s.env.exec(QStringLiteral(R"(DROP TABLE "Riferimenti standard")"));
        s.stampa(mese(1));
        QCOMPARE(s.env.ui.printerDialogs, 0);
        QCOMPARE(s.env.ui.messages.size(), 1);
        QVERIFY(
            s.env.ui.messages[0].text.startsWith(QStringLiteral("Errore non gestito. Codice: ")));
        QCOMPARE(s.env.ui.messages[0].title, QStringLiteral("STAMPA"));
    }

    // The numbers of a book of a million movements: whole, never read as decimals, on the page.
    void movementNumbersPrintWhole() {
        Stampa s;
        const QList<std::pair<qint64, QString>> numeri = {{99999, QStringLiteral("99.999")},
                                                          {100000, QStringLiteral("100000")},
                                                          {999999, QStringLiteral("999999")},
                                                          {1000000, QStringLiteral("1000000")}};
        const auto controlla = [&](double xNumero) {
            const QList<Parola> p = parole(s.pdf);
            for (int i = 0; i < numeri.size(); ++i) {
                const Parola* numero = cerca(p, 1, numeri[i].second);
                QVERIFY2(numero, qPrintable(numeri[i].second));
                QVERIFY(std::abs(numero->x1 - xNumero) < 1);
                QVERIFY(numero->x2 < 210);  // within the A4 page
            }
        };
        // The month form prints the grid's cells, where numbers are grouped.
        DatiStampaMese dati = mese(0);
        for (const auto& [numero, stampato] : numeri) {
            dati.righe.append({QStringLiteral("01/03/2005"), QStringLiteral("Vendita"),
                               QStringLiteral("1,00"), QString(),
                               formatNumber(Money::fromWhole(numero), QStringLiteral("###,##0"))});
        }
        s.stampa(dati);
        controlla(189);

        s.conSaldo();
        for (const auto& [numero, stampato] : numeri) {
            movimento(s.env, numero, QDate(2005, 3, 1), QStringLiteral("Vendita"), 1);
        }
        rispondiSelezione({}, {});
        s.stampa();
        controlla(194);
    }

    void aYearOfMovements() {
        Stampa s;
        s.conSaldo();
        // A year of movements, numbered in an order unrelated to their dates, with entries
        // before and after the year.
        QRandomGenerator caso(2004);
        QList<QDate> date;
        for (QDate d(2003, 12, 20); d <= QDate(2005, 1, 10); d = d.addDays(1)) {
            for (int n = caso.bounded(3); n >= 0; --n) {
                date.append(d);
            }
        }
        std::shuffle(date.begin(), date.end(), std::mt19937(7));
        for (int i = 0; i < date.size(); ++i) {
            const int tipo = caso.bounded(4);
            const QVariant entrate = tipo != 1 ? QVariant(caso.bounded(5000) - 100) : QVariant();
            const QVariant uscite = tipo != 0 ? QVariant(caso.bounded(4000)) : QVariant();
            movimento(s.env, i + 1, date[i],
                      QStringLiteral("Mov %1").arg(i + 1, 4, 10, QLatin1Char('0')), entrate,
                      uscite);
        }
        rispondiSelezione(QStringLiteral("01012004"), QStringLiteral("31122004"));
        s.stampa();
        QVERIFY(s.env.ui.messages.isEmpty());

        // The balance after each entry, worked out by the archive itself.
        QSqlQuery q(s.db);
        q.prepare(QStringLiteral(R"(SELECT v."Numero Progressivo",
            (SELECT SUM(COALESCE(w."Entrate", 0) - COALESCE(w."Uscite", 0)) FROM "Vardello" w
             WHERE w."Data Registrazione" < v."Data Registrazione"
                OR (w."Data Registrazione" = v."Data Registrazione"
                    AND w."Numero Progressivo" <= v."Numero Progressivo"))
            FROM "Vardello" v WHERE v."Data Registrazione" BETWEEN ? AND ?
            ORDER BY v."Data Registrazione", v."Numero Progressivo")"));
        q.addBindValue(QDate(2004, 1, 1));
        q.addBindValue(QDate(2004, 12, 31));
        QVERIFY(q.exec());
        QStringList attesi, numeri;
        while (q.next()) {
            numeri.append(q.value(0).toString());
            attesi.append(
                QStringLiteral("%1 %2").arg(formatNumber(Money::fromUnits(q.value(1).toLongLong()),
                                                         QStringLiteral("###,###,###,##0.00")),
                                            q.value(0).toString()));
        }
        q.finish();
        QVERIFY(attesi.size() > 365);

        QStringList stampati;
        const QRegularExpression voce(QStringLiteral(
            R"(^\s*\d\d/\d\d/2004\s+Mov \d{4}\s.*\s(-?[\d.]+,\d\d)\s+([\d.]+)\s*$)"));
        for (const QString& linea : testoPdf(s.pdf).split(QLatin1Char('\n'))) {
            if (const auto m = voce.match(linea); m.hasMatch()) {
                stampati.append(m.captured(1) + QLatin1Char(' ') +
                                m.captured(2).remove(QLatin1Char('.')));
            }
        }
        QCOMPARE(stampati, attesi);
        // The carried-forward line, the entries and the totals, 30 lines a page.
        QCOMPARE(pagine(s.pdf), static_cast<int>((attesi.size() + 1) / 30 + 1));

        // Read in slices of 7 rows, so that days of several movements fall across the ends
        // of slices: the same movements in the same order.
        const auto leggi = [&](MovimentiAFette& fette, qsizetype quanti) {
            QStringList letti;
            while (letti.size() < quanti) {
                const MovimentoDaStampare* m = fette.prossimo();
                if (!m) {
                    break;
                }
                letti.append(QString(m->numero).remove(QLatin1Char('.')));
            }
            return letti;
        };
        MovimentiAFette intere(s.db, QDate(2004, 1, 1), QDate(2004, 12, 31), 7);
        QCOMPARE(leggi(intere, attesi.size() + 1), numeri);

        // Another computer stores a movement inside the range while it is being read. On
        // SQLite the reading stops at the next slice rather than mix two moments of the
        // archive; on PostgreSQL it goes on in its snapshot, without the new movement.
        MovimentiAFette fette(s.db, QDate(2004, 1, 1), QDate(2004, 12, 31), 7);
        QCOMPARE(leggi(fette, 3), numeri.mid(0, 3));
        {
            const QString altro = QStringLiteral("altro");
            archivio::Errore errore;
            QVERIFY(archivio::apri(programma().PercorsoArchivio, altro, &errore));
            QSqlQuery inserisci(QSqlDatabase::database(altro));
            QVERIFY(inserisci.prepare(QStringLiteral(
                R"(INSERT INTO "Vardello" ("Numero Progressivo", "Data Registrazione", "Entrate")
                   VALUES (?, ?, ?))")));
            inserisci.addBindValue(99999);
            inserisci.addBindValue(QDate(2004, 6, 1));
            inserisci.addBindValue(10000);
            QVERIFY(inserisci.exec());
            inserisci.finish();
            archivio::chiudi(altro);
        }
        if (TestEnvironment::onPostgres()) {
            QCOMPARE(leggi(fette, attesi.size() + 1), numeri.mid(3));
        } else {
            QVERIFY_THROWS_EXCEPTION(ArchivioCambiato, leggi(fette, attesi.size() + 1));
        }
    }
};

QTEST_MAIN(TestStampa)
#include "tst_stampa.moc"
