#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <optional>

#include "Archivio.h"

class QComboBox;

// The users who may log in: the rows of "Tabella utenti".
struct Utente {
    QString nome;
    QString password;
};

// The administrator, offered first at log-in and the only user who may remove users.
inline const QString kSupervisore = QStringLiteral("Supervisore");

// Two user names name the same user when they differ at most in letter case (accented
// letters included), the way the table's key compares them.
bool stessoNomeUtente(const QString& a, const QString& b);

// Every stored user, NULL fields read as empty, in the order the engine returns them.
// An engine error is thrown as ErroreArchivio.
QList<Utente> leggiUtenti(QSqlDatabase db);

// The user whose name matches `nome` (trimmed) ignoring letter case; an exact match wins
// over one in other letter case. Throws ErroreArchivio.
std::optional<Utente> cercaUtente(QSqlDatabase db, const QString& nome);

// Adds "Supervisore" with an empty password when the table holds no user at all; true when
// it did. Throws ErroreArchivio.
bool creaSupervisoreSeVuota(QSqlDatabase db);

// The first name that occurs more than once in the list (letter case ignored), or an empty
// text when every name is unique.
QString nomeRipetuto(const QList<Utente>& utenti);

// Replaces the whole table with the users given, in their order, all or nothing: on failure
// the table stays exactly as it was and `errore` says why.
bool sostituisciUtenti(QSqlDatabase db, const QList<Utente>& utenti, archivio::Errore* errore);

// Inside a transaction: deletes every user and inserts the users given. False, with the
// error on q, when the engine refused.
bool scriviUtenti(QSqlQuery& q, const QList<Utente>& utenti);

// Fills the log-in combo box: "Supervisore" first, then every other non-empty name in the
// order the engine returns them; "Supervisore" ends up selected. Throws ErroreArchivio.
void CaricaUtenti(QComboBox* combo);

// Tells the person that reading or writing the archive failed: the text, then a blank line and
// "Codice errore = " with the engine's error number and the reason (motivoErrore).
void segnalaErroreArchivio(const QString& testo, const QString& codice, const QString& titolo,
                           const QString& testoMotore = {});
// The same for a table: "Errore nell'accesso alla tabella '<tabella>'".
void segnalaErroreTabella(const QString& tabella, const QString& codice, const QString& titolo,
                          const QString& testoMotore = {});
