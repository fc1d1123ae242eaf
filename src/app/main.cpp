#include <QApplication>
#include <QLocale>

#include "Aspetto.h"
#include "AvvioProgramma.h"
#include "Clock.h"
#include "ComandiAmministratore.h"
#include "ComandoEsporta.h"
#include "InvioSuPulsanti.h"
#include "Platform.h"
#include "ProvaAvvio.h"
#include "QtInteraction.h"
#include "Services.h"
#include "frmVardello.h"

namespace {
void identify() {
    QCoreApplication::setApplicationName(QStringLiteral("Vardello"));
    QCoreApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                                .arg(VARDELLO_VERSION_MAJOR)
                                                .arg(VARDELLO_VERSION_MINOR)
                                                .arg(VARDELLO_VERSION_PATCH));
}
}  // namespace

int main(int argc, char* argv[]) {
    {
        // The administrator's commands run without any window (and without a display).
        QCoreApplication console(argc, argv);
        if (eComandoEsporta(QCoreApplication::arguments())) {
            identify();
            return eseguiComandoEsporta(QCoreApplication::arguments());
        }
        if (eComandoAmministratore(QCoreApplication::arguments())) {
            identify();
            return eseguiComandoAmministratore(QCoreApplication::arguments());
        }
    }
    QApplication app(argc, argv);
    identify();
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    impostaAspetto();

    installaInvioSuPulsanti();
    QtInteraction interaction;
    SystemClock clock;
    SystemPlatform platform;
    services::setInteraction(&interaction);
    services::setClock(&clock);
    services::setPlatform(&platform);

    if (QCoreApplication::arguments().contains(QStringLiteral("--prova-avvio"))) {
        return provaAvvio();
    }
    const std::unique_ptr<frmVardello> finestra = avviaProgramma();
    if (!finestra) {
        return 1;
    }
    finestra->showMaximized();
    return QApplication::exec();
}
