#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QStringList>

#include "Archivio.h"
#include "Utenti.h"

// User management writes the whole table back at OK. Another computer may have changed it
// since the window read it; these routines notice that and join both sets of changes, so
// that neither overwrites the other unseen.

// The same users with the same passwords, in any order.
bool stessiUtenti(QList<Utente> a, QList<Utente> b);

// The list holding both this window's changes (from `letti` to `miei`) and another
// computer's (from `letti` to `attuali`); where both changed the same user, this window's
// change stays. `altrui` receives one Italian line per change of the other computer.
QList<Utente> unisciUtenti(const QList<Utente>& letti, const QList<Utente>& miei,
                           const QList<Utente>& attuali, QStringList* altrui);

enum class EsitoSalvataggioUtenti { Salvato, TabellaCambiata, Errore };

// Replaces the table with `nuovi`, all or nothing, only when it still holds exactly `letti`;
// otherwise nothing is written and `attuali` receives what it holds now. On an engine error
// `errore` says why.
EsitoSalvataggioUtenti salvaUtentiSeInvariati(QSqlDatabase db, const QList<Utente>& letti,
                                              const QList<Utente>& nuovi, QList<Utente>* attuali,
                                              archivio::Errore* errore);
