// How long the VAT situation takes to open on a year of 100,000 movements (with as many
// again in the years around it), against the bare engine reading the same rows.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDate>
#include <QSqlQuery>
#include <QTemporaryDir>

#include "Archivio.h"
#include "DatiCondivisi.h"
#include "Programma.h"
#include "QtInteraction.h"
#include "Services.h"
#include "SituazioneIva.h"
#include "Sql.h"
#include "frmSituazioneIva.h"

namespace {

constexpr int kAnno = 2005;
constexpr int kMovimentiAnno = 100000;

void riempiArchivio() {
    QSqlDatabase db = DbArchivio();
    QSqlQuery q(db);
    db.transaction();
    for (int i = 0; i < 10; ++i) {
        eseguiSql(q, QStringLiteral(R"(INSERT INTO "Codici Iva" ("Codice Iva", "Aliquota")
                                      VALUES (?, ?))"),
                  {QStringLiteral("%1").arg(i * 3, 3, 10, QLatin1Char('0')),
                   valoreSql(Money::fromWhole(i * 3))});
    }
    q.prepare(QStringLiteral(R"(INSERT INTO "Vardello" ("Numero Progressivo",
                               "Data Registrazione", "Codice Iva", "Imponibile Iva",
                               "Data documento") VALUES (?, ?, ?, ?, ?))"));
    int numero = 0;
    for (const int anno : {kAnno - 1, kAnno, kAnno + 1}) {
        const int quanti = anno == kAnno ? kMovimentiAnno : kMovimentiAnno / 2;
        for (int i = 0; i < quanti; ++i) {
            const QDate data = QDate(anno, 1, 1).addDays(i % 365);
            q.addBindValue(++numero);
            q.addBindValue(valoreSql(data));
            q.addBindValue(QStringLiteral("%1").arg((i % 11) * 3, 3, 10, QLatin1Char('0')));
            q.addBindValue(valoreSql(Money::fromUnits((i % 2 ? -1 : 1) * (i % 997 + 1) * 12345)));
            q.addBindValue(valoreSql(data));
            q.exec();
        }
    }
    db.commit();
}

void BM_AperturaSituazioneIva(benchmark::State& stato) {
    for (auto _ : stato) {
        frmSituazioneIva finestra(kAnno, nullptr);
        benchmark::DoNotOptimize(&finestra);
    }
}

void BM_CalcolaSituazioneIva(benchmark::State& stato) {
    for (auto _ : stato) {
        const SituazioneIva situazione = CalcolaSituazioneIva(DbArchivio(), kAnno);
        benchmark::DoNotOptimize(situazione.saldoFinale());
    }
}

// The bare engine: the same range query, every row read, nothing computed.
void BM_LetturaGrezza(benchmark::State& stato) {
    for (auto _ : stato) {
        QSqlQuery q(DbArchivio());
        q.setForwardOnly(true);
        eseguiSql(q, QStringLiteral(R"(SELECT "Data documento", "Codice Iva", "Imponibile Iva"
                                      FROM "Vardello"
                                      WHERE "Data documento" >= ? AND "Data documento" < ?)"),
                  {valoreSql(QDate(kAnno, 1, 1)), valoreSql(QDate(kAnno + 1, 1, 1))});
        qint64 righe = 0;
        while (q.next()) {
            benchmark::DoNotOptimize(q.value(0));
            benchmark::DoNotOptimize(q.value(1));
            benchmark::DoNotOptimize(q.value(2));
            ++righe;
        }
        stato.counters["righe"] = static_cast<double>(righe);
    }
}

BENCHMARK(BM_AperturaSituazioneIva)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CalcolaSituazioneIva)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LetturaGrezza)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QtInteraction interazione;
    services::setInteraction(&interazione);

    QTemporaryDir cartella;
    const QString percorso = cartella.filePath(QStringLiteral("VARDELLO.MDB"));
    archivio::Errore errore;
    if (!archivio::crea(percorso, &errore) ||
        !archivio::apri(percorso, kConnessioneArchivio, &errore)) {
        qFatal("cannot prepare the archive: %s", qPrintable(errore.testo));
    }
    riempiArchivio();

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    archivio::chiudi(kConnessioneArchivio);
    return 0;
}
