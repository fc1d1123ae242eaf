#include "MovimentiCassa.h"

#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>
#include <functional>

#include "Archivio.h"
#include "Sql.h"
#include "SqlCassa.h"
#include "TotaliCassa.h"

namespace {

constexpr int kTentativiNumerazione = 5;

std::optional<Money> importoONull(const QVariant& valore) {
    if (valore.isNull()) {
        return std::nullopt;
    }
    return valutaDaSql(valore);
}

// Stores the new row and adds its amounts to its month's stored total; returns its number.
// The number is read and stored by the same statement, under the write lock; on a server the
// month's total is added by that statement too. Each saves a round trip per movement.
qint64 inserisciRiga(QSqlDatabase db, const DatiMovimento& dati) {
    const QString riga = QStringLiteral(R"(INSERT INTO "Vardello" (
        "Numero Progressivo", "Data Registrazione", "Operazione", "Entrate", "Uscite",
        "Codice Iva", "Imponibile Iva", "Data documento", "Utente", "DataIns", "OraIns")
        VALUES ((SELECT COALESCE(MAX("Numero Progressivo"), 0) + 1 FROM "Vardello"),
                ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)
        RETURNING "Numero Progressivo")");
    const int anno = dati.dataRegistrazione.year();
    const int mese = dati.dataRegistrazione.month();
    const TotaliMese importi{dati.entrate, dati.uscite};
    if (!suPostgres(db)) {
        Istruzione inserimento(db, riga);
        QSqlQuery& q = inserimento.esegui(valoriCampi(dati));
        if (!q.next()) {
            lanciaErrore(q.lastError());
        }
        const qint64 numero = q.value(0).toLongLong();
        aggiungiATotaliMese(db, anno, mese, importi);
        return numero;
    }
    // Both changes of one statement work on the archive as it was before it: the total's
    // UPDATE adds the amounts and does not need to see the row.
    const AggiuntaTotaliMese totale = aggiuntaTotaliMese(anno, mese, importi);
    Istruzione inserimento(db, QStringLiteral(R"(WITH nuovo AS (%1), totale AS (%2 RETURNING 1)
                              SELECT "Numero Progressivo", (SELECT count(*) FROM totale)
                              FROM nuovo)")
                                   .arg(riga, totale.sql));
    QSqlQuery& q = inserimento.esegui(valoriCampi(dati) + totale.valori);
    if (!q.next()) {
        lanciaErrore(q.lastError());
    }
    const qint64 numero = q.value(0).toLongLong();
    completaTotaliMese(db, anno, mese, q.value(1).toInt());
    return numero;
}

// The registration date of the movement read; no value when it is no longer stored as read,
// also when its number now belongs to a movement inserted since.
std::optional<QDate> dataDi(QSqlDatabase db, const MovimentoLetto& letto) {
    QSqlQuery q(db);
    esegui(q, QStringLiteral(R"(SELECT * FROM "Vardello" WHERE "Numero Progressivo" = ?)"),
           {letto.numero});
    if (!q.next()) {
        return std::nullopt;
    }
    const MovimentoLetto ora = movimentoLetto(q.record());
    if (ora.dataRegistrazione != letto.dataRegistrazione || ora.operazione != letto.operazione ||
        ora.entrate != letto.entrate || ora.uscite != letto.uscite || ora.utente != letto.utente ||
        ora.dataIns != letto.dataIns || ora.oraIns != letto.oraIns) {
        return std::nullopt;
    }
    return ora.dataRegistrazione;
}

// Ends the transaction whose commit failed, then asks the archive whether `registrata`
// holds, on the connection opened again when it was lost. See the header.
void verificaDopoConferma(QSqlDatabase db, TransazioneScrittura& transazione,
                          const ErroreConferma& errore, const std::function<bool()>& registrata,
                          ErroreArchivio* rispostaPersa, qint64 numero = 0) {
    transazione.annulla();  // the check must not see this connection's own uncommitted rows
    bool fatta = false;
    try {
        if (!db.isOpen() && !archivio::riapri(db)) {
            throw EsitoIgnoto{errore, numero};
        }
        fatta = registrata();
    } catch (const EsitoIgnoto&) {
        throw;
    } catch (const ErroreArchivio&) {
        throw EsitoIgnoto{errore, numero};
    }
    if (!fatta) {
        throw ErroreArchivio(errore);
    }
    if (rispostaPersa) {
        *rispostaPersa = errore;
    }
}

