#pragma once

#include <benchmark/benchmark.h>

#include <QDate>
#include <QString>
#include <map>
#include <string>
#include <utility>
#include <vector>

// What the benchmarks of the program share: each measures one thing the person does against
// its bare counterpart (the engine or Qt alone, doing the same work) in the same run,
// repeated and interleaved at random so that the machine's other work touches both alike.

// Registers a benchmark repeated `ripetizioni` times, reporting its median, minimum and
// maximum.
benchmark::internal::Benchmark* confronta(benchmark::internal::Benchmark* prova,
                                          int ripetizioni = 9);

// Runs the registered benchmarks interleaved at random and prints, for each pair (program,
// bare counterpart), the ratio of their medians and of their minima and maxima.
void eseguiConfronti(int argc, char** argv,
                     const std::vector<std::pair<std::string, std::string>>& coppie);

// The archive of 1,000,000 movements with a month of 10,000 (March 2005) that the cash-book
// benchmarks measure on. VARDELLO_BENCH_ARCHIVIO names it: a file, or a PostgreSQL URI
// (postgresql://user@host:port/database, password from PGPASSWORD or .pgpass); by default a
// file in the temporary folder. It is generated when it does not open yet; a server's
// database is brought back to it as generated (earlier runs wrote into it).
inline const QDate kMeseDenso(2005, 3, 1);
inline constexpr qint64 kMovimentiArchivio = 1'000'000;
inline constexpr qint64 kMovimentiMeseDenso = 10'000;
QString archivioGrande();

// The archive to write into: a file is copied first into the temporary folder (the copy is
// replaced at each run), a server's database is written into (and restored at the next run).
QString copiaDaScrivere(const QString& percorso);
