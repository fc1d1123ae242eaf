#include "Avvio.h"

#include <QDir>
#include <QFileInfo>

#include "Archivio.h"
#include "Configurazione.h"
#include "DatiCondivisi.h"
#include "PermessiFile.h"
#include "Programma.h"
#include "Services.h"

namespace {

void segnalaErroreArchivio(const archivio::Errore& errore) {
    services::ui().message(
        QStringLiteral("Impossibile aprire l'archivio '%1'.\n\nCodice errore = %2\n%3\n\n"
                       "Nessun file è stato creato né modificato.")
            .arg(archivio::nomeVisibile(programma().PercorsoArchivio), errore.codice, errore.testo),
        QStringLiteral("Vardello"), Interaction::Icon::Critical);
}

// The configuration is there but cannot be read: starting with a new empty archive instead
// would have a cashier record a day into a book nobody else sees.
bool leggiConfigurazione(const QString& fileIni) {
    const QString motivo = motivoIlleggibile(fileIni);
    if (motivo.isEmpty()) {
        LeggiFileIni(fileIni);
        return true;
    }
    services::ui().message(QStringLiteral("Impossibile leggere il file d'inizializzazione "
                                          "'%1': %2.\n\nIl programma termina.")
                               .arg(fileIni, motivo),
                           QStringLiteral("Vardello"), Interaction::Icon::Critical);
    return false;
}

}  // namespace

bool apriArchivioAllAvvio() {
    if (!services::platform().claimSingleInstance()) {
        services::ui().message(QStringLiteral("Applicazione già attiva!"),
                               QStringLiteral("VARDELLO"), Interaction::Icon::Exclamation);
        return false;
    }

    const Platform& piattaforma = services::platform();
    permessi::rendiPrivata(piattaforma.userConfigFolder());
    permessi::rendiPrivata(piattaforma.userDataFolder());

    const QString fileIni = percorsoFileIni();
    bool installazioneNuova = false;
    if (presente(fileIni)) {
        if (!leggiConfigurazione(fileIni)) {
            return false;
        }
    } else {
        programma().PercorsoArchivio = percorsoArchivioPredefinito();
        installazioneNuova = !presente(programma().PercorsoArchivio);
    }
    // A password written in a server URI is used for the connection and never shown again.
    programma().PercorsoArchivio = archivio::ricordaPassword(programma().PercorsoArchivio);

    archivio::Errore errore;
    if (installazioneNuova &&
        !permessi::creaCartellaPrivata(QFileInfo(programma().PercorsoArchivio).absolutePath())) {
        errore = {QStringLiteral("14"),
                  QStringLiteral("Impossibile creare la cartella '%1'.")
                      .arg(QFileInfo(programma().PercorsoArchivio).absolutePath())};
        segnalaErroreArchivio(errore);
        return false;
    }
    if (installazioneNuova && !archivio::crea(programma().PercorsoArchivio, &errore)) {
        segnalaErroreArchivio(errore);
        return false;
    }
    if (!archivio::apri(programma().PercorsoArchivio, kConnessioneArchivio, &errore,
                        archivio::Verifica::Completa)) {
        segnalaErroreArchivio(errore);
        return false;
    }
    return true;
}