bool contiene(const QSqlRecord& r, const DatiMovimento& d) {
    const MovimentoLetto letto = movimentoLetto(r);
    return letto.dataRegistrazione == d.dataRegistrazione && letto.operazione == d.operazione &&
           letto.entrate == d.entrate && letto.uscite == d.uscite &&
           r.value(QStringLiteral("Codice Iva")).toString() == d.codiceIva &&
           valutaDaSql(r.value(QStringLiteral("Imponibile Iva"))) == d.imponibileIva &&
           dataDaSql(r.value(QStringLiteral("Data documento"))) == d.dataDocumento &&
           letto.utente == d.utente && letto.dataIns == d.dataIns && letto.oraIns == d.oraIns;
}

// A month as one number, so that months can be kept in a set.
int chiaveMese(const QDate& data) {
    return data.year() * 12 + data.month() - 1;
}

void ricalcolaMesi(QSqlDatabase db, const QSet<int>& mesi) {
    for (int chiave : mesi) {
        ricalcolaTotaliMese(db, chiave / 12, chiave % 12 + 1);
    }
}

}  // namespace

QVariantList valoriCampi(const DatiMovimento& d) {
    return {valoreSql(d.dataRegistrazione),
            d.operazione,
            valoreSql(d.entrate),
            valoreSql(d.uscite),
            d.codiceIva,
            valoreSql(d.imponibileIva),
            valoreSql(d.dataDocumento),
            d.utente,
            d.dataIns,
            d.oraIns};
}

MovimentoLetto movimentoLetto(const RigaCassa& riga) {
    return {riga.numero(),
            riga.dataRegistrazione(),
            riga.operazione().toString(),
            riga.entrate().value_or(Money()),
            riga.uscite().value_or(Money()),
            riga.utente().toString(),
            riga.dataIns().toString(),
            riga.oraIns().toString()};
}

MovimentoLetto movimentoLetto(const QSqlRecord& r) {
    return {r.value(QStringLiteral("Numero Progressivo")).toLongLong(),
            dataDaSql(r.value(QStringLiteral("Data Registrazione"))),
            r.value(QStringLiteral("Operazione")).toString(),
            importoONull(r.value(QStringLiteral("Entrate"))).value_or(Money()),
            importoONull(r.value(QStringLiteral("Uscite"))).value_or(Money()),
            r.value(QStringLiteral("Utente")).toString(),
            r.value(QStringLiteral("DataIns")).toString(),
            r.value(QStringLiteral("OraIns")).toString()};
}

