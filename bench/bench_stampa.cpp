// The running-balance print of a book of 99,957 movements (99,958 lines with the carried
// balance, 3,332 pages) through the print command, against bare Qt reading the same rows and
// drawing the same pages (the same texts, rectangles and fonts at the same places, each font
// made once) into a PDF file at the printer's high resolution.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QSqlQuery>
#include <QTimer>
#include <cstdio>

#include "Archivio.h"
#include "Caratteri.h"
#include "Clock.h"
#include "Confronto.h"
#include "DatiCondivisi.h"
#include "GeneraArchivio.h"
#include "Interaction.h"
#include "Platform.h"
#include "Programma.h"
#include "Services.h"
#include "StampaCassa.h"
#include "frmSelezione.h"

namespace {

constexpr qint64 kMovimenti = 99'957;

QString filePdf() {
    return QDir::temp().filePath(QStringLiteral("vardello-bench-stampa.pdf"));
}

// The person: the printer chosen is a PDF file; every message is printed and fails the run.
class Persona : public Interaction {
  public:
    void beep() override {}
    std::optional<QString> inputBox(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    bool choosePrinter(QPrinter& stampante) override {
        stampante.setOutputFormat(QPrinter::PdfFormat);
        stampante.setOutputFileName(filePdf());
        return true;
    }
    std::optional<QString> chooseSaveFile(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }

  protected:
    Answer showMessage(const QString& testo, const QString&, Icon, Buttons,
                       std::optional<Answer>) override {
        qFatal("message: %s", qPrintable(testo));
    }
};

void BM_StampaSaldoProgressivo(benchmark::State& stato) {
    for (auto _ : stato) {
        // The date-range window: both fields empty, the whole book.
        QTimer::singleShot(0, [] {
            auto* selezione = qobject_cast<frmSelezione*>(QApplication::activeModalWidget());
            if (!selezione) {
                qFatal("the date-range window is not shown");
            }
            selezione->findChild<QPushButton*>(QStringLiteral("cmdOk"))->click();
        });
        StampaCassa(DbArchivio(), DatiStampaMese{}, nullptr);
    }
}

// Bare Qt: the same range query, the same visible texts (dates as dd/mm/yyyy, amounts with two
// decimals and grouped thousands, the running balance, numbers grouped), and the same drawing
// calls per page, each row drawn as it is read.
void BM_QtNudo(benchmark::State& stato) {
    const QLocale italiano(QLocale::Italian);
    // Whole ten-thousandths of a euro as the program shows them, rounded to cents.
    const auto euro = [&](qlonglong unita) {
        const qlonglong centesimi = (unita + (unita < 0 ? -50 : 50)) / 100;
        const qlonglong assoluti = centesimi < 0 ? -centesimi : centesimi;
        return (centesimi < 0 ? QStringLiteral("-") : QString()) +
               italiano.toString(assoluti / 100) + QLatin1Char(',') +
               QString::number(assoluti % 100).rightJustified(2, QLatin1Char('0'));
    };
    for (auto _ : stato) {
        QPrinter stampante(QPrinter::HighResolution);
        stampante.setOutputFormat(QPrinter::PdfFormat);
        stampante.setOutputFileName(filePdf());
        stampante.setFullPage(true);
        QPainter p(&stampante);
        const double mm = stampante.logicalDpiX() / 25.4;
        QFont titolo = carattereFisso(10);
        titolo.setBold(true);
        QFont corpo = carattereFisso(9);
        corpo.setBold(true);
        const QFontMetricsF misureTitolo(titolo, &stampante);
        const QFontMetricsF misureCorpo(corpo, &stampante);
        const double passo = misureCorpo.horizontalAdvance(QLatin1Char(' '));
        QPen spessa(Qt::black);
        spessa.setCosmetic(true);
        spessa.setWidth(4);
        QPen sottile = spessa;
        sottile.setWidth(1);
        const auto testo = [&](double x, double y, const QFontMetricsF& misure, const QString& t,
                               qsizetype colonne = 0) {
            // Right-aligned in `colonne` characters of the fixed pitch when asked.
            const double scarto =
                colonne > 0 ? static_cast<double>(colonne - t.size()) * passo : 0.0;
            p.drawText(QPointF(x * mm + scarto, y * mm + misure.ascent()), t);
        };
        // One line: date, operation, income, expense, number, balance; the page's frame and
        // titles before its first line.
        qsizetype righe = 0;
        const auto riga = [&](const QStringList& t) {
            const int sulFoglio = static_cast<int>(righe++ % 30);
            if (sulFoglio == 0) {
                if (righe > 1) {
                    stampante.newPage();
                }
                p.setPen(spessa);
                p.drawRect(QRectF(5 * mm, 7 * mm, 197 * mm, 11 * mm));
                p.setFont(titolo);
                testo(5, 11, misureTitolo, QStringLiteral(" STAMPA VARDELLO - Da data: A data:"));
                p.setFont(corpo);
                testo(142, 7.5, misureCorpo, QStringLiteral("Data: 15/03/2005  Pag.    1"));
                p.drawRect(QRectF(5 * mm, 20 * mm, 197 * mm, 7 * mm));
                testo(6, 22, misureCorpo, QStringLiteral("Data reg."));
                testo(31, 22, misureCorpo, QStringLiteral("Operazione"));
                testo(100, 22, misureCorpo, QStringLiteral("Entrate"), 15);
                testo(130, 22, misureCorpo, QStringLiteral("Uscite"), 15);
                testo(160, 22, misureCorpo, QStringLiteral("Saldo"), 15);
                testo(192, 22, misureCorpo, QStringLiteral("Prot."));
                p.setPen(sottile);
            }
            const double y = sulFoglio * 8.0;
            p.drawRect(QRectF(5 * mm, (28 + y) * mm, 197 * mm, 7 * mm));
            testo(6, 30 + y, misureCorpo, t.at(0));
            testo(31, 30 + y, misureCorpo, t.at(1));
            testo(101, 30 + y, misureCorpo, t.at(2), 15);
            testo(131, 30 + y, misureCorpo, t.at(3), 15);
            testo(161, 30 + y, misureCorpo, t.at(5), 15);
            testo(194, 30 + y, misureCorpo, t.at(4));
        };
        // The carried-forward balance first, as the program prints it; each row drawn as it
        // is read, as the program does, so that neither holds the whole book.
        QStringList testi = {{}, QStringLiteral("Riporto saldo"), {}, {}, {}, euro(0)};
        riga(testi);
        QSqlQuery q(DbArchivio());
        q.setForwardOnly(true);
        q.exec(QStringLiteral(R"(SELECT "Data Registrazione", "Operazione", "Entrate",
                                 "Uscite", "Numero Progressivo" FROM "Vardello"
                                 ORDER BY "Data Registrazione", "Numero Progressivo")"));
        qlonglong saldo = 0;
        while (q.next()) {
            testi[0] = QDate::fromString(q.value(0).toString().left(10), Qt::ISODate)
                           .toString(QStringLiteral("dd/MM/yyyy"));
            testi[1] = q.value(1).toString();
            for (int c = 2; c < 4; ++c) {
                testi[c] = q.value(c).isNull() ? QString() : euro(q.value(c).toLongLong());
            }
            const QString numero = italiano.toString(q.value(4).toLongLong());
            testi[4] = numero.size() > 6 ? q.value(4).toString() : numero;
            saldo += q.value(2).toLongLong() - q.value(3).toLongLong();
            testi[5] = euro(saldo);
            riga(testi);
        }
        riga(testi);  // the closing line: as many texts as the last row's
        p.end();
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    Persona persona;
    FixedClock orologio(QDateTime(QDate(2005, 3, 15), QTime(10, 30)));
    SystemPlatform piattaforma;
    services::setInteraction(&persona);
    services::setClock(&orologio);
    services::setPlatform(&piattaforma);

    const QString percorso = QDir::temp().filePath(QStringLiteral("vardello-bench-stampa.mdb"));
    if (!QFile::exists(percorso)) {
        OpzioniArchivio opzioni;
        opzioni.movimenti = kMovimenti;
        QString testo;
        if (!creaArchivioGenerato(percorso, opzioni, &testo)) {
            qFatal("cannot generate the archive: %s", qPrintable(testo));
        }
    }
    programma().PercorsoArchivio = percorso;
    archivio::Errore errore;
    if (!archivio::apri(percorso, kConnessioneArchivio, &errore)) {
        qFatal("cannot open the archive: %s", qPrintable(errore.testo));
    }
    ScriviRiferimento(DbArchivio(), QStringLiteral("Stampa con indicazione saldo progressivo"), 1);
    confronta(benchmark::RegisterBenchmark("BM_StampaSaldoProgressivo", BM_StampaSaldoProgressivo),
              5);
    confronta(benchmark::RegisterBenchmark("BM_QtNudo", BM_QtNudo), 5);
    eseguiConfronti(argc, argv, {{"BM_StampaSaldoProgressivo", "BM_QtNudo"}});
    archivio::chiudi(kConnessioneArchivio);
    QFile::remove(filePdf());
    return 0;
}
