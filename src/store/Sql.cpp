#include "Sql.h"

#include <QPointer>
#include <QSqlDriver>
#include <memory>
#include <unordered_map>

#include "Archivio.h"

void lanciaErrore(const QSqlError& errore) {
    const archivio::Errore e = archivio::erroreDi(errore);
    throw ErroreArchivio{e.codice, e.testo};
}

bool eseguiSql(QSqlQuery& q, const QString& sql, const QVariantList& valori) {
    // A statement without values runs directly: PostgreSQL cannot prepare every statement
    // (table definitions, for one).
    if (valori.isEmpty()) {
        return q.exec(sql);
    }
    if (!q.prepare(sql)) {
        return false;
    }
    for (const QVariant& valore : valori) {
        q.addBindValue(valore);
    }
    return q.exec();
}

// A statement kept prepared, and whether an Istruzione is using it now.
struct IstruzionePreparata {
    explicit IstruzionePreparata(const QSqlDatabase& db) : q(db) { q.setForwardOnly(true); }
    QSqlQuery q;
    bool pronta = false;  // prepared
    bool inUso = false;
};

namespace {

// The statements kept for one connection, valid while the driver that prepared them lives.
struct IstruzioniConnessione {
    QPointer<QSqlDriver> driver;
    std::unordered_map<QString, std::shared_ptr<IstruzionePreparata>> preparate;
};

// Connections belong to the thread that opened them, and so do their statements.
thread_local std::unordered_map<QString, IstruzioniConnessione> istruzioni;

const QString kDiscoPieno =
    QStringLiteral("Il disco dell'archivio è pieno: liberare spazio e ripetere l'operazione.");
const QString kSolaLettura = QStringLiteral(
    "L'archivio si può solo leggere: controllare i permessi del file o della cartella (o del "
    "database sul server) e ripetere l'operazione.");
const QString kConnessionePersa = QStringLiteral(
    "La connessione al server dell'archivio si è interrotta: controllare la rete e il server, "
    "poi ripetere l'operazione.");
const QString kBloccoOccupato = QStringLiteral(
    "Un altro computer tiene occupato l'archivio da oltre 30 secondi: ripetere l'operazione "
    "più tardi.");
const QString kDisco = QStringLiteral(
    "Il disco dell'archivio non ha permesso la lettura o la scrittura: controllare il disco o "
    "la cartella condivisa e ripetere l'operazione.");
const QString kDanneggiato =
    QStringLiteral("Il file dell'archivio è danneggiato: ripristinare una copia di sicurezza.");

QString motivoSQLite(int codice) {
    switch (codice & 0xff) {  // the primary code of an extended result code
        case 13:              // SQLITE_FULL
            return kDiscoPieno;
        case 8:  // SQLITE_READONLY
            return kSolaLettura;
        case 5:  // SQLITE_BUSY
        case 6:  // SQLITE_LOCKED
            return kBloccoOccupato;
        case 10:  // SQLITE_IOERR
        case 14:  // SQLITE_CANTOPEN
            return kDisco;
        case 11:  // SQLITE_CORRUPT
        case 26:  // SQLITE_NOTADB
            return kDanneggiato;
        default:
            return {};
    }
}

QString motivoPostgres(const QString& stato) {
    if (stato.startsWith(QLatin1String("08")) || stato.startsWith(QLatin1String("57P"))) {
        return kConnessionePersa;  // connection exception, server shut down or restarting
    }
    if (stato == QLatin1String("55P03")) {  // lock_not_available: lock_timeout ran out
        return kBloccoOccupato;
    }
    if (stato == QLatin1String("53100")) {  // disk_full
        return kDiscoPieno;
    }
    if (stato == QLatin1String("25006") || stato == QLatin1String("42501")) {
        return kSolaLettura;  // read-only transaction, no write permission
    }
    if (stato == QLatin1String("58030")) {  // io_error
        return kDisco;
    }
    return {};
}

}  // namespace

Istruzione::Istruzione(QSqlDatabase db, const QString& sql) {
    IstruzioniConnessione& kept = istruzioni[db.connectionName()];
    if (kept.driver != db.driver()) {
        kept.preparate.clear();
        kept.driver = db.driver();
    }
    std::shared_ptr<IstruzionePreparata>& voce = kept.preparate[sql];
    if (voce && voce->inUso) {
        // The same statement is already running for a caller (its result still being read):
        // this use gets a statement of its own.
        q_ = std::make_shared<IstruzionePreparata>(db);
    } else if (voce) {
        q_ = voce;
    } else {
        q_ = std::make_shared<IstruzionePreparata>(db);
        voce = q_;
    }
    if (!q_->pronta) {
        if (!q_->q.prepare(sql)) {
            const QSqlError errore = q_->q.lastError();
            kept.preparate.erase(sql);
            lanciaErrore(errore);
        }
        q_->pronta = true;
    }
    q_->inUso = true;
    sql_ = sql;
    connessione_ = db.connectionName();
}

Istruzione::~Istruzione() {
    q_->q.finish();
    q_->inUso = false;
}

QSqlQuery& Istruzione::esegui(const QVariantList& valori) {
    for (int i = 0; i < valori.size(); ++i) {
        q_->q.bindValue(i, valori.at(i));
    }
    if (!q_->q.exec()) {
        const QSqlError errore = q_->q.lastError();
        // A statement that failed is prepared afresh at its next use.
        IstruzioniConnessione& kept = istruzioni[connessione_];
        const auto voce = kept.preparate.find(sql_);
        if (voce != kept.preparate.end() && voce->second == q_) {
            kept.preparate.erase(voce);
        }
        lanciaErrore(errore);
    }
    return q_->q;
}

void dimenticaIstruzioni(const QString& nomeConnessione) {
    istruzioni.erase(nomeConnessione);
}

QString motivoErrore(const QString& codice, const QString& testoMotore) {
    bool numerico = false;
    const int numero = codice.toInt(&numerico);
    const QString motivo =
        numerico && codice.size() < 5 ? motivoSQLite(numero) : motivoPostgres(codice);
    return motivo.isEmpty() ? testoMotore.trimmed() : motivo;
}

QString codiceEMotivo(const QString& codice, const QString& testoMotore) {
    const QString motivo = motivoErrore(codice, testoMotore);
    QString testo = QStringLiteral("Codice errore = ") + codice;
    if (!motivo.isEmpty()) {
        testo += QLatin1Char('\n') + motivo;
    }
    return testo;
}
