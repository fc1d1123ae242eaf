// What the start-up's opening checks cost on an archive of 1,000,000 movements with a warm
// cache: opening with the full check (every page of the file, the start-up's) against
// opening with the structure check only (tables, columns and their kinds, as every other
// connection does), and the engine's quick check alone on a bare connection. Real and CPU
// time are both reported: on a busy machine the CPU time is the check's own cost.
//
// VARDELLO_BENCH_ARCHIVIO names the archive file (default: one generated once in the
// temporary folder). The file is only read.

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <cstdio>

#include "Archivio.h"
#include "GeneraArchivio.h"

namespace {

QString gArchivio;

void apriEChiudi(benchmark::State& stato, archivio::Verifica verifica) {
    for (auto _ : stato) {
        archivio::Errore errore;
        if (!archivio::apri(gArchivio, QStringLiteral("misura"), &errore, verifica)) {
            stato.SkipWithError(qPrintable(errore.testo));
            break;
        }
        archivio::chiudi(QStringLiteral("misura"));
    }
}

void BM_AperturaCompleta(benchmark::State& stato) {
    apriEChiudi(stato, archivio::Verifica::Completa);
}
void BM_AperturaStruttura(benchmark::State& stato) {
    apriEChiudi(stato, archivio::Verifica::Struttura);
}

// The engine alone: a bare read-only connection running its quick check.
void BM_QuickCheckNudo(benchmark::State& stato) {
    for (auto _ : stato) {
        {
            QSqlDatabase db =
                QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("nudo"));
            db.setDatabaseName(gArchivio);
            db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
            db.open();
            QSqlQuery q(db);
            q.exec(QStringLiteral("PRAGMA quick_check"));
            q.next();
            benchmark::DoNotOptimize(q.value(0));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("nudo"));
    }
}

BENCHMARK(BM_AperturaCompleta)->Unit(benchmark::kMillisecond)->Repetitions(5)->Iterations(1);
BENCHMARK(BM_AperturaStruttura)->Unit(benchmark::kMillisecond)->Repetitions(5)->Iterations(1);
BENCHMARK(BM_QuickCheckNudo)->Unit(benchmark::kMillisecond)->Repetitions(5)->Iterations(1);

QString preparaArchivio() {
    QString percorso = qEnvironmentVariable("VARDELLO_BENCH_ARCHIVIO");
    if (percorso.isEmpty()) {
        percorso = QDir::temp().filePath(QStringLiteral("vardello-bench-1M.mdb"));
    }
    if (!QFile::exists(percorso)) {
        QString testo;
        if (!creaArchivioGenerato(percorso, OpzioniArchivio{}, &testo)) {
            qFatal("cannot generate the archive: %s", qPrintable(testo));
        }
    }
    // The whole file read once: the measure is of a warm cache.
    QFile file(percorso);
    if (file.open(QIODevice::ReadOnly)) {
        while (!file.read(1 << 20).isEmpty()) {
        }
    }
    return percorso;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    gArchivio = preparaArchivio();
    std::printf("Archive: %s (%.0f MB)\n", qPrintable(gArchivio),
                QFileInfo(gArchivio).size() / 1e6);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
