#include <QPaintDevice>
#include <QPainter>

#include "Caratteri.h"
#include "FormHelpers.h"

namespace {
constexpr double kMillimetriPerPollice = 25.4;
}  // namespace

void PreparaStampante(QPainter& pagina) {
    const QPaintDevice* dispositivo = pagina.device();
    pagina.resetTransform();
    pagina.scale(dispositivo->logicalDpiX() / kMillimetriPerPollice,
                 dispositivo->logicalDpiY() / kMillimetriPerPollice);
    ImpostaSfondoTesto(pagina, true);
    const QFont carattere = carattereFisso(10);
    pagina.setFont(carattere);
}

void ImpostaSfondoTesto(QPainter& pagina, bool trasparente) {
    pagina.setBackgroundMode(trasparente ? Qt::TransparentMode : Qt::OpaqueMode);
}
