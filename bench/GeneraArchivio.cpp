#include "GeneraArchivio.h"

#include <QFile>
#include <QMap>
#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "Archivio.h"
#include "DatiCondivisi.h"
#include "Money.h"

namespace {

struct Errore {
    QString testo;
};

struct Voce {
    const char* descrizione;
    bool entrata;
    bool numerata;  // followed by a document number
};

constexpr Voce kVoci[] = {
    {"Incasso fattura n.", true, true},     {"Vendita al banco", true, false},
    {"Incasso corrispettivi", true, false}, {"Rimborso spese", true, false},
    {"Prelievo da banca", true, false},     {"Versamento in banca", false, false},
    {"Pagamento fattura n.", false, true},  {"Acquisto cancelleria", false, false},
    {"Spese postali", false, false},        {"Carburante", false, false},
    {"Pulizia locali", false, false},       {"Rimborso chilometrico", false, false},
    {"Energia elettrica", false, false},    {"Pasti di lavoro", false, false},
};

struct CodiceIva {
    const char* codice;
    const char* descrizione;
    int aliquota;
};

constexpr CodiceIva kCodici[] = {
    {"000", "Esente art. 10", 0},
    {"004", "Aliquota 4%", 4},
    {"010", "Aliquota 10%", 10},
    {"022", "Aliquota ordinaria", 22},
};

constexpr const char* kUtenti[] = {"Mario Rossi", "Giulia Bianchi", "Luca Verdi"};

void esegui(QSqlQuery& q) {
    if (!q.exec()) {
        throw Errore{q.lastError().text()};
    }
}

void esegui(QSqlQuery& q, const QString& sql, const QVariantList& valori = {}) {
    if (!q.prepare(sql)) {
        throw Errore{q.lastError().text()};
    }
    for (int i = 0; i < valori.size(); ++i) {
        q.bindValue(i, valori.at(i));
    }
    esegui(q);
}

// The registration dates, in order: the dense month gets its share, the other movements
// fall on any other day of the years.
std::vector<qint64> date(const OpzioniArchivio& o, std::mt19937& caso) {
    const qint64 primo = QDate(o.primoAnno, 1, 1).toJulianDay();
    const qint64 ultimo = QDate(o.ultimoAnno, 12, 31).toJulianDay();
    const bool denso = o.meseDenso.isValid() && o.movimentiMeseDenso > 0;
    const qint64 inizioDenso =
        denso ? QDate(o.meseDenso.year(), o.meseDenso.month(), 1).toJulianDay() : 0;
    const qint64 fineDenso =
        denso ? QDate(o.meseDenso.year(), o.meseDenso.month(), 1).addMonths(1).toJulianDay() : 0;
    const qint64 inDenso = denso ? std::min(o.movimentiMeseDenso, o.movimenti) : 0;

    std::vector<qint64> giorni;
    giorni.reserve(static_cast<size_t>(o.movimenti));
    std::uniform_int_distribution<qint64> nelDenso(inizioDenso,
                                                   std::max(inizioDenso, fineDenso - 1));
    for (qint64 i = 0; i < inDenso; ++i) {
        giorni.push_back(nelDenso(caso));
    }
    std::uniform_int_distribution<qint64> ovunque(primo, ultimo);
    while (static_cast<qint64>(giorni.size()) < o.movimenti) {
        const qint64 giorno = ovunque(caso);
        if (!denso || giorno < inizioDenso || giorno >= fineDenso) {
            giorni.push_back(giorno);
        }
    }
    std::sort(giorni.begin(), giorni.end());
    return giorni;
}

// Amounts spread from a few euro to a few thousand, in cents.
Money importo(std::mt19937& caso) {
    std::lognormal_distribution<double> distribuzione(4.0, 1.3);
    const double euro = std::min(distribuzione(caso), 50000.0);
    return Money::fromUnits(std::max<qint64>(1, std::llround(euro * 100)) * 100);
}

void tabelleDiContorno(QSqlDatabase db) {
    QSqlQuery q(db);
    for (const CodiceIva& c : kCodici) {
        esegui(q, QStringLiteral(R"(INSERT INTO "Codici Iva" ("Codice Iva", "Descrizione Iva",
                                 "Aliquota", "Flag Articolo 8", "Flag Fatture Esenti",
                                 "Flag Altre Esenzioni") VALUES (?, ?, ?, 0, ?, 0))"),
               {QString::fromLatin1(c.codice), QString::fromLatin1(c.descrizione),
                valoreSql(Money::fromWhole(c.aliquota)), c.aliquota == 0 ? 1 : 0});
    }
    esegui(q, QStringLiteral(R"(INSERT INTO "Tabella utenti" VALUES ('Supervisore', ''))"));
    for (const char* utente : kUtenti) {
        esegui(q, QStringLiteral(R"(INSERT INTO "Tabella utenti" VALUES (?, 'cassa'))"),
               {QString::fromLatin1(utente)});
    }
    for (const Voce& voce : kVoci) {
        esegui(q, QStringLiteral(R"(INSERT INTO "Conti Utilizzati" VALUES (?))"),
               {QString::fromLatin1(voce.descrizione)});
    }
    esegui(q, QStringLiteral(R"(INSERT INTO "Parametri" VALUES (?, '022', ?))"), {true, false});
}

