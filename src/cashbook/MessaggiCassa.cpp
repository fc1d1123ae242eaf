#include "MessaggiCassa.h"

#include "Services.h"

QString erroreTabella(const QString& tabella, const ErroreArchivio& errore) {
    return QStringLiteral("Errore nell'accesso alla tabella '%1'\n\n").arg(tabella) +
           codiceEMotivo(errore.codice, errore.testo);
}

void avvisa(const QString& testo, const QString& titolo, Interaction::Icon icona) {
    services::ui().message(testo, titolo, icona, Interaction::Buttons::Ok);
}
