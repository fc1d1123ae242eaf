#include "ProvaAvvio.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "Programma.h"
#include "frmAccesso.h"
#include "frmVardello.h"

int provaAvvio(frmVardello& finestra) {
    // The start-up's windows are modal: a timer inside their event loops answers them.
    QTimer risponditore;
    bool confermato = false;
    QObject::connect(&risponditore, &QTimer::timeout, [&confermato] {
        QWidget* modale = QApplication::activeModalWidget();
        if (auto* accesso = qobject_cast<frmAccesso*>(modale); accesso && !confermato) {
            confermato = true;
            accesso->findChild<QPushButton*>(QStringLiteral("cmdOk"))->click();
        } else if (auto* messaggio = qobject_cast<QMessageBox*>(modale)) {
            std::fprintf(stderr, "%s\n%s\n", qPrintable(messaggio->windowTitle()),
                         qPrintable(messaggio->text()));
            std::exit(1);
        }
    });
    risponditore.start(50);
    if (!finestra.Avvio()) {
        return 1;
    }
    std::printf("Avvio riuscito. Utente: %s. Archivio: %s\n",
                qPrintable(programma().UtenteCorrente), qPrintable(programma().PercorsoArchivio));
    return 0;
}
