// How long the main window takes to load a month of 10,000 movements out of an archive of
// 1,000,000 (grid filled, totals computed, month totals stored, earlier totals summed),
// against the bare indexed query reading the same rows; the ratio of the two is printed.
//
// The archive is generated once and kept (VARDELLO_BENCH_ARCHIVIO names it; by default a
// file in the temporary folder).

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSqlQuery>
#include <cstdio>
#include <map>

#include "Archivio.h"
#include "Clock.h"
#include "DatiCondivisi.h"
#include "GeneraArchivio.h"
#include "Platform.h"
#include "Programma.h"
#include "QtInteraction.h"
#include "Services.h"
#include "Sql.h"
#include "frmVardello.h"

namespace {

const QDate kMese(2005, 3, 1);
constexpr qint64 kMovimenti = 1'000'000;
constexpr qint64 kMovimentiMese = 10'000;

void BM_CaricaMese(benchmark::State& stato) {
    frmVardello finestra;
    for (auto _ : stato) {
        finestra.CaricaMese(kMese);
    }
    stato.counters["righe"] = kMovimentiMese;
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
                  {valoreSql(kMese), valoreSql(kMese.addMonths(1))});
        while (q.next()) {
            for (int colonna = 0; colonna < 8; ++colonna) {
                benchmark::DoNotOptimize(q.value(colonna));
            }
        }
    }
}

// Repeated, the two interleaved at random, and compared by their medians: the machine's
// other work touches both alike.
BENCHMARK(BM_CaricaMese)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly();
BENCHMARK(BM_QueryNuda)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly();

// Prints the runs as usual and keeps the median times for the ratio.
class Relatore : public benchmark::ConsoleReporter {
  public:
    Relatore() : ConsoleReporter(OO_Tabular) {}
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
                tempi[run.run_name.function_name] = run.GetAdjustedRealTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> tempi;
};

QString preparaArchivio() {
    QString percorso = qEnvironmentVariable("VARDELLO_BENCH_ARCHIVIO");
    if (percorso.isEmpty()) {
        percorso = QDir::temp().filePath(QStringLiteral("vardello-bench-1M.mdb"));
    }
    if (QFileInfo::exists(percorso)) {
        return percorso;
    }
    archivio::Errore errore;
    if (!archivio::crea(percorso, &errore) ||
        !archivio::apri(percorso, QStringLiteral("generatore"), &errore)) {
        qFatal("cannot create the archive: %s", qPrintable(errore.testo));
    }
    OpzioniArchivio opzioni;
    opzioni.movimenti = kMovimenti;
    opzioni.meseDenso = kMese;
    opzioni.movimentiMeseDenso = kMovimentiMese;
    QElapsedTimer tempo;
    tempo.start();
    QString testo;
    bool riuscito = false;
    {
        riuscito =
            generaArchivio(QSqlDatabase::database(QStringLiteral("generatore")), opzioni, &testo);
    }
    archivio::chiudi(QStringLiteral("generatore"));
    if (!riuscito) {
        QFile::remove(percorso);
        qFatal("cannot generate the archive: %s", qPrintable(testo));
    }
    std::printf("Archive of %lld movements generated in %.1f s: %s\n",
                static_cast<long long>(kMovimenti), tempo.elapsed() / 1000.0, qPrintable(percorso));
    return percorso;
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

    programma().PercorsoArchivio = preparaArchivio();
    archivio::Errore errore;
    if (!archivio::apri(programma().PercorsoArchivio, kConnessioneArchivio, &errore)) {
        qFatal("cannot open the archive: %s", qPrintable(errore.testo));
    }

    std::vector<char*> argomenti(argv, argv + argc);
    char interleaving[] = "--benchmark_enable_random_interleaving=true";
    argomenti.insert(argomenti.begin() + 1, interleaving);
    int quanti = static_cast<int>(argomenti.size());
    benchmark::Initialize(&quanti, argomenti.data());
    Relatore relatore;
    benchmark::RunSpecifiedBenchmarks(&relatore);
    const double finestra = relatore.tempi["BM_CaricaMese"];
    const double nuda = relatore.tempi["BM_QueryNuda"];
    if (finestra > 0 && nuda > 0) {
        std::printf("CaricaMese / bare query (medians): %.2f (%.2f ms against %.2f ms)\n",
                    finestra / nuda, finestra, nuda);
    }
    benchmark::Shutdown();
    archivio::chiudi(kConnessioneArchivio);
    return 0;
}
