#include "Utenti.h"

#include <QComboBox>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include "DatiCondivisi.h"
#include "Programma.h"
#include "Services.h"
#include "Sql.h"
#include "Transazione.h"

namespace {

// An empty password is stored as empty text, never as NULL.
QString testoNonNullo(const QString& testo) {
    return testo.isNull() ? QStringLiteral("") : testo;
}

}  // namespace

bool stessoNomeUtente(const QString& a, const QString& b) {
    return a.toCaseFolded() == b.toCaseFolded();
}

QList<Utente> leggiUtenti(QSqlDatabase db) {
    QSqlQuery q(db);
    if (!eseguiSql(q, QStringLiteral(R"(SELECT "UserName", "Password" FROM "Tabella utenti")"))) {
        lanciaErrore(q.lastError());
    }
    QList<Utente> utenti;
    while (q.next()) {
        const QSqlRecord r = q.record();
        utenti.append({LeggiCampo(r, QStringLiteral("UserName"), QString()),
                       LeggiCampo(r, QStringLiteral("Password"), QString())});
    }
    return utenti;
}

std::optional<Utente> cercaUtente(QSqlDatabase db, const QString& nome) {
    const QString cercato = nome.trimmed();
    std::optional<Utente> trovato;
    for (const Utente& u : leggiUtenti(db)) {
        if (u.nome == cercato) {
            return u;
        }
        if (!trovato && stessoNomeUtente(u.nome, cercato)) {
            trovato = u;
        }
    }
    return trovato;
}

bool creaSupervisoreSeVuota(QSqlDatabase db) {
    // One statement: two computers logging in first at the same moment add "Supervisore"
    // once, and the second simply finds it.
    QSqlQuery q(db);
    if (!eseguiSql(q, QStringLiteral(R"(INSERT INTO "Tabella utenti" ("UserName", "Password")
                                  SELECT ?, ? WHERE NOT EXISTS (SELECT 1 FROM "Tabella utenti")
                                  ON CONFLICT DO NOTHING)"),
                   {kSupervisore, testoNonNullo(QString())})) {
        lanciaErrore(q.lastError());
    }
    const bool aggiunto = q.numRowsAffected() > 0;
    q.finish();
    if (aggiunto) {
        LiberaBlocchi(db);
    }
    return aggiunto;
}

QString nomeRipetuto(const QList<Utente>& utenti) {
    for (qsizetype i = 0; i < utenti.size(); ++i) {
        for (qsizetype j = 0; j < i; ++j) {
            if (stessoNomeUtente(utenti[i].nome, utenti[j].nome)) {
                return utenti[i].nome;
            }
        }
    }
    return {};
}

bool scriviUtenti(QSqlQuery& q, const QList<Utente>& utenti) {
    if (!eseguiSql(q, QStringLiteral(R"(DELETE FROM "Tabella utenti")"))) {
        return false;
    }
    for (const Utente& u : utenti) {
        if (!eseguiSql(q, QStringLiteral(R"(INSERT INTO "Tabella utenti"
                                         ("UserName", "Password") VALUES (?, ?))"),
                       {u.nome, testoNonNullo(u.password)})) {
            return false;
        }
    }
    return true;
}

bool sostituisciUtenti(QSqlDatabase db, const QList<Utente>& utenti, archivio::Errore* errore) {
    return eseguiInTransazione(
        db,
        [&utenti](QSqlQuery& q) {
            return bloccaTabella(q, QStringLiteral("Tabella utenti")) && scriviUtenti(q, utenti);
        },
        errore);
}

void CaricaUtenti(QComboBox* combo) {
    combo->addItem(kSupervisore);
    for (const Utente& u : leggiUtenti(DbArchivio())) {
        if (u.nome != kSupervisore && !u.nome.isEmpty()) {
            combo->addItem(u.nome);
        }
    }
    combo->setCurrentIndex(0);
}

void segnalaErroreArchivio(const QString& testo, const QString& codice, const QString& titolo,
                           const QString& testoMotore) {
    services::ui().message(testo + QStringLiteral("\n\n") + codiceEMotivo(codice, testoMotore),
                           titolo, Interaction::Icon::Exclamation);
}

void segnalaErroreTabella(const QString& tabella, const QString& codice, const QString& titolo,
                          const QString& testoMotore) {
    segnalaErroreArchivio(QStringLiteral("Errore nell'accesso alla tabella '%1'").arg(tabella),
                          codice, titolo, testoMotore);
}
