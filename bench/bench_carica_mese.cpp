// How long the main window takes to load a month of 10,000 movements out of an archive of
// 1,000,000 (grid filled, totals computed, month totals checked, earlier totals summed),
// against the bare indexed query reading the same rows; the ratio of the two is printed.
// The archive: see archivioGrande (VARDELLO_BENCH_ARCHIVIO).

#include <QApplication>
#include <QSqlQuery>

#include "Archivio.h"
#include "Clock.h"
#include "Confronto.h"
#include "DatiCondivisi.h"
#include "Platform.h"
#include "Programma.h"
#include "QtInteraction.h"
#include "Services.h"
#include "Sql.h"
#include "frmVardello.h"

namespace {

void BM_CaricaMese(benchmark::State& stato) {
    frmVardello finestra;
    for (auto _ : stato) {
        finestra.CaricaMese(kMeseDenso);
    }
    stato.counters["righe"] = kMovimentiMeseDenso;
}

// The bare engine: the same range query, every column of every row read, nothing else.
void BM_QueryNuda(benchmark::State& stato) {
    for (auto _ : stato) {
        QSqlQuery q(DbArchivio());
        q.setForwardOnly(true);
        eseguiSql(q, QStringLiteral(R"(SELECT "Data Registrazione", "Operazione", "Entrate",
                                    "Uscite", "Numero Progressivo", "Utente", "DataIns", "OraIns"
                                    FROM "Vardello"
                                    WHERE "Data Registrazione" >= ? AND "Data Registrazione" < ?
                                    ORDER BY "Data Registrazione", "Numero Progressivo")"),
                  {valoreSql(kMeseDenso), valoreSql(kMeseDenso.addMonths(1))});
        while (q.next()) {
            for (int colonna = 0; colonna < 8; ++colonna) {
                benchmark::DoNotOptimize(q.value(colonna));
            }
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QtInteraction interazione;
    SystemClock orologio;
    SystemPlatform piattaforma;
    services::setInteraction(&interazione);
    services::setClock(&orologio);
    services::setPlatform(&piattaforma);

    programma().PercorsoArchivio = archivioGrande();
    archivio::Errore errore;
    if (!archivio::apri(programma().PercorsoArchivio, kConnessioneArchivio, &errore)) {
        qFatal("cannot open the archive: %s", qPrintable(errore.testo));
    }
    confronta(benchmark::RegisterBenchmark("BM_CaricaMese", BM_CaricaMese));
    confronta(benchmark::RegisterBenchmark("BM_QueryNuda", BM_QueryNuda));
    eseguiConfronti(argc, argv, {{"BM_CaricaMese", "BM_QueryNuda"}});
    archivio::chiudi(kConnessioneArchivio);
    return 0;
}
