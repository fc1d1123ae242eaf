#include "ComandoEsporta.h"

#include <QDate>
#include <QDir>
#include <cstdio>

#include "Archivio.h"
#include "EsportaCassa.h"

namespace {

const QString kOpzione = QStringLiteral("--esporta");
const QString kConnessione = QStringLiteral("vardello-esporta");

void scrivi(std::FILE* dove, const QString& testo) {
    std::fputs(qPrintable(testo + QLatin1Char('\n')), dove);
}

// dd/mm/yyyy as the program writes dates, or yyyy-mm-dd for scripts.
QDate data(const QString& testo) {
    const QDate italiana = QDate::fromString(testo, QStringLiteral("dd/MM/yyyy"));
    return italiana.isValid() ? italiana : QDate::fromString(testo, Qt::ISODate);
}

}  // namespace

bool eComandoEsporta(const QStringList& argomenti) {
    return argomenti.mid(1).contains(kOpzione);
}

int eseguiComandoEsporta(const QStringList& argomenti) {
    const QStringList valori = argomenti.mid(argomenti.indexOf(kOpzione) + 1);
    if (argomenti.size() != 6 || valori.size() != 4) {
        scrivi(stderr, QStringLiteral("Uso: vardello --esporta ARCHIVIO DA A FILE\n"
                                      "(date gg/mm/aaaa, FILE con estensione .xlsx o .csv)"));
        return 2;
    }
    const QString& percorso = valori.at(0);
    const QDate dal = data(valori.at(1));
    const QDate al = data(valori.at(2));
    if (!dal.isValid() || !al.isValid()) {
        scrivi(stderr,
               QStringLiteral("Le date vanno scritte gg/mm/aaaa (per esempio 01/03/2026)."));
        return 2;
    }
    archivio::Errore errore;
    if (!archivio::apri(percorso, kConnessione, &errore)) {
        scrivi(stderr, QStringLiteral("Impossibile aprire l'archivio '%1'.\nCodice errore = %2\n%3")
                           .arg(percorso, errore.codice, errore.testo));
        return 1;
    }
    QString motivo;
    const bool esportato =
        esportaCassa(QSqlDatabase::database(kConnessione, false), dal, al, valori.at(3), &motivo);
    archivio::chiudi(kConnessione);
    if (!esportato) {
        scrivi(stderr, QStringLiteral("Esportazione non riuscita.\n%1").arg(motivo));
        return 1;
    }
    scrivi(stdout,
           QStringLiteral("Esportato in '%1'.").arg(QDir::toNativeSeparators(valori.at(3))));
    return 0;
}
