// The month shown in the grid and the three rows of totals.
#include <QLineEdit>

#include "BusyPointer.h"
#include "FormHelpers.h"
#include "GrigliaCassa.h"
#include "MessaggiCassa.h"
#include "ModelloCassa.h"
#include "MovimentiCassa.h"
#include "NumberPattern.h"
#include "Programma.h"
#include "SqlCassa.h"
#include "TotaliCassa.h"
#include "frmVardello.h"

void frmVardello::PulisciGrdGesca() {
    BusyPointer attesa;
    modello->svuota();
}

void frmVardello::CaricaMese(const QDate& DataMese) {
    BusyPointer attesa;
    TotaleEntrateMese = Money();
    TotaleUsciteMese = Money();
    PulisciGrdGesca();
    QList<RigaCassa> righe;
    try {
        leggiMese(DbArchivio(), DataMese.year(), DataMese.month(), righe);
        for (const RigaCassa& riga : righe) {
            TotaleEntrateMese += riga.entrate().value_or(Money());
            TotaleUsciteMese += riga.uscite().value_or(Money());
        }
        modello->carica(std::move(righe));
        if (modello->movimenti() == 0 && cassaVuota(DbArchivio())) {
            // An empty book: nothing to store, and nothing before this month either.
            TotaleEntratePrecedenti = Money();
            TotaleUscitePrecedenti = Money();
            RefreshTotali();
            return;
        }
        // Every write keeps a month's stored totals equal to its sums, so they are stored
        // afresh (under the write lock) only when they differ from the rows just read.
        if (totaliRegistrati(DbArchivio(), DataMese.year(), DataMese.month()) !=
            TotaliMese{TotaleEntrateMese, TotaleUsciteMese}) {
            SaveTotaliMese(DataMese.year(), DataMese.month());
        }
    } catch (const ErroreArchivio& errore) {
        if (modello->movimenti() == 0) {
            modello->carica(std::move(righe));  // the rows read before the error stay shown
        }
        RefreshTotali();
        avvisa(erroreTabella(QStringLiteral("Vardello"), errore), QStringLiteral("Vardello"),
               Interaction::Icon::None);
        return;
    }
    const QDate finePrecedente = DataMese.addDays(-(DataMese.day()));
    OpenTotaliPrecedenti(finePrecedente.year(), finePrecedente.month());
    RefreshTotali();
}

void frmVardello::SaveTotaliMese(int KeyAnno, int KeyMese) {
    // The stored totals are the month's sums as the archive holds them, taken under the write
    // lock: a movement that another computer stored after this window read its rows must not
    // be dropped from them. Alone at this computer they are the totals of the rows shown.
    TransazioneScrittura transazione(DbArchivio());
    ricalcolaTotaliMese(DbArchivio(), KeyAnno, KeyMese);
    transazione.conferma();
}

void frmVardello::OpenTotaliPrecedenti(int FiltroAnno, int FiltroMese) {
    BusyPointer attesa;
    TotaleEntratePrecedenti = Money();
    TotaleUscitePrecedenti = Money();
    try {
        const TotaliMese somme = sommaTotaliFinoA(DbArchivio(), FiltroAnno, FiltroMese);
        TotaleEntratePrecedenti = somme.entrate;
        TotaleUscitePrecedenti = somme.uscite;
    } catch (const ErroreArchivio& errore) {
        avvisa(erroreTabella(QStringLiteral("Totali di Cassa"), errore), titoloMessaggi(),
               Interaction::Icon::Exclamation);
    }
}

void frmVardello::RefreshTotali() {
    const auto mostra = [](QLineEdit* box, Money valore) {
        QString testo = formatNumber(valore, QStringLiteral("##,###,###,##0.00"));
        box->setText(AllineaDestra(testo, 14));
    };
    const Money entrateGenerali = TotaleEntrateMese + TotaleEntratePrecedenti;
    const Money usciteGenerali = TotaleUsciteMese + TotaleUscitePrecedenti;
    mostra(txtEntrateMese, TotaleEntrateMese);
    mostra(txtUsciteMese, TotaleUsciteMese);
    mostra(txtSaldoFineMese, TotaleEntrateMese - TotaleUsciteMese);
    mostra(txtEntrateMeseP, TotaleEntratePrecedenti);
    mostra(txtUsciteMeseP, TotaleUscitePrecedenti);
    mostra(txtEntrateGenerali, entrateGenerali);
    mostra(txtUsciteGenerali, usciteGenerali);
    mostra(txtSaldo, entrateGenerali - usciteGenerali);
}