void leggiMese(QSqlDatabase db, int anno, int mese, QList<RigaCassa>& righe, TotaliMese& somme) {
    Istruzione lettura(db, QStringLiteral(R"(SELECT "Data Registrazione", "Operazione",
                                          "Entrate", "Uscite", "Numero Progressivo", "Utente",
                                          "DataIns", "OraIns"
                                   FROM "Vardello"
                                   WHERE "Data Registrazione" >= ? AND "Data Registrazione" < ?
                                   ORDER BY "Data Registrazione", "Numero Progressivo")"));
    QSqlQuery& q = lettura.esegui(
        {valoreSql(primoGiorno(anno, mese)), valoreSql(primoGiornoSuccessivo(anno, mese))});
    // A month's rows share a few dozen dates: each date's text is read into a date once.
    QString testoData;
    QDate data;
    while (q.next()) {
        QVariant valoreData = q.value(0);
        if (valoreData.typeId() != QMetaType::QString) {
            data = dataDaSql(valoreData);
        } else if (testoDaSql(valoreData) != testoData) {
            testoData = valoreData.toString();
            data = dataDaSql(valoreData);
        }
        const std::optional<Money> entrate = importoONull(q.value(2));
        const std::optional<Money> uscite = importoONull(q.value(3));
        QVariant operazione = q.value(1);
        QVariant utente = q.value(5);
        QVariant dataIns = q.value(6);
        QVariant oraIns = q.value(7);
        righe.append(RigaCassa(data, testoDaSql(operazione), entrate, uscite,
                               interoDaSql(q.value(4)), testoDaSql(utente), testoDaSql(dataIns),
                               testoDaSql(oraIns)));
        somme.entrate += entrate.value_or(Money());
        somme.uscite += uscite.value_or(Money());
    }
    if (q.lastError().isValid()) {
        lanciaErrore(q.lastError());
    }
}

bool cassaVuota(QSqlDatabase db) {
    Istruzione minimo(db, QStringLiteral(R"(SELECT MIN("Numero Progressivo") FROM "Vardello")"));
    QSqlQuery& q = minimo.esegui();
    return !q.next() || q.isNull(0);
}

std::optional<QSqlRecord> leggiMovimento(QSqlDatabase db, qint64 numero) {
    QSqlQuery q(db);
    esegui(q, QStringLiteral(R"(SELECT * FROM "Vardello" WHERE "Numero Progressivo" = ?)"),
           {numero});
    if (!q.next()) {
        return std::nullopt;
    }
    return q.record();
}

qint64 NumeroProCas(QSqlDatabase db) {
    Istruzione massimo(db, QStringLiteral(R"(SELECT MAX("Numero Progressivo") FROM "Vardello")"));
    QSqlQuery& q = massimo.esegui();
    if (!q.next() || q.isNull(0)) {
        return 1;
    }
    return q.value(0).toLongLong() + 1;
}

bool movimentoRegistrato(QSqlDatabase db, qint64 numero, const DatiMovimento& dati) {
    const std::optional<QSqlRecord> record = leggiMovimento(db, numero);
    return record && contiene(*record, dati);
}

qint64 inserisciMovimento(QSqlDatabase db, const DatiMovimento& dati,
                          ErroreArchivio* rispostaPersa) {
    for (int tentativo = 1;; ++tentativo) {
        TransazioneScrittura transazione(db);
        qint64 numero = 0;
        try {
            numero = inserisciRiga(db, dati);
        } catch (const ErroreArchivio& errore) {
            if (eChiaveDuplicata(errore) && tentativo < kTentativiNumerazione) {
                continue;
            }
            throw;
        }
        try {
            transazione.conferma();
        } catch (const ErroreConferma& errore) {
            // The number was taken under the write lock: if the commit went in, that number
            // holds this movement; if not, it is free or another computer's.
            verificaDopoConferma(
                db, transazione, errore, [&] { return movimentoRegistrato(db, numero, dati); },
                rispostaPersa, numero);
        }
        return numero;
    }
}

bool variaMovimento(QSqlDatabase db, const MovimentoLetto& letto, const DatiMovimento& dati,
                    ErroreArchivio* rispostaPersa) {
    TransazioneScrittura transazione(db);
    const std::optional<QDate> dataPrecedente = dataDi(db, letto);
    if (!dataPrecedente) {
        return false;
    }
    {
        QSqlQuery q(db);
        esegui(q, QStringLiteral(R"(UPDATE "Vardello" SET "Data Registrazione" = ?,
                   "Operazione" = ?, "Entrate" = ?, "Uscite" = ?, "Codice Iva" = ?,
                   "Imponibile Iva" = ?, "Data documento" = ?, "Utente" = ?, "DataIns" = ?,
                   "OraIns" = ? WHERE "Numero Progressivo" = ?)"),
               valoriCampi(dati) + QVariantList{letto.numero});
    }
    // Both months' totals in the same transaction as the change, so that no later failure
    // can leave them different from their rows.
    QSet<int> mesi{chiaveMese(dati.dataRegistrazione)};
    if (dataPrecedente->isValid()) {
        mesi.insert(chiaveMese(*dataPrecedente));
    }
    ricalcolaMesi(db, mesi);
    try {
        transazione.conferma();
    } catch (const ErroreConferma& errore) {
        verificaDopoConferma(
            db, transazione, errore, [&] { return movimentoRegistrato(db, letto.numero, dati); },
            rispostaPersa);
    }
    return true;
}

int cancellaMovimenti(QSqlDatabase db, const QList<MovimentoLetto>& letti,
                      ErroreArchivio* rispostaPersa) {
    TransazioneScrittura transazione(db);
    QSet<int> mesi;
    int cancellati = 0;
    for (const MovimentoLetto& letto : letti) {
        const std::optional<QDate> data = dataDi(db, letto);
        if (!data) {
            continue;
        }
        QSqlQuery q(db);
        esegui(q, QStringLiteral(R"(DELETE FROM "Vardello" WHERE "Numero Progressivo" = ?)"),
               {letto.numero});
        ++cancellati;
        if (data->isValid()) {
            mesi.insert(chiaveMese(*data));
        }
    }
    ricalcolaMesi(db, mesi);
    try {
        transazione.conferma();
    } catch (const ErroreConferma& errore) {
        verificaDopoConferma(
            db, transazione, errore,
            [&] {
                return std::none_of(letti.begin(), letti.end(), [&](const MovimentoLetto& l) {
                    return dataDi(db, l).has_value();
                });
            },
            rispostaPersa);
    }
    return cancellati;
}

RigaCassa rigaDi(qint64 numero, const DatiMovimento& dati) {
    return RigaCassa(dati.dataRegistrazione, dati.operazione, dati.entrate, dati.uscite, numero,
                     dati.utente, dati.dataIns, dati.oraIns);
}
