// How long `--copia-archivio` takes and how much memory it needs, against the bare engine
// doing the same copy without any check:
//   file to file      against the engine's page-level backup of the whole file in one step
//                     (what the sqlite3 shell's .backup does);
//   file to server    against a bare bulk copy: every row read and written back in
//   server to file    multi-row INSERTs of bound values, in one transaction.
// Each run is a process of its own (its peak resident memory is the process's), the program's
// copy and the bare one interleaved; the minimum, median and maximum are printed, and the
// ratio of the medians.
//
//   bench_copia_archivio [archive file] [server URI]
// The archive file defaults to VARDELLO_BENCH_ARCHIVIO or a generated 1,000,000-movement
// file in the temporary folder; the server (a PostgreSQL URI of a database the user may
// create databases from, e.g. postgresql://user@127.0.0.1:5432/postgres, password from
// PGPASSWORD) defaults to VARDELLO_BENCH_PG; without it only file to file is measured.

#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "Archivio.h"
#include "CopiaArchivio.h"
#include "GeneraArchivio.h"
#include "Schema.h"

namespace {

struct Misura {
    double secondi = 0;
    double picco = 0;  // MiB
};

// Runs `lavoro` in a child process; its time and peak resident memory.
Misura inUnProcesso(const std::function<bool()>& lavoro) {
    QElapsedTimer tempo;
    tempo.start();
    const pid_t figlio = fork();
    if (figlio == 0) {
        _exit(lavoro() ? 0 : 1);
    }
    int stato = 0;
    struct rusage uso {};
    wait4(figlio, &stato, 0, &uso);
    if (!WIFEXITED(stato) || WEXITSTATUS(stato) != 0) {
        qFatal("a measured run failed");
    }
    return {tempo.elapsed() / 1000.0, uso.ru_maxrss / 1024.0};
}

// The engine's page-level backup of the whole file in one step.
bool backupNudo(const QString& origine, const QString& destinazione) {
    sqlite3* da = nullptr;
    sqlite3* a = nullptr;
    bool ok = sqlite3_open_v2(QFile::encodeName(origine).constData(), &da, SQLITE_OPEN_READONLY,
                              nullptr) == SQLITE_OK &&
              sqlite3_open(QFile::encodeName(destinazione).constData(), &a) == SQLITE_OK;
    sqlite3_backup* b = ok ? sqlite3_backup_init(a, "main", da, "main") : nullptr;
    ok = b && sqlite3_backup_step(b, -1) == SQLITE_DONE;
    ok = b && sqlite3_backup_finish(b) == SQLITE_OK && ok;
    sqlite3_close(a);
    sqlite3_close(da);
    return ok;
}

bool esegui(QSqlQuery& q) {
    if (!q.exec()) {
        std::fprintf(stderr, "%s\n", qPrintable(q.lastError().text()));
        return false;
    }
    return true;
}

// Every row of every table read and written back in multi-row INSERTs, no check.
bool copiaNuda(const QString& origine, const QString& destinazione) {
    archivio::Errore e;
    if (!archivio::crea(destinazione, &e) || !archivio::apri(origine, QStringLiteral("da"), &e) ||
        !archivio::apri(destinazione, QStringLiteral("a"), &e)) {
        std::fprintf(stderr, "%s\n", qPrintable(e.testo));
        return false;
    }
    QSqlDatabase da = QSqlDatabase::database(QStringLiteral("da"));
    QSqlDatabase a = QSqlDatabase::database(QStringLiteral("a"));
    bool ok = da.transaction() && a.transaction();
    for (const QString& tabella : schema::tabelle()) {
        QStringList campi;
        for (const QString& campo : schema::campi(tabella)) {
            campi.append(QLatin1Char('"') + campo + QLatin1Char('"'));
        }
        const int n = static_cast<int>(campi.size());
        const int perLotto = 11000 / n;
        const QString riga = QLatin1Char('(') + QStringLiteral("?, ").repeated(n - 1) + "?)";
        const auto insert = [&](int righe) {
            return QStringLiteral("INSERT INTO \"%1\" (%2) VALUES %3")
                .arg(tabella, campi.join(", "), QStringList(righe, riga).join(", "));
        };
        QSqlQuery lettura(da);
        lettura.setForwardOnly(true);
        ok = ok &&
             lettura.exec(QStringLiteral("SELECT %1 FROM \"%2\"").arg(campi.join(", "), tabella));
        QSqlQuery lotto(a);
        ok = ok && lotto.prepare(insert(perLotto));
        std::vector<QVariant> valori;
        // What differs between the engines: SQLite keeps a truth value as an integer.
        std::vector<bool> booleani;
        for (const QString& campo : schema::campi(tabella)) {
            booleani.push_back(schema::tipoCampo(campo) == schema::TipoCampo::Booleano);
        }
        while (ok && lettura.next()) {
            for (int i = 0; i < n; ++i) {
                const QVariant valore = lettura.value(i);
                valori.push_back(booleani[i] && !valore.isNull() ? QVariant(valore.toBool())
                                                                 : valore);
            }
            if (static_cast<int>(valori.size()) == perLotto * n) {
                for (int i = 0; i < perLotto * n; ++i) {
                    lotto.bindValue(i, valori[i]);
                }
                ok = esegui(lotto);
                valori.clear();
            }
        }
        if (ok && !valori.empty()) {
            QSqlQuery resto(a);
            ok = resto.prepare(insert(static_cast<int>(valori.size()) / n));
            for (int i = 0; ok && i < static_cast<int>(valori.size()); ++i) {
                resto.bindValue(i, valori[i]);
            }
            ok = ok && esegui(resto);
        }
    }
    ok = ok && a.commit();
    if (!ok) {
        std::fprintf(stderr, "%s\n%s\n", qPrintable(a.lastError().text()),
                     qPrintable(da.lastError().text()));
    }
    da.rollback();
    return ok;
}

bool copiaDelProgramma(const QString& origine, const QString& destinazione) {
    QString errore;
    if (!copiaArchivio(origine, destinazione, &errore)) {
        std::fprintf(stderr, "%s\n", qPrintable(errore));
        return false;
    }
    return true;
}

struct Serie {
    std::vector<Misura> misure;
    double mediana() const {
        std::vector<double> t;
        for (const Misura& m : misure) {
            t.push_back(m.secondi);
        }
        std::sort(t.begin(), t.end());
        return t[t.size() / 2];
    }
    void stampa(const char* nome) const {
        std::vector<double> t;
        double picco = 0;
        for (const Misura& m : misure) {
            t.push_back(m.secondi);
            picco = std::max(picco, m.picco);
        }
        std::sort(t.begin(), t.end());
        std::printf("  %-28s min %7.2f s  median %7.2f s  max %7.2f s  peak %6.1f MiB\n", nome,
                    t.front(), t[t.size() / 2], t.back(), picco);
    }
};

// The program's copy and the bare one, interleaved; `rimuovi` clears a destination between runs.
void confronta(const char* titolo, int ripetizioni, const std::function<bool()>& programma,
               const std::function<bool()>& nudo, const std::function<void()>& rimuovi) {
    Serie nostra;
    Serie nuda;
    for (int i = 0; i < ripetizioni; ++i) {
        nostra.misure.push_back(inUnProcesso(programma));
        rimuovi();
        nuda.misure.push_back(inUnProcesso(nudo));
        rimuovi();
    }
    std::printf("%s\n", titolo);
    nostra.stampa("--copia-archivio");
    nuda.stampa("bare engine");
    std::printf("  ratio of the medians: %.2f\n", nostra.mediana() / nuda.mediana());
    std::fflush(stdout);
}

QString databaseSulServer(const QString& server, const QString& nome) {
    QUrl url(server);
    url.setPath(QLatin1Char('/') + nome);
    return url.toString();
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList argomenti = app.arguments();
    QString archivio = argomenti.value(1, qEnvironmentVariable("VARDELLO_BENCH_ARCHIVIO"));
    const QString server = argomenti.value(2, qEnvironmentVariable("VARDELLO_BENCH_PG"));
    QTemporaryDir cartella;
    if (archivio.isEmpty()) {
        archivio = QDir::temp().filePath(QStringLiteral("vardello-bench-copia-1M.mdb"));
        if (!QFile::exists(archivio)) {
            QString errore;
            if (!creaArchivioGenerato(archivio, OpzioniArchivio{}, &errore)) {
                qFatal("cannot generate the archive: %s", qPrintable(errore));
            }
        }
    }
    const QString file = cartella.filePath(QStringLiteral("copia.mdb"));
    const auto rimuoviFile = [&] { QFile::remove(file); };
    std::printf("Copy of %s (%.1f MiB)\n", qPrintable(archivio),
                QFileInfo(archivio).size() / 1048576.0);
    confronta(
        "file to file", 5, [&] { return copiaDelProgramma(archivio, file); },
        [&] { return backupNudo(archivio, file); }, rimuoviFile);
    if (server.isEmpty()) {
        return 0;
    }
    const QString database = databaseSulServer(server, QStringLiteral("vardello_bench_copia"));
    archivio::Errore e;
    const auto rimuoviDatabase = [&] { archivio::eliminaDatabase(database, &e); };
    rimuoviDatabase();
    confronta(
        "file to server", 3, [&] { return copiaDelProgramma(archivio, database); },
        [&] { return copiaNuda(archivio, database); }, rimuoviDatabase);
    if (!copiaDelProgramma(archivio, database)) {
        qFatal("cannot copy the archive to the server");
    }
    confronta(
        "server to file", 3, [&] { return copiaDelProgramma(database, file); },
        [&] { return copiaNuda(database, file); }, rimuoviFile);
    rimuoviDatabase();
    return 0;
}
