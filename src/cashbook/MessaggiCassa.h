#pragma once

#include <QString>

#include "DatiCondivisi.h"
#include "Interaction.h"

// "Errore nell'accesso alla tabella '<tabella>'", two line breaks, "Codice errore = " and the
// engine's error number, then the reason a person can act on.
QString erroreTabella(const QString& tabella, const ErroreArchivio& errore);

// A beep, then the message with an OK button.
void avvisa(const QString& testo, const QString& titolo, Interaction::Icon icona);