void movimentiETotali(QSqlDatabase db, const OpzioniArchivio& o) {
    std::mt19937 caso(o.seme);
    const std::vector<qint64> giorni = date(o, caso);
    std::uniform_int_distribution<int> sceltaVoce(0, std::size(kVoci) - 1);
    std::uniform_int_distribution<int> sceltaCodice(0, std::size(kCodici) - 1);
    std::uniform_int_distribution<int> sceltaUtente(0, std::size(kUtenti) - 1);
    std::uniform_int_distribution<int> minuto(8 * 60, 19 * 60 + 59);
    std::uniform_int_distribution<int> documento(1, 9999);
    std::bernoulli_distribution conIva(0.5);

    QSqlQuery q(db);
    if (!q.prepare(QStringLiteral(R"(INSERT INTO "Vardello" ("Numero Progressivo",
            "Data Registrazione", "Operazione", "Entrate", "Uscite", "Codice Iva",
            "Imponibile Iva", "Data documento", "Utente", "DataIns", "OraIns")
            VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?))"))) {
        throw Errore{q.lastError().text()};
    }
    QMap<int, std::pair<Money, Money>> totali;  // year * 12 + month - 1
    const QVariant nessunaData = valoreSql(QDate());
    for (size_t i = 0; i < giorni.size(); ++i) {
        const QDate data = QDate::fromJulianDay(giorni[i]);
        const Voce& voce = kVoci[sceltaVoce(caso)];
        const Money somma = importo(caso);
        const Money entrate = voce.entrata ? somma : Money();
        const Money uscite = voce.entrata ? Money() : somma;
        const bool iva = conIva(caso);
        QString operazione = QString::fromLatin1(voce.descrizione);
        if (voce.numerata) {
            operazione += QStringLiteral(" %1/%2").arg(documento(caso)).arg(data.year());
        }
        const int ora = minuto(caso);

        q.bindValue(0, static_cast<qlonglong>(i + 1));
        q.bindValue(1, valoreSql(data));
        q.bindValue(2, operazione);
        q.bindValue(3, valoreSql(entrate));
        q.bindValue(4, valoreSql(uscite));
        q.bindValue(5, iva ? QString::fromLatin1(kCodici[sceltaCodice(caso)].codice) : QString(""));
        q.bindValue(6, valoreSql(iva ? entrate - uscite : Money()));
        q.bindValue(7, iva ? valoreSql(data) : nessunaData);
        q.bindValue(8, QString::fromLatin1(kUtenti[sceltaUtente(caso)]));
        q.bindValue(9, data.toString(QStringLiteral("dd/MM/yyyy")));
        q.bindValue(10, QStringLiteral("%1:%2")
                            .arg(ora / 60, 2, 10, QLatin1Char('0'))
                            .arg(ora % 60, 2, 10, QLatin1Char('0')));
        esegui(q);

        auto& mese = totali[data.year() * 12 + data.month() - 1];
        mese.first += entrate;
        mese.second += uscite;
    }

    for (auto it = totali.cbegin(); it != totali.cend(); ++it) {
        esegui(q, QStringLiteral(R"(INSERT INTO "Totali di Cassa" VALUES (?, ?, ?, ?))"),
               {it.key() / 12, it.key() % 12 + 1, valoreSql(it.value().first),
                valoreSql(it.value().second)});
    }
}

}  // namespace

bool generaArchivio(QSqlDatabase db, const OpzioniArchivio& opzioni, QString* errore) {
    if (!db.transaction()) {
        if (errore) {
            *errore = db.lastError().text();
        }
        return false;
    }
    try {
        tabelleDiContorno(db);
        movimentiETotali(db, opzioni);
    } catch (const Errore& e) {
        db.rollback();
        if (errore) {
            *errore = e.testo;
        }
        return false;
    }
    if (!db.commit()) {
        if (errore) {
            *errore = db.lastError().text();
        }
        db.rollback();
        return false;
    }
    return true;
}

bool creaArchivioGenerato(const QString& percorso, const OpzioniArchivio& opzioni,
                          QString* errore) {
    const QString connessione = QStringLiteral("generatore");
    archivio::Errore e;
    if (!archivio::crea(percorso, &e) || !archivio::apri(percorso, connessione, &e)) {
        *errore = e.testo;
        return false;
    }
    bool riuscito = false;
    {
        QSqlDatabase db = QSqlDatabase::database(connessione);
        riuscito = generaArchivio(db, opzioni, errore);
        QSqlQuery statistiche(db);
        if (riuscito && !statistiche.exec(QStringLiteral("ANALYZE"))) {
            *errore = statistiche.lastError().text();
            riuscito = false;
        }
    }
    archivio::chiudi(connessione);
    if (!riuscito) {
        QFile::remove(percorso);
    }
    return riuscito;
}
