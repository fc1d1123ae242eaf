#include "StampaCassa.h"

#include <QPrinter>
#include <QSqlError>
#include <QSqlQuery>
#include <functional>

#include "BusyPointer.h"
#include "DatiCondivisi.h"
#include "FormHelpers.h"
#include "ItalianDate.h"
#include "MovimentiAFette.h"
#include "NumberPattern.h"
#include "Services.h"
#include "Sql.h"
#include "StampaCassaPagina.h"
#include "TestoFisso.h"
#include "frmSelezione.h"

namespace {

const QString kFormatoSaldo = QStringLiteral("###,###,###,##0.00");
constexpr int kRighePerPagina = 30;
constexpr double kPassoRiga = 8;  // millimetres from one line to the next

// Anything that stops a print once the printer has been chosen.
struct ErroreStampante {};

constexpr int kLarghezzaNumero = 6;
constexpr int kLarghezzaImporto = 15;

// A movement number is printed whole: grouped as the grid shows it when that fits its slot
// ("99.999"), otherwise without the grouping dots ("123456"), so a number never reads like a
// decimal; from seven digits on it runs past its slot towards the page edge, which has room.
QString numeroStampato(const QString& numero) {
    QString testo = numero.trimmed();
    if (testo.size() > kLarghezzaNumero) {
        testo.remove(QLatin1Char('.'));
    }
    return testo;
}

QString colonna(const QString& testo, qsizetype larghezza) {
    return testo.size() > larghezza ? primiCaratteri(testo, larghezza).toString() : testo;
}

// The print line: each value cut to the width of its slot (the movement number is never
// cut); the amounts are right-aligned in theirs when drawn.
struct RigaStampa {
    RigaStampa(const QString& data, const QString& operazione, const QString& entrate,
               const QString& uscite, const QString& numero, const QString& saldo = {})
        : data(colonna(data, 10)),
          operazione(colonna(operazione, 46)),
          entrate(colonna(entrate, kLarghezzaImporto)),
          uscite(colonna(uscite, kLarghezzaImporto)),
          numero(numeroStampato(numero)),
          saldo(colonna(saldo, kLarghezzaImporto)) {}

    QString data, operazione, entrate, uscite, numero, saldo;
};

QString aDestra(QString testo) {
    return AllineaDestra(testo, kLarghezzaImporto);
}

QString dataEPagina(int pagina) {
    return QStringLiteral("Data: ") + formatItalianDate(services::clock().today()) +
           QStringLiteral("  Pag. ") + QString::number(pagina).rightJustified(4);
}

// One printed book: pages of at most 30 lines, each page under the header of its form.
class Libro {
  public:
    Libro(StampaCassaPagina& pagina, std::function<void()> intestazione)
        : pagina_(pagina), intestazione_(std::move(intestazione)) {}

    void inizia() {
        verifica(pagina_.inizia());
        intestazione_();
    }

    // The vertical offset of the next line; a full page is closed first.
    double prossimaRiga() {
        if (righe_ >= kRighePerPagina) {
            verifica(pagina_.nuovaPagina());
            righe_ = 0;
            scarto_ = 0;
            intestazione_();
        }
        return scarto_;
    }

    void rigaStampata() {
        scarto_ += kPassoRiga;
        ++righe_;
    }

    void fine() { verifica(pagina_.fine()); }

  private:
    static void verifica(bool riuscito) {
        if (!riuscito) {
            throw ErroreStampante{};
        }
    }

