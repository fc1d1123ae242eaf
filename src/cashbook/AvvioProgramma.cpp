#include "AvvioProgramma.h"

#include "Avvio.h"
#include "Programma.h"
#include "frmAccesso.h"
#include "frmVardello.h"

std::unique_ptr<frmVardello> avviaProgramma() {
    if (!apriArchivioAllAvvio()) {
        return nullptr;
    }
    {
        // Only a successful log-in sets UtenteCorrente; cancelling, a third wrong password or
        // closing the log-in window leave it empty and the program ends.
        frmAccesso accesso;
        accesso.exec();
    }
    if (programma().UtenteCorrente.isEmpty()) {
        return nullptr;
    }
    auto finestra = std::make_unique<frmVardello>();
    finestra->Prepara();
    return finestra;
}
