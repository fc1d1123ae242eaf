#include "ProvaAvvio.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <cstdio>

#include "AvvioProgramma.h"
#include "Programma.h"
#include "frmAccesso.h"
#include "frmVardello.h"

int provaAvvio() {
    // The start-up's windows are modal: a timer inside their event loops answers them. A
    // message is written out and closed; a log-in window shown again after it (a refused
    // password) is cancelled, so the check ends instead of waiting for someone to type.
    QTimer risponditore;
    bool confermato = false;
    bool messaggio = false;
    QObject::connect(&risponditore, &QTimer::timeout, [&confermato, &messaggio] {
        QWidget* modale = QApplication::activeModalWidget();
        if (auto* accesso = qobject_cast<frmAccesso*>(modale)) {
            // Clicked after this handler returns: a timer is not run again while its handler
            // runs, so a message shown by the click would never be answered.
            QPushButton* pulsante = accesso->findChild<QPushButton*>(
                confermato ? QStringLiteral("cmdAnnulla") : QStringLiteral("cmdOk"));
            confermato = true;
            QMetaObject::invokeMethod(pulsante, &QPushButton::click, Qt::QueuedConnection);
        } else if (auto* finestraMessaggio = qobject_cast<QMessageBox*>(modale)) {
            std::fprintf(stderr, "%s\n%s\n", qPrintable(finestraMessaggio->windowTitle()),
                         qPrintable(finestraMessaggio->text()));
            messaggio = true;
            finestraMessaggio->done(QMessageBox::Ok);
        }
    });
    risponditore.start(50);
    const bool avviato = avviaProgramma() != nullptr;
    risponditore.stop();
    if (!avviato || messaggio) {
        std::fprintf(stderr, "Prova di avvio non riuscita.\n");
        return 1;
    }
    std::printf("Avvio riuscito. Utente: %s. Archivio: %s\n",
                qPrintable(programma().UtenteCorrente), qPrintable(programma().PercorsoArchivio));
    return 0;
}
