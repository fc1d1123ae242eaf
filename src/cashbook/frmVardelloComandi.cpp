// The small commands of the button bar and the windows the main window opens.
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTabBar>
#include <memory>

#include "BusyPointer.h"
#include "FRMINFO.h"
#include "GrigliaCassa.h"
#include "ModelloCassa.h"
#include "Programma.h"
#include "Services.h"
#include "StampaCassa.h"
#include "frmCodiciIva.h"
#include "frmEsporta.h"
#include "frmParametri.h"
#include "frmSituazioneIva.h"
#include "frmUtenti.h"
#include "frmVardello.h"

namespace {

// Creates a window under the busy pointer (its loading reads the archive) and shows it
// modally with the normal pointer.
template <typename Finestra, typename... Argomenti>
void mostraModale(Argomenti&&... argomenti) {
    std::unique_ptr<Finestra> finestra;
    {
        BusyPointer attesa;
        finestra = std::make_unique<Finestra>(std::forward<Argomenti>(argomenti)...);
    }
    finestra->exec();
}

}  // namespace

void frmVardello::cmdCopia_Click() {
    QGuiApplication::clipboard()->setText(grdGesca->testoSelezione());
    services::ui().message(
        QStringLiteral("Le celle selezionate sono state copiate nella clipboard"), windowTitle(),
        Interaction::Icon::Exclamation);
}

void frmVardello::cmdEsci_Click() {
    close();
}

void frmVardello::cmdInfo_Click() {
    mostraModale<FRMINFO>(this);
}

void frmVardello::cmdStampa_Click() {
    DatiStampaMese dati;
    for (int riga = 0; riga < modello->movimenti(); ++riga) {
        dati.righe.append(modello->celle(riga));
    }
    dati.indiceMese = tabMesi->currentIndex();
    dati.anno = cmbAnno->currentText();
    dati.entrateMese = txtEntrateMese->text();
    dati.usciteMese = txtUsciteMese->text();
    dati.saldoFineMese = txtSaldoFineMese->text();
    StampaCassa(DbArchivio(), dati, this);
}

void frmVardello::cmdServizi_Click() {
    mostraModale<frmParametri>(this);
    // The archive may have been emptied or the settings changed: show it at once.
    Carica_parametri_predefiniti();
    ImpostaGestioni();
    CaricaMese(meseSelezionato());
}

void frmVardello::cmdCodiciIva_Click() {
    mostraModale<frmCodiciIva>(this);
}

void frmVardello::cmdSituazioneIva_Click() {
    mostraModale<frmSituazioneIva>(meseSelezionato().year(), this);
}

void frmVardello::cmdEsporta_Click() {
    frmEsporta esporta(meseSelezionato(), this);
    esporta.exec();
}

void frmVardello::cmdUtenti_Click() {
    mostraModale<frmUtenti>(this);
}
