#include "MovimentiAFette.h"

#include <QSqlError>
#include <QSqlQuery>

#include "DatiCondivisi.h"

using schema::TipoCampo;

MovimentiAFette::MovimentiAFette(QSqlDatabase db, const QDate& dal, const QDate& al,
                                 int righePerFetta)
    : db_(std::move(db)), dal_(dal), al_(al), righePerFetta_(righePerFetta) {
    if (db_.driverName() == QLatin1String("QPSQL")) {
        lettura_.emplace(db_);
    } else {
        versione_ = versione();
    }
}

qint64 MovimentiAFette::versione() {
    QSqlQuery q(db_);
    esegui(q, QStringLiteral("PRAGMA data_version"));
    if (!q.next()) {
        throw ErroreArchivio{};
    }
    return q.value(0).toLongLong();
}

void MovimentiAFette::leggiFetta() {
    fetta_.clear();
    indice_ = 0;
    QSqlQuery q(db_);
    q.setForwardOnly(true);
    const QString colonne = QStringLiteral(R"(SELECT "Data Registrazione", "Operazione",
        "Entrate", "Uscite", "Numero Progressivo" FROM "Vardello" WHERE )");
    const QString ordine = QStringLiteral(R"( AND "Data Registrazione" <= ?
        ORDER BY "Data Registrazione", "Numero Progressivo" LIMIT ?)");
    // Each slice goes on from the last key read, compared as stored, along the index on
    // (date, number).
    if (ultimaData_.isValid()) {
        esegui(q,
               colonne +
                   QStringLiteral(R"(("Data Registrazione", "Numero Progressivo") > (?, ?))") +
                   ordine,
               {ultimaData_, ultimoNumero_, valoreSql(al_), righePerFetta_});
    } else {
        esegui(q, colonne + QStringLiteral(R"("Data Registrazione" >= ?)") + ordine,
               {valoreSql(dal_), valoreSql(al_), righePerFetta_});
    }
    while (q.next()) {
        const QVariant entrate = q.value(2);
        const QVariant uscite = q.value(3);
        fetta_.append({TestoCampo(q.value(0), TipoCampo::Data, {}),
                       TestoCampo(q.value(1), TipoCampo::Testo, {}),
                       TestoCampo(entrate, TipoCampo::Valuta, {}),
                       TestoCampo(uscite, TipoCampo::Valuta, {}),
                       TestoCampo(q.value(4), TipoCampo::Intero, {}), valutaDaSql(entrate),
                       valutaDaSql(uscite)});
        ultimaData_ = q.value(0);
        ultimoNumero_ = q.value(4);
    }
    if (q.lastError().isValid()) {
        lanciaErrore(q.lastError());
    }
    q.finish();
    finito_ = fetta_.size() < righePerFetta_;
    if (!lettura_ && versione() != versione_) {
        throw ArchivioCambiato{};
    }
}

const MovimentoDaStampare* MovimentiAFette::prossimo() {
    if (indice_ == fetta_.size()) {
        if (finito_) {
            return nullptr;
        }
        leggiFetta();
        if (fetta_.isEmpty()) {
            return nullptr;
        }
    }
    return &fetta_[indice_++];
}
