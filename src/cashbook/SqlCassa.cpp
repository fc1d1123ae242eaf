#include "SqlCassa.h"

#include <QSqlError>

#include "Archivio.h"
#include "Sql.h"
#include "Transazione.h"

void esegui(QSqlQuery& q, const QString& sql, const QVariantList& valori) {
    if (!eseguiSql(q, sql, valori)) {
        lanciaErrore(q.lastError());
    }
}

bool eChiaveDuplicata(const ErroreArchivio& errore) {
    // SQLite: primary key (1555) or unique (2067) constraint; PostgreSQL: unique_violation.
    return errore.codice == QLatin1String("1555") || errore.codice == QLatin1String("2067") ||
           errore.codice == QLatin1String("23505");
}

QDate primoGiorno(int anno, int mese) {
    return QDate(anno, mese, 1);
}

QDate primoGiornoSuccessivo(int anno, int mese) {
    return primoGiorno(anno, mese).addMonths(1);
}

bool suPostgres(const QSqlDatabase& db) {
    return db.driverName() == QLatin1String("QPSQL");
}

LetturaCoerente::LetturaCoerente(QSqlDatabase db) : db_(std::move(db)) {
    QSqlQuery q(db_);
    esegui(q, suPostgres(db_) ? QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY")
                              : QStringLiteral("BEGIN"));
}

LetturaCoerente::~LetturaCoerente() {
    QSqlQuery q(db_);
    q.exec(QStringLiteral("ROLLBACK"));
}

TransazioneScrittura::TransazioneScrittura(QSqlDatabase db) : db_(std::move(db)) {
    QSqlQuery q(db_);
    if (suPostgres(db_)) {
        // One round trip for both statements.
        if (!q.exec(
                QStringLiteral(R"(BEGIN; LOCK TABLE "Vardello" IN SHARE ROW EXCLUSIVE MODE)"))) {
            const QSqlError errore = q.lastError();
            q.exec(QStringLiteral("ROLLBACK"));
            lanciaErrore(errore);
        }
    } else {
        esegui(q, QStringLiteral("BEGIN IMMEDIATE"));
    }
    aperta_ = true;
}

TransazioneScrittura::~TransazioneScrittura() {
    annulla();
}

void TransazioneScrittura::annulla() {
    if (aperta_) {
        aperta_ = false;
        QSqlQuery q(db_);
        q.exec(QStringLiteral("ROLLBACK"));
    }
}

void TransazioneScrittura::conferma() {
    archivio::Errore errore;
    if (!confermaTransazione(db_, &errore)) {
        throw ErroreConferma{{errore.codice, errore.testo}};
    }
    aperta_ = false;
    LiberaBlocchi(db_);
}
