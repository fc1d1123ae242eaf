#include "UnioneUtenti.h"

#include <QSqlQuery>
#include <algorithm>
#include <optional>

#include "Sql.h"
#include "Transazione.h"

namespace {

bool uguali(const std::optional<Utente>& a, const std::optional<Utente>& b) {
    if (!a || !b) {
        return !a && !b;
    }
    return a->nome == b->nome && a->password == b->password;
}

std::optional<Utente> trova(const QList<Utente>& utenti, const QString& nome) {
    for (const Utente& u : utenti) {
        if (stessoNomeUtente(u.nome, nome)) {
            return u;
        }
    }
    return std::nullopt;
}

QString descriviCambio(const std::optional<Utente>& prima, const std::optional<Utente>& dopo) {
    if (!prima) {
        return QStringLiteral("- aggiunto l'utente '%1'").arg(dopo->nome);
    }
    if (!dopo) {
        return QStringLiteral("- tolto l'utente '%1'").arg(prima->nome);
    }
    return QStringLiteral("- modificato l'utente '%1' (nome o password)").arg(dopo->nome);
}

}  // namespace

bool stessiUtenti(QList<Utente> a, QList<Utente> b) {
    const auto ordine = [](const Utente& x, const Utente& y) {
        return std::tie(x.nome, x.password) < std::tie(y.nome, y.password);
    };
    std::sort(a.begin(), a.end(), ordine);
    std::sort(b.begin(), b.end(), ordine);
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const Utente& x, const Utente& y) {
        return x.nome == y.nome && x.password == y.password;
    });
}

QList<Utente> unisciUtenti(const QList<Utente>& letti, const QList<Utente>& miei,
                           const QList<Utente>& attuali, QStringList* altrui) {
    QStringList nomi;
    for (const QList<Utente>* elenco : {&attuali, &miei, &letti}) {
        for (const Utente& u : *elenco) {
            if (std::none_of(nomi.begin(), nomi.end(),
                             [&u](const QString& n) { return stessoNomeUtente(n, u.nome); })) {
                nomi.append(u.nome);
            }
        }
    }
    QList<Utente> unione;
    for (const QString& nome : nomi) {
        const std::optional<Utente> base = trova(letti, nome);
        const std::optional<Utente> mio = trova(miei, nome);
        const std::optional<Utente> loro = trova(attuali, nome);
        const bool cambiatoQui = !uguali(mio, base);
        if (!uguali(loro, base) && altrui) {
            altrui->append(descriviCambio(base, loro) +
                           (cambiatoQui ? QStringLiteral(": nell'elenco resta la vostra modifica")
                                        : QString()));
        }
        if (const std::optional<Utente>& scelto = cambiatoQui ? mio : loro) {
            unione.append(*scelto);
        }
    }
    return unione;
}

EsitoSalvataggioUtenti salvaUtentiSeInvariati(QSqlDatabase db, const QList<Utente>& letti,
                                              const QList<Utente>& nuovi, QList<Utente>* attuali,
                                              archivio::Errore* errore) {
    bool cambiata = false;
    std::optional<archivio::Errore> erroreLettura;
    const bool salvato = eseguiInTransazione(
        db,
        [&](QSqlQuery& q) {
            if (!bloccaTabella(q, QStringLiteral("Tabella utenti"))) {
                return false;
            }
            try {
                *attuali = leggiUtenti(db);
            } catch (const ErroreArchivio& e) {
                erroreLettura = archivio::Errore{e.codice, e.testo};
                return false;
            }
            if (!stessiUtenti(*attuali, letti)) {
                cambiata = true;
                return false;
            }
            return scriviUtenti(q, nuovi);
        },
        errore);
    if (salvato) {
        return EsitoSalvataggioUtenti::Salvato;
    }
    if (erroreLettura && errore) {
        *errore = *erroreLettura;
    }
    return cambiata ? EsitoSalvataggioUtenti::TabellaCambiata : EsitoSalvataggioUtenti::Errore;
}
