#include "CopiaRighe.h"

#include <QDate>
#include <QSqlQuery>
#include <QStringList>
#include <vector>

#include "Archivio.h"
#include "Schema.h"
#include "Sql.h"

namespace copiarighe {

namespace {

// Values bound in one multi-row INSERT: well inside both engines' limits, few round trips.
constexpr int kValoriPerLotto = 11000;

using schema::TipoCampo;

QString descrivi(const QSqlError& errore) {
    const archivio::Errore e = archivio::erroreDi(errore);
    return QStringLiteral("Codice errore = %1\n%2").arg(e.codice, e.testo);
}

bool suServer(const QSqlDatabase& db) {
    return db.driverName() == QLatin1String("QPSQL");
}

// A stored value as the kind of its field (NULL stays NULL); false when it is of another kind
// (an amount with decimals, a date that is no date...), which a copy must not change.
bool tipizza(const QVariant& valore, TipoCampo tipo, QVariant* risultato) {
    if (valore.isNull()) {
        *risultato = QVariant();
        return true;
    }
    const int id = valore.typeId();
    const bool intero = id == QMetaType::LongLong || id == QMetaType::Int ||
                        id == QMetaType::Short || id == QMetaType::UInt ||
                        id == QMetaType::ULongLong;
    switch (tipo) {
        case TipoCampo::Valuta:
        case TipoCampo::Intero:
            *risultato = valore.toLongLong();
            return intero;
        case TipoCampo::Data: {
            const QDate data = id == QMetaType::QDate
                                   ? valore.toDate()
                                   : QDate::fromString(valore.toString(), Qt::ISODate);
            *risultato = data;
            return data.isValid() && (id == QMetaType::QDate || id == QMetaType::QString);
        }
        case TipoCampo::Booleano:
            *risultato = valore.toBool();
            return id == QMetaType::Bool || (intero && (valore.toLongLong() & ~1LL) == 0);
        case TipoCampo::Testo:
            *risultato = valore.toString();
            return id == QMetaType::QString;
    }
    return false;
}

struct Tabella {
    explicit Tabella(const QString& nome) : nome(nome) {
        for (const QString& campo : schema::campi(nome)) {
            tipi.push_back(schema::tipoCampo(campo));
            elenco.append(QLatin1Char('"') + campo + QLatin1Char('"'));
        }
    }
    int colonne() const { return static_cast<int>(tipi.size()); }
    QString select() const {
        return QStringLiteral("SELECT %1 FROM \"%2\"").arg(elenco.join(QStringLiteral(", ")), nome);
    }
    // The same order on both engines: text by its bytes, NULL first.
    QString ordinata(bool server) const {
        QStringList ordine;
        for (const QString& campo : schema::chiave(nome)) {
            const bool testo = schema::tipoCampo(campo) == TipoCampo::Testo;
            ordine.append(QLatin1Char('"') + campo + QLatin1Char('"') +
                          (testo && server ? QStringLiteral(" COLLATE \"C\"") : QString()) +
                          QStringLiteral(" NULLS FIRST"));
        }
        return select() + QStringLiteral(" ORDER BY ") + ordine.join(QStringLiteral(", "));
    }
    QString insert(int righe) const {
        QString segnaposti =
            QLatin1Char('(') + QStringLiteral("?, ").repeated(colonne() - 1) + QStringLiteral("?)");
        QStringList righeSql(righe, segnaposti);
        return QStringLiteral("INSERT INTO \"%1\" (%2) VALUES %3")
            .arg(nome, elenco.join(QStringLiteral(", ")), righeSql.join(QStringLiteral(", ")));
    }
    QString valoreNonValido(int colonna) const {
        return QStringLiteral(
                   "Il campo '%1' della tabella '%2' contiene un valore che non e' "
                   "del suo tipo: la copia e' stata interrotta.")
            .arg(schema::campi(nome).at(colonna), nome);
    }