    StampaCassaPagina& pagina_;
    std::function<void()> intestazione_;
    int righe_ = 0;
    double scarto_ = 0;
};

// Has the person choose the printer, then prints with the hourglass pointer. A cancelled
// printer dialog prints nothing and says nothing; whatever goes wrong after it (printer,
// archive, another computer changing the archive mid-print) drops the document and tells the
// person.
void eseguiStampa(QPrinter& stampante, StampaCassaPagina& pagina,
                  const std::function<void()>& stampa) {
    if (!services::ui().choosePrinter(stampante)) {
        return;
    }
    QString errore = QStringLiteral("Errore sulla stampante.");
    try {
        BusyPointer occupato;
        stampa();
        return;
    } catch (const ErroreStampante&) {
    } catch (const ErroreArchivio&) {
    } catch (const ArchivioCambiato&) {
        errore = QStringLiteral(
            "Durante la stampa un altro computer ha modificato l'archivio: la stampa è stata "
            "annullata. Ripetere la stampa.");
    }
    pagina.abbandona();
    services::ui().message(errore, QStringLiteral("STAMPA"), Interaction::Icon::Exclamation);
}

void StampaSaldoProgressivo(QSqlDatabase db, QWidget* parent) {
    frmSelezione selezione(parent);
    selezione.exec();
    if (!selezione.PremutoOk) {
        return;
    }
    const int anno = services::clock().today().year();
    const std::optional<QDate> dal = readItalianDate(selezione.DaData, anno);
    const std::optional<QDate> al = readItalianDate(selezione.AData, anno);

    QPrinter stampante(QPrinter::HighResolution);
    StampaCassaPagina pagina(stampante);
    eseguiStampa(stampante, pagina, [&] {
        // The range is read a slice at a time while the pages are drawn; the carried-forward
        // balance belongs to the same moment of the archive as the slices.
        MovimentiAFette movimenti(db, dal.value_or(QDate(1900, 1, 1)),
                                  al.value_or(QDate(3000, 12, 31)));
        const Money riporto = dal ? SaldoAllaData(db, *dal) : Money();
        const MovimentoDaStampare* movimento = movimenti.prossimo();
        const QString titolo = LeggiRiferimento(db, QStringLiteral("Titolo stampa"), QString());
        const QString intervallo = QStringLiteral(" - Da data: ") + selezione.DaData +
                                   QStringLiteral(" A data: ") + selezione.AData;
        const QString titoloPagina =
            (titolo.isEmpty() ? QStringLiteral(" STAMPA VARDELLO") : QLatin1Char(' ') + titolo) +
            intervallo;

        Libro libro(pagina, [&] {
            pagina.spessoreLinea(4);
            pagina.rettangolo(5, 7, 202, 18);
            pagina.spessoreLinea(1);
            pagina.carattere(10, true);
            pagina.testo(5, 11, titoloPagina);
            pagina.carattere(9, true);
            pagina.testo(142, 7.5, dataEPagina(pagina.numeroPagina()));
            pagina.spessoreLinea(4);
            pagina.rettangolo(5, 20, 202, 27);
            pagina.spessoreLinea(1);
            pagina.carattere(9, true);
            pagina.testo(6, 22, QStringLiteral("Data reg."));
            pagina.testo(31, 22, QStringLiteral("Operazione"));
            pagina.testoADestra(100, 22, QStringLiteral("Entrate"), kLarghezzaImporto);
            pagina.testoADestra(130, 22, QStringLiteral("Uscite"), kLarghezzaImporto);
            pagina.testoADestra(160, 22, QStringLiteral("Saldo"), kLarghezzaImporto);
            pagina.testo(192, 22, QStringLiteral("Prot."));
        });
        const auto stampaRiga = [&](const RigaStampa& riga) {
            const double y = libro.prossimaRiga();
            pagina.spessoreLinea(1);
            pagina.carattere(9, true);
            pagina.rettangolo(5, 28 + y, 202, 35 + y);
            pagina.testo(6, 30 + y, riga.data);
            pagina.testo(31, 30 + y, riga.operazione);
            pagina.testoADestra(101, 30 + y, riga.entrate, kLarghezzaImporto);
            pagina.testoADestra(131, 30 + y, riga.uscite, kLarghezzaImporto);
            pagina.testoADestra(161, 30 + y, riga.saldo, kLarghezzaImporto);
            pagina.testo(194, 30 + y, riga.numero);
            libro.rigaStampata();
        };

        libro.inizia();
        if (movimento) {
            stampaRiga(RigaStampa({}, QStringLiteral("Riporto saldo"), {}, {}, {},
                                  formatNumber(riporto, kFormatoSaldo)));
        }
        Money entrate, uscite, saldo = riporto;
        for (; movimento; movimento = movimenti.prossimo()) {
            entrate += movimento->importoEntrate;
            uscite += movimento->importoUscite;
            saldo += movimento->importoEntrate - movimento->importoUscite;
            stampaRiga(RigaStampa(movimento->data, movimento->operazione, movimento->entrate,
                                  movimento->uscite, movimento->numero,
                                  formatNumber(saldo, kFormatoSaldo)));
        }

        const double y = libro.prossimaRiga();
        pagina.carattere(9, true);
        pagina.testo(80, 30 + y, QStringLiteral("Saldi: "));
        for (const auto& [x, importo] :
             {std::pair{99, entrate}, std::pair{129, uscite}, std::pair{159, saldo}}) {
            pagina.testo(x, 30 + y,
                         QLatin1Char(' ') + aDestra(formatNumber(importo, kFormatoSaldo)));
        }
        libro.fine();
    });
}

QString nomeMese(int indice) {
    static const char* const nomi[] = {"Gennaio",   "Febbraio", "Marzo",    "Aprile",
                                       "Maggio",    "Giugno",   "Luglio",   "Agosto",
                                       "Settembre", "Ottobre",  "Novembre", "Dicembre"};
    return indice >= 0 && indice < 12 ? QString::fromLatin1(nomi[indice]) : QString();
}

void StampaMese(QSqlDatabase db, const DatiStampaMese& mese) {
    QPrinter stampante(QPrinter::HighResolution);
    StampaCassaPagina pagina(stampante);
    eseguiStampa(stampante, pagina, [&] {
        const QString titolo = LeggiRiferimento(db, QStringLiteral("Titolo stampa"), QString());
        const QString meseEAnno =
            nomeMese(mese.indiceMese).toUpper() + QLatin1Char(' ') + mese.anno;
        const QString titoloPagina =
            titolo.isEmpty() ? QStringLiteral(" VARDELLO DEL MESE DI ") + meseEAnno
                             : QLatin1Char(' ') + titolo + QStringLiteral(" MESE ") + meseEAnno;
        const auto colonne = [&](double y1, double y2) {
            pagina.rettangolo(5, y1, 202, y2);
            pagina.rettangolo(30, y1, 120, y2);
            pagina.rettangolo(154, y1, 187, y2);
        };

        Libro libro(pagina, [&] {
            pagina.spessoreLinea(4);
            pagina.rettangolo(5, 7, 202, 18);
            pagina.spessoreLinea(1);
            pagina.carattere(20, true);
            // A long "Titolo stampa" takes a smaller size rather than run under the date
            // line's frame or off the page.
            pagina.adattaCarattere(titoloPagina, 141 - 5 - 0.5);
            pagina.testo(5, 10, titoloPagina);
            pagina.spessoreLinea(1);
            pagina.rettangolo(141, 7, 202, 11);
            pagina.carattere(10, true);
            pagina.testo(142, 7.5, dataEPagina(pagina.numeroPagina()));
            // The outer frame is drawn heavy, the column separators thin.
            pagina.spessoreLinea(4);
            pagina.rettangolo(5, 20, 202, 27);
            pagina.spessoreLinea(1);
            pagina.rettangolo(30, 20, 120, 27);
            pagina.rettangolo(154, 20, 187, 27);
            pagina.carattere(10, true);
            pagina.testo(6, 22, QStringLiteral("Data reg."));
            pagina.testo(31, 22, QStringLiteral("Operazione"));
            pagina.testo(121, 22, QStringLiteral(" Entrate"));
            pagina.testo(154, 22, QStringLiteral(" Uscite"));
            pagina.testo(189, 22, QStringLiteral("Prot."));
        });

        libro.inizia();
        for (const QStringList& cella : mese.righe) {
            if (cella.value(4).trimmed().isEmpty()) {
                continue;
            }
            const RigaStampa riga(cella.value(0), cella.value(1), cella.value(2), cella.value(3),
                                  cella.value(4));
            const double y = libro.prossimaRiga();
            pagina.spessoreLinea(1);
            pagina.carattere(10, true);
            colonne(28 + y, 35 + y);
            pagina.testo(6, 30 + y, riga.data);
            pagina.testo(31, 30 + y, riga.operazione);
            pagina.testoADestra(121, 30 + y, riga.entrate, kLarghezzaImporto);
            pagina.testoADestra(154, 30 + y, riga.uscite, kLarghezzaImporto);
            pagina.testo(189, 30 + y, riga.numero);
            libro.rigaStampata();
        }

        const double y = libro.prossimaRiga();
        pagina.carattere(10, true);
        pagina.testo(50, 30 + y, QStringLiteral("Saldo: ") + mese.saldoFineMese);
        pagina.testo(121, 30 + y, QLatin1Char(' ') + mese.entrateMese);
        pagina.testo(154, 30 + y, QLatin1Char(' ') + mese.usciteMese);
        libro.fine();
    });
}

}  // namespace

void StampaCassa(QSqlDatabase db, const DatiStampaMese& mese, QWidget* parent) {
    QString scelta;
    try {
        scelta =
            LeggiRiferimento(db, QStringLiteral("Stampa con indicazione saldo progressivo"), 0);
    } catch (const ErroreArchivio& errore) {
        services::ui().message(QStringLiteral("Errore non gestito. Codice: ") + errore.codice,
                               QStringLiteral("STAMPA"), Interaction::Icon::Exclamation);
        return;
    }
    bool numero = false;
    if (scelta.trimmed().toInt(&numero) == 1 && numero) {
        StampaSaldoProgressivo(db, parent);
    } else {
        StampaMese(db, mese);
    }
}
