// Writes a new archive of many movements, for benchmarks and for trying the program on a
// large book:
//   genera_archivio <archive> [movements] [dense month yyyy-mm] [movements of that month]
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <cstdio>

#include "Archivio.h"
#include "GeneraArchivio.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList argomenti = QCoreApplication::arguments();
    if (argomenti.size() < 2) {
        std::fprintf(
            stderr, "uso: genera_archivio <archivio> [movimenti] [aaaa-mm] [movimenti del mese]\n");
        return 2;
    }
    OpzioniArchivio opzioni;
    if (argomenti.size() > 2) {
        opzioni.movimenti = argomenti.at(2).toLongLong();
    }
    if (argomenti.size() > 4) {
        opzioni.meseDenso = QDate::fromString(argomenti.at(3) + QStringLiteral("-01"), Qt::ISODate);
        opzioni.movimentiMeseDenso = argomenti.at(4).toLongLong();
    }

    const QString percorso = argomenti.at(1);
    QElapsedTimer tempo;
    tempo.start();
    QString testo;
    if (!creaArchivioGenerato(percorso, opzioni, &testo)) {
        std::fprintf(stderr, "archivio non generato: %s\n", qPrintable(testo));
        return 1;
    }
    std::printf("%lld movimenti scritti in %.1f s\n", static_cast<long long>(opzioni.movimenti),
                tempo.elapsed() / 1000.0);
    return 0;
}
