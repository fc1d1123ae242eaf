#include "CopiaAllUscita.h"

#include <QDialog>
#include <QEventLoop>
#include <QLabel>
#include <QProgressBar>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>
#include <memory>

#include "CopiaArchivio.h"
#include "Programma.h"
#include "Services.h"
#include "Sql.h"

namespace {

const QString kTitolo = QStringLiteral("Vardello");

// Runs the copy on a thread of its own (it opens its own connections there), so the
// progress window stays drawn while the copy runs.
bool copiaConAvanzamento(QWidget* parent, const copie::Copiatore& copia, const QString& origine,
                         const QString& destinazione, QString* errore) {
    bool riuscita = false;
    QString motivo;
    std::unique_ptr<QThread> lavoro(
        QThread::create([&] { riuscita = copia(origine, destinazione, &motivo); }));
    // The copy cannot be interrupted halfway: the window has no cancel button.
    QDialog avanzamento(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    avanzamento.setObjectName(QStringLiteral("frmCopiaSicurezza"));
    avanzamento.setWindowTitle(kTitolo);
    avanzamento.setWindowModality(Qt::ApplicationModal);
    auto* righe = new QVBoxLayout(&avanzamento);
    righe->addWidget(
        new QLabel(QStringLiteral("Copia di sicurezza dell'archivio in corso..."), &avanzamento));
    auto* barra = new QProgressBar(&avanzamento);
    barra->setRange(0, 0);  // how long the copy takes is not known: a moving bar
    barra->setMinimumWidth(320);
    righe->addWidget(barra);
    QTimer unSecondo;
    unSecondo.setSingleShot(true);
    QObject::connect(&unSecondo, &QTimer::timeout, &avanzamento, &QDialog::show);
    QEventLoop attesa;
    QObject::connect(lavoro.get(), &QThread::finished, &attesa, &QEventLoop::quit);
    unSecondo.start(1000);
    lavoro->start();
    attesa.exec();
    lavoro->wait();
    *errore = motivo;
    return riuscita;
}

}  // namespace

void copiaDiSicurezzaAllUscita(QWidget* parent, const copie::Copiatore& copia) {
    const copie::Copiatore copiatore =
        copia ? copia : [](const QString& origine, const QString& destinazione, QString* motivo) {
            return copiaArchivio(origine, destinazione, motivo);
        };
    QString errore;
    copie::Esito esito = copie::Esito::Fallita;
    try {
        const copie::Impostazioni impostazioni = copie::leggiImpostazioni(DbArchivio());
        esito = copie::copiaDelGiorno(
            programma().PercorsoArchivio, impostazioni, services::clock().today(),
            [&](const QString& origine, const QString& destinazione, QString* motivo) {
                return copiaConAvanzamento(parent, copiatore, origine, destinazione, motivo);
            },
            &errore);
    } catch (const ErroreArchivio& e) {
        errore = QStringLiteral(
                     "Errore nell'accesso alla tabella 'Riferimenti standard'\n\n"
                     "Codice errore = ") +
                 e.codice;
    }
    if (esito != copie::Esito::Fallita) {
        return;
    }
    services::ui().message(
        QStringLiteral("La copia di sicurezza dell'archivio non è riuscita.\n\n") + errore, kTitolo,
        Interaction::Icon::Critical);
}
