#include "frmSituazioneIva.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "BusyPointer.h"
#include "Caratteri.h"
#include "CentraFinestra.h"
#include "Colori.h"
#include "DatiCondivisi.h"
#include "FormHelpers.h"
#include "ImmaginiPulsanti.h"
#include "NumberPattern.h"
#include "Programma.h"
#include "Services.h"
#include "SituazioneIva.h"

namespace {

const QString kFormato = QStringLiteral("##,###,###,##0.00");
constexpr int kLarghezzaImporto = 14;

const char* const kMesi[12] = {"Gennaio",   "Febbraio", "Marzo",    "Aprile",
                               "Maggio",    "Giugno",   "Luglio",   "Agosto",
                               "Settembre", "Ottobre",  "Novembre", "Dicembre"};

// A display-only box: disabled, button-face background.
QLineEdit* casella(QWidget* parent, const QString& nome, const QString& testo) {
    auto* box = new QLineEdit(testo, parent);
    box->setObjectName(nome);
    CampoVisualizzazione(box);
    return box;
}

// Writes an amount right-aligned in 14 characters; a longer text is written whole.
void scriviImporto(QLineEdit* box, Money importo) {
    QString testo = formatNumber(importo, kFormato);
    box->setText(testo.size() > kLarghezzaImporto ? testo
                                                  : AllineaDestra(testo, kLarghezzaImporto));
}

}  // namespace

frmSituazioneIva::frmSituazioneIva(int anno, QWidget* parent) : QDialog(parent), anno_(anno) {
    costruisciFinestra();
    CentraFinestra(this);
    CalcolaIva();
}

void frmSituazioneIva::costruisciFinestra() {
    setWindowTitle(QStringLiteral("Situazione I.V.A."));
    const QFont fisso = carattereFisso();
    const QFontMetrics metriche(fisso);
    // Wide enough for amounts up to a hundred thousand million.
    const int larghezzaImporto = metriche.horizontalAdvance(QLatin1Char('0')) * 18 + 10;
    const int larghezzaMarcatore = metriche.horizontalAdvance(QLatin1Char('A')) + 12;
    const int altezza = 24;
    const int passo = 28;

    auto nome = [](const char* base, int i) {
        return QStringLiteral("%1_%2").arg(QLatin1String(base)).arg(i);
    };
    int x = 0;
    for (int i = 0; i < 12; ++i) {
        const int y = 10 + i * passo;
        lblMese[i] = new QLabel(QLatin1String(kMesi[i]), this);
        lblMese[i]->setObjectName(nome("lblMese", i));
        lblMese[i]->setGeometry(10, y, 90, altezza);
        x = 104;
        auto colonna = [&](std::array<QLineEdit*, 12>& riga, const char* base, const QString& testo,
                           int larghezza, bool importo) {
            riga[i] = casella(this, nome(base, i), testo);
            riga[i]->setFont(fisso);
            riga[i]->setAlignment(importo ? Qt::AlignRight : Qt::AlignCenter);
            riga[i]->setGeometry(x, y, larghezza, altezza);
            x += larghezza + (importo ? 10 : 2);
        };
        colonna(txtC, "txtC", QStringLiteral("A"), larghezzaMarcatore, false);
        colonna(txtCreditoIva, "txtCreditoIva", QString(), larghezzaImporto, true);
        colonna(txtD, "txtD", QStringLiteral("D"), larghezzaMarcatore, false);
        colonna(txtDebitoIva, "txtDebitoIva", QString(), larghezzaImporto, true);
        colonna(txtS, "txtS", QStringLiteral("S"), larghezzaMarcatore, false);
        colonna(txtSaldoIva, "txtSaldoIva", QString(), larghezzaImporto, true);
    }
    const int yFinale = 10 + 12 * passo + 8;
    const int xSaldo = txtSaldoIva[0]->x();
    txtEtichettaSaldoFinale =
        casella(this, QStringLiteral("txtEtichettaSaldoFinale"), QStringLiteral("SALDO FINALE"));
    txtEtichettaSaldoFinale->setAlignment(Qt::AlignCenter);
    txtEtichettaSaldoFinale->setGeometry(txtDebitoIva[0]->x(), yFinale, larghezzaImporto, altezza);
    txtSaldoFinale = casella(this, QStringLiteral("txtSaldoFinale"), QString());
    txtSaldoFinale->setFont(fisso);
    txtSaldoFinale->setAlignment(Qt::AlignRight);
    txtSaldoFinale->setGeometry(xSaldo, yFinale, larghezzaImporto, altezza);

    cmdAnnulla = new QPushButton(this);
    cmdAnnulla->setObjectName(QStringLiteral("cmdAnnulla"));
    cmdAnnulla->setToolTip(QStringLiteral("Esci"));
    cmdAnnulla->setIcon(immaginePulsante(QStringLiteral("ESCI")));
    cmdAnnulla->setIconSize(QSize(24, 24));
    cmdAnnulla->setGeometry(10, yFinale, 40, 36);
    connect(cmdAnnulla, &QPushButton::clicked, this, &QDialog::close);

    setFixedSize(x, yFinale + 36 + 10);
}

void frmSituazioneIva::CalcolaIva() {
    SituazioneIva situazione;
    try {
        BusyPointer clessidra;
        situazione = CalcolaSituazioneIva(DbArchivio(), anno_);
    } catch (const ErroreArchivio& errore) {
        services::ui().message(
            QStringLiteral("Errore nell'accesso alla tabella 'Vardello'\n\nCodice errore = ") +
                errore.codice,
            windowTitle().toUpper(), Interaction::Icon::Exclamation);
        return;
    }
    if (situazione.libroVuoto) {
        return;
    }
    for (int i = 0; i < 12; ++i) {
        if (situazione.credito[i]) {
            scriviImporto(txtCreditoIva[i], *situazione.credito[i]);
        }
        if (situazione.debito[i]) {
            scriviImporto(txtDebitoIva[i], *situazione.debito[i]);
        }
        scriviImporto(txtSaldoIva[i], situazione.saldoMese(i));
    }
    scriviImporto(txtSaldoFinale, situazione.saldoFinale());

    if (programma().IvaTrimestrale) {
        for (int i = 2; i < 12; i += 3) {
            scriviImporto(txtSaldoIva[i], situazione.saldoTrimestre(i));
            for (int mese = i - 2; mese < i; ++mese) {
                txtSaldoIva[mese]->setVisible(false);
                txtS[mese]->setVisible(false);
                lblMese[mese]->setEnabled(false);
            }
        }
    }
}
