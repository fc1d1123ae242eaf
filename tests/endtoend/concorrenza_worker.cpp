// One copy of the program inserting movements through the main window's insert command, for
// the tests that run several copies on the same archive at once or kill one while it writes.
//   concorrenza_worker <archive> <copy number> <movements>
// Exit code: 0 when every insert went through and no error reached the person, 1 otherwise
// (the messages are written to standard error).
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <cstdio>

#include "Archivio.h"
#include "Programma.h"
#include "ScriptedInteraction.h"
#include "Services.h"
#include "TestEnvironment.h"
#include "ValutaBox.h"
#include "frmVardello.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 4) {
        std::fputs("usage: concorrenza_worker <archive> <copy> <movements>\n", stderr);
        return 2;
    }
    const int copia = args.at(2).toInt();
    const int movimenti = args.at(3).toInt();

    ScriptedInteraction persona;
    SystemClock orologio;
    TestPlatform piattaforma;
    services::setInteraction(&persona);
    services::setClock(&orologio);
    services::setPlatform(&piattaforma);
    programma().PercorsoArchivio = args.at(1);
    programma().UtenteCorrente = QStringLiteral("Copia%1").arg(copia);
    archivio::Errore errore;
    if (!archivio::apri(programma().PercorsoArchivio, kConnessioneArchivio, &errore)) {
        std::fprintf(stderr, "cannot open the archive: %s\n", qPrintable(errore.testo));
        return 1;
    }

    int falliti = 0;
    {
        frmVardello finestra;
        finestra.Prepara();
        auto* data = finestra.findChild<QLineEdit*>(QStringLiteral("txtDataRegistrazione"));
        auto* operazione = finestra.findChild<QComboBox*>(QStringLiteral("cmbOperazione"));
        auto* entrate = finestra.findChild<ValutaBox*>(QStringLiteral("txtEntrate"));
        auto* uscite = finestra.findChild<ValutaBox*>(QStringLiteral("txtUscite"));
        auto* inserisci = finestra.findChild<QPushButton*>(QStringLiteral("cmdIns"));
        const int perMese = (movimenti + 2) / 3;
        for (int i = 0; i < movimenti; ++i) {
            // Three months, a block of movements each, on days spread over the month.
            const QDate giorno(2005, 3 + i / perMese, 1 + (i * 7 + copia) % 28);
            data->setText(giorno.toString(QStringLiteral("dd/MM/yyyy")));
            operazione->setEditText(QStringLiteral("Incasso copia %1 n. %2").arg(copia).arg(i));
            entrate->setText(QStringLiteral("%1,%2")
                                 .arg(copia * 100 + i % 50)
                                 .arg(i % 100, 2, 10, QLatin1Char('0')));
            uscite->setText(i % 4 == 0 ? QStringLiteral("1,25") : QString());
            inserisci->click();
        }
        for (const ScriptedInteraction::Message& m : persona.messages) {
            if (m.text != QLatin1String("Registrazione appartenente ad un altro mese.")) {
                std::fprintf(stderr, "message: %s | %s\n", qPrintable(m.title), qPrintable(m.text));
                ++falliti;
            }
        }
    }
    archivio::chiudi(kConnessioneArchivio);
    return falliti == 0 ? 0 : 1;
}
