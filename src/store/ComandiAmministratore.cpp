#include "ComandiAmministratore.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

#include "Archivio.h"
#include "CopiaArchivio.h"

namespace {

const QString kNuovo = QStringLiteral("nuovo-archivio");
const QString kCopia = QStringLiteral("copia-archivio");

void scrivi(std::FILE* dove, const QString& testo) {
    std::fputs(qPrintable(testo + QLatin1Char('\n')), dove);
}

void preparaParser(QCommandLineParser& parser) {
    parser.setApplicationDescription(QStringLiteral(
        "Vardello, libro di cassa.\n"
        "Senza opzioni apre l'archivio indicato da vardello.ini (o VARDELLO.MDB nella cartella\n"
        "del programma). Un archivio e' un file SQLite oppure un database PostgreSQL indicato\n"
        "come postgresql://utente@server:porta/database (la password si legge da PGPASSWORD o\n"
        "dal file delle password di PostgreSQL, meglio che scriverla nell'indirizzo)."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption(
        {kNuovo, QStringLiteral("Crea un nuovo archivio vuoto."), QStringLiteral("archivio")});
    parser.addOption({kCopia,
                      QStringLiteral("Copia tutto l'archivio <origine> in un nuovo archivio "
                                     "<destinazione> (indicato come argomento) e verifica la "
                                     "copia riga per riga."),
                      QStringLiteral("origine")});
    // Run by the cash book (ComandoEsporta.h); described here so that --help lists it.
    parser.addOption({QStringLiteral("esporta"),
                      QStringLiteral("--esporta ARCHIVIO DA A FILE: esporta per il "
                                     "commercialista il libro di cassa dal giorno DA al giorno A "
                                     "(gg/mm/aaaa) nel FILE, Excel se termina con .xlsx, CSV se "
                                     "con .csv, senza aprire finestre."),
                      QStringLiteral("archivio")});
    parser.addOption(
        {QStringLiteral("prova-avvio"),
         QStringLiteral("Avvia il programma senza finestre visibili, entra come "
                        "l'utente proposto e termina (verifica di un'installazione).")});
    parser.addPositionalArgument(QStringLiteral("destinazione"),
                                 QStringLiteral("Il nuovo archivio di --copia-archivio."));
}

}  // namespace

bool eComandoAmministratore(const QStringList& argomenti) {
    for (const QString& a : argomenti.mid(1)) {
        if (a == QLatin1String("--help") || a == QLatin1String("-h") ||
            a == QLatin1String("--version") || a == QLatin1String("-v") ||
            a.startsWith(QLatin1String("--") + kNuovo) ||
            a.startsWith(QLatin1String("--") + kCopia)) {
            return true;
        }
    }
    return false;
}

int eseguiComandoAmministratore(const QStringList& argomenti) {
    QCommandLineParser parser;
    preparaParser(parser);
    parser.process(argomenti);  // --help and --version print and end here

    if (parser.isSet(kNuovo)) {
        archivio::Errore errore;
        const QString percorso = parser.value(kNuovo);
        if (!archivio::crea(percorso, &errore)) {
            scrivi(stderr,
                   QStringLiteral("Impossibile creare l'archivio '%1'.\nCodice errore = %2\n%3")
                       .arg(archivio::nomeVisibile(percorso), errore.codice, errore.testo));
            return 1;
        }
        scrivi(stdout, QStringLiteral("Archivio creato: %1").arg(archivio::nomeVisibile(percorso)));
        return 0;
    }
    if (parser.isSet(kCopia)) {
        if (parser.positionalArguments().size() != 1) {
            scrivi(stderr, QStringLiteral("Indicare l'archivio di destinazione della copia."));
            return 2;
        }
        const QString origine = parser.value(kCopia);
        const QString destinazione = parser.positionalArguments().constFirst();
        QString errore;
        if (!copiaArchivio(origine, destinazione, &errore)) {
            scrivi(stderr, QStringLiteral("Copia non riuscita.\n%1").arg(errore));
            return 1;
        }
        scrivi(stdout, QStringLiteral("Copia di '%1' in '%2' eseguita e verificata.")
                           .arg(origine, destinazione));
        return 0;
    }
    scrivi(stderr, parser.helpText());
    return 2;
}
