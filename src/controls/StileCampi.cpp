#include "StileCampi.h"

#include <QPainter>
#include <QPixmap>
#include <QPixmapCache>
#include <QStyleOptionFrame>
#include <cmath>

namespace {

// Everything the base style reads to draw a field's panel: its size, its state (enabled,
// focus, read-only, under the mouse), its colours, the frame's width and the screen's scale.
QString chiavePannello(const QStyleOptionFrame& pannello, qreal scala) {
    return QStringLiteral("vardello-campo-%1x%2-%3-%4-%5-%6-%7-%8")
        .arg(pannello.rect.width())
        .arg(pannello.rect.height())
        .arg(static_cast<uint>(pannello.state))
        .arg(pannello.palette.cacheKey())
        .arg(pannello.lineWidth)
        .arg(static_cast<uint>(pannello.features))
        .arg(static_cast<int>(pannello.direction))
        .arg(scala);
}

}  // namespace

StileCampi::StileCampi() = default;

void StileCampi::drawPrimitive(PrimitiveElement elemento, const QStyleOption* opzione,
                               QPainter* pittore, const QWidget* widget) const {
    const auto* pannello = qstyleoption_cast<const QStyleOptionFrame*>(opzione);
    const qreal scala = pittore->device() ? pittore->device()->devicePixelRatioF() : 1.0;
    // At a fractional scale the frame's edges fall between pixels differently on a copy of
    // its own: such screens get it drawn in place.
    if (elemento != PE_PanelLineEdit || !pannello || pannello->rect.isEmpty() ||
        scala != std::floor(scala)) {
        QProxyStyle::drawPrimitive(elemento, opzione, pittore, widget);
        return;
    }
    const QString chiave = chiavePannello(*pannello, scala);
    QPixmap immagine;
    if (!QPixmapCache::find(chiave, &immagine)) {
        immagine = QPixmap(pannello->rect.size() * scala);
        immagine.setDevicePixelRatio(scala);
        immagine.fill(Qt::transparent);
        QStyleOptionFrame inOrigine = *pannello;
        inOrigine.rect.moveTopLeft(QPoint(0, 0));
        QPainter suImmagine(&immagine);
        QProxyStyle::drawPrimitive(elemento, &inOrigine, &suImmagine, widget);
        suImmagine.end();
        QPixmapCache::insert(chiave, immagine);
    }
    pittore->drawPixmap(pannello->rect.topLeft(), immagine);
}
