#include <QPaintDevice>
#include <QPainter>

#include "FormHelpers.h"

namespace {
constexpr double kMillimetriPerPollice = 25.4;
constexpr double kPuntiPerPollice = 72.0;
}  // namespace

void PreparaStampante(QPainter& pagina) {
    const QPaintDevice* dispositivo = pagina.device();
    pagina.resetTransform();
    pagina.scale(dispositivo->logicalDpiX() / kMillimetriPerPollice,
                 dispositivo->logicalDpiY() / kMillimetriPerPollice);
    ImpostaSfondoTesto(pagina, true);
    ImpostaCarattere(pagina, QStringLiteral("Courier New"), 10);
}

void ImpostaSfondoTesto(QPainter& pagina, bool trasparente) {
    pagina.setBackgroundMode(trasparente ? Qt::TransparentMode : Qt::OpaqueMode);
}

void ImpostaCarattere(QPainter& pagina, const QString& nome, double punti, bool grassetto) {
    // A font of N points is N x 25.4 / 72 mm tall, and on a page in millimetres that is its
    // height in page units. The page turns a point size p into p x dpi / 72 units.
    const double millimetri = punti * kMillimetriPerPollice / kPuntiPerPollice;
    const double puntiDelDispositivo =
        millimetri * kPuntiPerPollice / pagina.device()->logicalDpiY();
    QFont carattere(nome);
    carattere.setPointSizeF(puntiDelDispositivo);
    carattere.setBold(grassetto);
    pagina.setFont(carattere);
}
