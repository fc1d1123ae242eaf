#include "Avvio.h"

#include <QDir>
#include <QFileInfo>

#include "Archivio.h"
#include "Configurazione.h"
#include "DatiCondivisi.h"
#include "Programma.h"
#include "Services.h"

namespace {

void segnalaErroreArchivio(const archivio::Errore& errore) {
    services::ui().message(QStringLiteral("Impossibile aprire l'archivio '%1'.\n\n"
                                          "Codice errore = %2\n%3")
                               .arg(programma().PercorsoArchivio, errore.codice, errore.testo),
                           QStringLiteral("Vardello"), Interaction::Icon::Critical);
}

}  // namespace

bool apriArchivioAllAvvio() {
    if (!services::platform().claimSingleInstance()) {
        services::ui().message(QStringLiteral("Applicazione già attiva!"),
                               QStringLiteral("VARDELLO"), Interaction::Icon::Exclamation);
        return false;
    }

    const QString fileIni = percorsoFileIni();
    bool installazioneNuova = false;
    if (FileEsiste(fileIni)) {
        LeggiFileIni(fileIni);
    } else {
        programma().PercorsoArchivio = percorsoArchivioPredefinito();
        installazioneNuova = !QFileInfo::exists(programma().PercorsoArchivio);
    }

    archivio::Errore errore;
    if (installazioneNuova) {
        QDir().mkpath(QFileInfo(programma().PercorsoArchivio).absolutePath());
    }
    if (installazioneNuova && !archivio::crea(programma().PercorsoArchivio, &errore)) {
        segnalaErroreArchivio(errore);
        return false;
    }
    if (!archivio::apri(programma().PercorsoArchivio, kConnessioneArchivio, &errore)) {
        segnalaErroreArchivio(errore);
        return false;
    }
    return true;
}