    QString nome;
    std::vector<TipoCampo> tipi;
    QStringList elenco;
};

bool scriviLotto(QSqlDatabase copia, const Tabella& t, const std::vector<QVariant>& valori,
                 QSqlQuery* preparata, int* righePreparate, QString* errore) {
    const int righe = static_cast<int>(valori.size()) / t.colonne();
    if (righe != *righePreparate) {
        *preparata = QSqlQuery(copia);
        if (!preparata->prepare(t.insert(righe))) {
            *errore =
                QStringLiteral("Tabella '%1': %2").arg(t.nome, descrivi(preparata->lastError()));
            return false;
        }
        *righePreparate = righe;
    }
    for (int i = 0; i < static_cast<int>(valori.size()); ++i) {
        preparata->bindValue(i, valori[static_cast<size_t>(i)]);
    }
    if (!preparata->exec()) {
        *errore = QStringLiteral("Tabella '%1': %2").arg(t.nome, descrivi(preparata->lastError()));
        return false;
    }
    return true;
}

bool copiaTabella(QSqlDatabase origine, QSqlDatabase copia, const Tabella& t, QString* errore) {
    QSqlQuery lettura(origine);
    lettura.setForwardOnly(true);
    if (!eseguiSql(lettura, t.select())) {
        *errore = QStringLiteral("Tabella '%1': %2").arg(t.nome, descrivi(lettura.lastError()));
        return false;
    }
    const int perLotto = std::max(1, kValoriPerLotto / t.colonne()) * t.colonne();
    std::vector<QVariant> valori;
    valori.reserve(static_cast<size_t>(perLotto));
    QSqlQuery scrittura(copia);
    int righePreparate = 0;
    QVariant valore;
    while (lettura.next()) {
        for (int i = 0; i < t.colonne(); ++i) {
            if (!tipizza(lettura.value(i), t.tipi[static_cast<size_t>(i)], &valore)) {
                *errore = t.valoreNonValido(i);
                return false;
            }
            valori.push_back(valore);
        }
        if (static_cast<int>(valori.size()) == perLotto) {
            if (!scriviLotto(copia, t, valori, &scrittura, &righePreparate, errore)) {
                return false;
            }
            valori.clear();
        }
    }
    if (lettura.lastError().isValid()) {
        *errore = QStringLiteral("Tabella '%1': %2").arg(t.nome, descrivi(lettura.lastError()));
        return false;
    }
    return valori.empty() || scriviLotto(copia, t, valori, &scrittura, &righePreparate, errore);
}

// Both archives read in the order of the table's key, one row of each at a time.
bool confrontaTabella(QSqlDatabase origine, QSqlDatabase copia, const Tabella& t, QString* errore) {
    QSqlQuery a(origine);
    QSqlQuery b(copia);
    a.setForwardOnly(true);
    b.setForwardOnly(true);
    for (QSqlQuery* q : {&a, &b}) {
        if (!eseguiSql(*q, t.ordinata(suServer(q == &a ? origine : copia)))) {
            *errore = QStringLiteral("Tabella '%1': %2").arg(t.nome, descrivi(q->lastError()));
            return false;
        }
    }
    qint64 righe = 0;
    QVariant x;
    QVariant y;
    for (;;) {
        const bool rigaA = a.next();
        const bool rigaB = b.next();
        if (!rigaA || !rigaB) {
            for (QSqlQuery* q : {&a, &b}) {
                if (q->lastError().isValid()) {
                    *errore =
                        QStringLiteral("Tabella '%1': %2").arg(t.nome, descrivi(q->lastError()));
                    return false;
                }
            }
            if (rigaA == rigaB) {
                return true;
            }
            break;
        }
        bool uguale = true;
        for (int i = 0; i < t.colonne() && uguale; ++i) {
            const TipoCampo tipo = t.tipi[static_cast<size_t>(i)];
            if (!tipizza(a.value(i), tipo, &x) || !tipizza(b.value(i), tipo, &y)) {
                *errore = t.valoreNonValido(i);
                return false;
            }
            uguale = x.isNull() == y.isNull() && (x.isNull() || x == y);
        }
        if (!uguale) {
            break;
        }
        ++righe;
    }
    *errore = QStringLiteral(
                  "La copia della tabella '%1' non corrisponde all'originale (prima differenza "
                  "dopo %2 righe uguali).")
                  .arg(t.nome)
                  .arg(righe);
    return false;
}

}  // namespace

bool copiaEVerifica(QSqlDatabase origine, QSqlDatabase copia, QString* errore) {
    // One read transaction on the source: every table is read from the same moment.
    if (!origine.transaction()) {
        *errore = descrivi(origine.lastError());
        return false;
    }
    if (suServer(origine)) {
        QSqlQuery q(origine);
        if (!q.exec(QStringLiteral("SET TRANSACTION ISOLATION LEVEL REPEATABLE READ"))) {
            *errore = descrivi(q.lastError());
            origine.rollback();
            return false;
        }
    }
    bool ok = copia.transaction();
    if (!ok) {
        *errore = descrivi(copia.lastError());
    }
    for (const QString& nome : schema::tabelle()) {
        ok = ok && copiaTabella(origine, copia, Tabella(nome), errore);
    }
    if (ok && !copia.commit()) {
        *errore = descrivi(copia.lastError());
        ok = false;
    }
    if (!ok) {
        copia.rollback();
    }
    for (const QString& nome : schema::tabelle()) {
        ok = ok && confrontaTabella(origine, copia, Tabella(nome), errore);
    }
    origine.rollback();  // ends the read transaction; nothing was written to the source
    return ok;
}

}  // namespace copiarighe
