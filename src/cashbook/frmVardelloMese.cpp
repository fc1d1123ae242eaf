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

namespace {

int chiaveMese(int anno, int mese) {
    return anno * 12 + mese - 1;
}

}  // namespace

void frmVardello::CaricaMese(const QDate& DataMese) {
    BusyPointer attesa;
    PulisciGrdGesca();
    QList<RigaCassa> righe;
    bool vuota = false;
    std::optional<TotaliMese> registrati;
    TotaliMese somme;
    try {
        // The rows and the month's stored row at one moment, so that comparing them tells
        // whether the stored row is the sums of the rows.
        LetturaCoerente lettura(DbArchivio());
        leggiMese(DbArchivio(), DataMese.year(), DataMese.month(), righe, somme);
        registrati = totaliCompleti(DbArchivio(), DataMese.year(), DataMese.month());
        vuota = righe.isEmpty() && cassaVuota(DbArchivio());
    } catch (const ErroreArchivio& errore) {
        // What was read before the error is stored: it stays shown, with its sums, and the
        // person learns that the month may be incomplete.
        TotaleEntrateMese = somme.entrate;
        TotaleUsciteMese = somme.uscite;
        modello->carica(std::move(righe));
        RefreshTotali();
        avvisa(premessaCaricamento_ + erroreTabella(QStringLiteral("Vardello"), errore) +
                   QStringLiteral("\n\nIl mese mostrato può essere incompleto: sceglierlo di "
                                  "nuovo per ricaricarlo."),
               QStringLiteral("Vardello"), Interaction::Icon::None);
        return;
    }
    TotaleEntrateMese = somme.entrate;
    TotaleUsciteMese = somme.uscite;
    modello->carica(std::move(righe));
    if (vuota) {
        // An empty book: nothing to store, and nothing before this month either.
        TotaleEntratePrecedenti = Money();
        TotaleUscitePrecedenti = Money();
        RefreshTotali();
        return;
    }
    // The month's row is a cache of the sums just read. Every write keeps it so; one that
    // differs (written by something else) is stored afresh under the write lock. When it
    // cannot be stored (an archive that can only be read, another computer holding the lock)
    // the figures shown stay the archive's, and the row is stored at a later load.
    const int chiave = chiaveMese(DataMese.year(), DataMese.month());
    try {
        if (registrati != TotaliMese{TotaleEntrateMese, TotaleUsciteMese}) {
            SaveTotaliMese(DataMese.year(), DataMese.month());
        }
        mesiDaRegistrare_.remove(chiave);
        if (!mesiDaRegistrare_.isEmpty()) {
            registraTotaliInSospeso();
        }
    } catch (const ErroreArchivio&) {
        mesiDaRegistrare_.insert(chiave);
    }
    const QDate finePrecedente = DataMese.addDays(-(DataMese.day()));
    OpenTotaliPrecedenti(finePrecedente.year(), finePrecedente.month());
    RefreshTotali();
}

void frmVardello::registraTotaliInSospeso() {
    for (auto mese = mesiDaRegistrare_.begin(); mese != mesiDaRegistrare_.end();) {
        try {
            SaveTotaliMese(*mese / 12, *mese % 12 + 1);
            mese = mesiDaRegistrare_.erase(mese);
        } catch (const ErroreArchivio&) {
            ++mese;
        }
    }
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
        TotaliMese somme = sommaTotaliFinoA(DbArchivio(), FiltroAnno, FiltroMese);
        // A month whose row could not be stored counts with its movements' sums instead of
        // the row the archive still holds for it.
        for (int chiave : std::as_const(mesiDaRegistrare_)) {
            if (chiave > chiaveMese(FiltroAnno, FiltroMese)) {
                continue;
            }
            const int anno = chiave / 12;
            const int mese = chiave % 12 + 1;
            const TotaliMese vere = sommeDelMese(DbArchivio(), anno, mese);
            const TotaliMese registrate =
                totaliRegistrati(DbArchivio(), anno, mese).value_or(TotaliMese());
            somme.entrate += vere.entrate - registrate.entrate;
            somme.uscite += vere.uscite - registrate.uscite;
        }
        TotaleEntratePrecedenti = somme.entrate;
        TotaleUscitePrecedenti = somme.uscite;
    } catch (const ErroreArchivio& errore) {
        avvisa(premessaCaricamento_ + erroreTabella(QStringLiteral("Totali di Cassa"), errore),
               titoloMessaggi(), Interaction::Icon::Exclamation);
    }
}

void frmVardello::RefreshTotali() {
    const auto mostra = [](QLineEdit* box, Money valore) {
        // A box is set only when its figure changes: setting a text repaints the box, and
        // an insert changes half of them.
        QString cifra = formatNumber(valore, QStringLiteral("##,###,###,##0.00"));
        const QString testo = AllineaDestra(cifra, 14);
        if (box->text() != testo) {
            box->setText(testo);
        }
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
