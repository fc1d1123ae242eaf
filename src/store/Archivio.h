#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>

// Opening and creating archives. An archive is an SQLite file, or a PostgreSQL database named
// by a URI "postgresql://user@host:port/dbname" (the password comes from the server's usual
// client sources, PGPASSWORD or the password file, or from the URI itself).
namespace archivio {

enum class Motore { SQLite, PostgreSQL };

struct Errore {
    QString codice;  // the engine's own error number (SQLite result code, PostgreSQL SQLSTATE)
    QString testo;   // the engine's text
};

Motore motoreDi(const QString& percorso);
bool eUriPostgres(const QString& percorso);

// The archive's name as the person may see it: a server URI without its password.
QString nomeVisibile(const QString& percorso);
// Keeps the password of a server URI for this program's connections to that archive and
// returns the URI without it (a file path comes back unchanged).
QString ricordaPassword(const QString& percorso);

// How much opening checks. Struttura: the file is an archive of this program (every table
// and column, with the kind of value the program stores there). Completa: and, for a file,
// every page of it is sound (the start-up's check, before the log-in may write anything).
enum class Verifica { Struttura, Completa };

// Opens an existing archive under the given connection name, shared for reading and
// writing, and checks it (see Verifica). Never creates, modifies or replaces the file named:
// a journal of an interrupted write found beside it is played back only after a copy of
// both was put aside, and they are put back when the result fails its check. On failure the
// connection is removed and `errore` tells why.
bool apri(const QString& percorso, const QString& nomeConnessione, Errore* errore,
          Verifica verifica = Verifica::Struttura);

// Creates a new empty archive (the SQLite file must not exist yet; the PostgreSQL database
// must exist and hold none of the tables). The connection is closed afterwards.
bool crea(const QString& percorso, Errore* errore);

// Whether the server named by a PostgreSQL URI holds its database; false when the server
// cannot be asked.
bool esisteDatabase(const QString& percorso, bool* esiste, Errore* errore);

// Drops the database named by a PostgreSQL URI (no connection may be using it).
bool eliminaDatabase(const QString& percorso, Errore* errore);

// Opens again a server connection of apri that was lost, with the same session settings.
// False when the server cannot be reached.
bool riapri(QSqlDatabase& db);

// Closes and forgets a connection opened by apri.
void chiudi(const QString& nomeConnessione);

// The engine's error number of a failed statement, "0" when the engine gave none.
QString codiceErrore(const QSqlError& errore);
Errore erroreDi(const QSqlError& errore);

}  // namespace archivio
