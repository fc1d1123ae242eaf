#include "MessaggiCassa.h"

#include "Services.h"

QString erroreTabella(const QString& tabella, const ErroreArchivio& errore) {
    return QStringLiteral("Errore nell'accesso alla tabella '%1'\n\nCodice errore = %2")
        .arg(tabella, errore.codice);
}

void avvisa(const QString& testo, const QString& titolo, Interaction::Icon icona) {
    services::ui().message(testo, titolo, icona, Interaction::Buttons::Ok);
}
