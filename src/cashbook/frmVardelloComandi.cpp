// The small commands of the button bar and the windows the main window opens.
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
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
#include "frmVardello.h"

void frmVardello::cmdCopia_Click() {
    QGuiApplication::clipboard()->setText(grdGesca->testoSelezione());
    services::ui().beep();
    services::ui().message(
        QStringLiteral("Le celle selezionate sono state copiate nella clipboard"), windowTitle(),
        Interaction::Icon::Exclamation);
}

void frmVardello::cmdEsci_Click() {
    close();
}

void frmVardello::cmdInfo_Click() {
    std::unique_ptr<FRMINFO> finestra;
    {
        BusyPointer attesa;
        finestra = std::make_unique<FRMINFO>(this);
    }
    finestra->exec();
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
    std::unique_ptr<QDialog> finestra;
    {
        BusyPointer attesa;
        // Integration: finestra = std::make_unique<frmParametri>(this);
    }
    if (finestra) {
        finestra->exec();
    }
    // The archive may have been emptied or the settings changed: show it at once.
    Carica_parametri_predefiniti();
    ImpostaGestioni();
    CaricaMese(meseSelezionato());
}

void frmVardello::cmdCodiciIva_Click() {
    std::unique_ptr<QDialog> finestra;
    {
        BusyPointer attesa;
        // Integration: finestra = std::make_unique<frmCodiciIva>(this);
    }
    if (finestra) {
        finestra->exec();
    }
}

void frmVardello::cmdSituazioneIva_Click() {
    std::unique_ptr<QDialog> finestra;
    {
        BusyPointer attesa;
        // Integration: finestra = std::make_unique<frmSituazioneIva>(this);
    }
    if (finestra) {
        finestra->exec();
    }
}

void frmVardello::cmdUtenti_Click() {
    std::unique_ptr<QDialog> finestra;
    // Integration: finestra = std::make_unique<frmUtenti>(this);
    if (finestra) {
        finestra->exec();
    }
}
