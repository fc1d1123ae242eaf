#include "AltroComputer.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <atomic>
#include <chrono>

#include "Archivio.h"
#include "Sql.h"

AltroComputer::AltroComputer(const QString& archivio, const QString& sql,
                             const QVariantList& valori, int attesaMs) {
    static std::atomic<int> contatore{0};
    const QString nome = QStringLiteral("altro-computer-%1").arg(++contatore);
    std::promise<void> iniziato;
    std::future<void> inizio = iniziato.get_future();
    std::promise<bool> esito;
    esito_ = esito.get_future();
    thread_ = std::thread([=, iniziato = std::move(iniziato), esito = std::move(esito)]() mutable {
        bool scritto = false;
        archivio::Errore errore;
        if (archivio::apri(archivio, nome, &errore)) {
            {
                QSqlDatabase db = QSqlDatabase::database(nome);
                QSqlQuery q(db);
                const bool aperto = db.transaction() && eseguiSql(q, sql, valori);
                iniziato.set_value();
                std::this_thread::sleep_for(std::chrono::milliseconds(attesaMs));
                q.finish();
                scritto = aperto && db.commit();
            }
            archivio::chiudi(nome);
        } else {
            iniziato.set_value();
        }
        esito.set_value(scritto);
    });
    inizio.wait();
}

bool AltroComputer::concluso() {
    if (thread_.joinable()) {
        thread_.join();
    }
    return esito_.valid() && esito_.get();
}

AltroComputer::~AltroComputer() {
    if (thread_.joinable()) {
        thread_.join();
    }
}
