#include "LibroEsportato.h"

#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include "DatiCondivisi.h"
#include "Parametri.h"
#include "Sql.h"

namespace {

constexpr int kPrimoAnnoLibro = 1996;  // the years a registration date may have
constexpr int kUltimoAnnoLibro = 2028;

std::optional<Money> importoONull(const QVariant& valore) {
    if (valore.isNull()) {
        return std::nullopt;
    }
    return valutaDaSql(valore);
}

struct CodiceIva {
    QString descrizione;
    std::optional<Money> aliquota;
};

QHash<QString, CodiceIva> codiciIva(QSqlDatabase db) {
    QHash<QString, CodiceIva> codici;
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!eseguiSql(
            q, QStringLiteral(
                   R"(SELECT "Codice Iva", "Descrizione Iva", "Aliquota" FROM "Codici Iva")"))) {
        lanciaErrore(q.lastError());
    }
    while (q.next()) {
        codici.insert(q.value(0).toString(),
                      {q.value(1).toString(), importoONull(q.value(2)).value_or(Money())});
    }
    if (q.lastError().isValid()) {
        lanciaErrore(q.lastError());
    }
    return codici;
}

void leggiMovimenti(QSqlDatabase db, LibroEsportato& libro) {
    const QHash<QString, CodiceIva> codici =
        libro.gestioneIva ? codiciIva(db) : QHash<QString, CodiceIva>();
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!eseguiSql(q, QStringLiteral(R"(SELECT * FROM "Vardello"
                                       WHERE "Data Registrazione" >= ? AND "Data Registrazione" <= ?
                                       ORDER BY "Data Registrazione", "Numero Progressivo")"),
                   {valoreSql(libro.dal), valoreSql(libro.al)})) {
        lanciaErrore(q.lastError());
    }
    Money saldo = libro.riporto;
    while (q.next()) {
        const QSqlRecord r = q.record();
        MovimentoEsportato m;
        m.numero = r.value(QStringLiteral("Numero Progressivo")).toLongLong();
        m.dataRegistrazione = dataDaSql(r.value(QStringLiteral("Data Registrazione")));
        m.operazione = r.value(QStringLiteral("Operazione")).toString();
        m.entrate = importoONull(r.value(QStringLiteral("Entrate")));
        m.uscite = importoONull(r.value(QStringLiteral("Uscite")));
        saldo += m.entrate.value_or(Money()) - m.uscite.value_or(Money());
        m.saldo = saldo;
        libro.entrate += m.entrate.value_or(Money());
        libro.uscite += m.uscite.value_or(Money());
        if (libro.gestioneIva) {
            m.codiceIva = r.value(QStringLiteral("Codice Iva")).toString();
            const auto codice = codici.constFind(m.codiceIva.trimmed());
            if (codice != codici.constEnd()) {
                m.descrizioneIva = codice->descrizione;
                m.aliquota = codice->aliquota;
            }
            m.imponibileIva = importoONull(r.value(QStringLiteral("Imponibile Iva")));
            if (m.imponibileIva) {
                m.impostaIva = ImpostaMovimento(*m.imponibileIva, m.aliquota.value_or(Money()));
                libro.imponibile += *m.imponibileIva;
                libro.imposta += *m.impostaIva;
            }
            m.dataDocumento = dataDaSql(r.value(QStringLiteral("Data documento")));
        }
        m.utente = r.value(QStringLiteral("Utente")).toString();
        m.dataIns = r.value(QStringLiteral("DataIns")).toString();
        m.oraIns = r.value(QStringLiteral("OraIns")).toString();
        libro.movimenti.append(std::move(m));
    }
    if (q.lastError().isValid()) {
        lanciaErrore(q.lastError());
    }
}

void leggiTutto(QSqlDatabase db, LibroEsportato& libro) {
    if (const std::optional<Parametri> parametri = leggiParametri(db)) {
        libro.gestioneIva = parametri->GestioneIva;
        libro.ivaTrimestrale = parametri->IvaTrimestrale;
    }
    libro.riporto = SaldoAllaData(db, libro.dal);
    leggiMovimenti(db, libro);
    if (libro.gestioneIva) {
        // The years outside those a movement may carry hold no VAT: an open range of
        // centuries gives the book's years, not a thousand empty tables.
        const int primo = qMax(libro.dal.year(), kPrimoAnnoLibro);
        const int ultimo = qMin(libro.al.year(), kUltimoAnnoLibro);
        for (int anno = primo; anno <= ultimo; ++anno) {
            libro.situazioni.append({anno, CalcolaSituazioneIva(db, anno)});
        }
    }
}

}  // namespace

LibroEsportato leggiLibroEsportato(QSqlDatabase db, const QDate& dal, const QDate& al) {
    LibroEsportato libro;
    libro.dal = dal;
    libro.al = al;
    if (!db.transaction()) {
        lanciaErrore(db.lastError());
    }
    if (db.driverName() == QLatin1String("QPSQL")) {
        QSqlQuery q(db);
        if (!eseguiSql(q, QStringLiteral("SET TRANSACTION ISOLATION LEVEL REPEATABLE READ"))) {
            db.rollback();
            lanciaErrore(q.lastError());
        }
    }
    try {
        leggiTutto(db, libro);
    } catch (...) {
        db.rollback();
        throw;
    }
    db.rollback();  // nothing was written: the end of the read transaction
    return libro;
}
