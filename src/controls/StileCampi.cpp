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

StileCampi::StileCampi(const QString& chiaveBase) : QProxyStyle(chiaveBase) {}

void StileCampi::drawPrimitive(PrimitiveElement elemento, const QStyleOption* opzione,
                               QPainter* pittore, const QWidget* widget) const {
    const auto* pannello = qstyleoption_cast<const QStyleOptionFrame*>(opzione);
    const qreal scala = pittore->device() ? pittore->device()->devicePixelRatioF() : 1.0;
    // Copied only where the copy is known to be the same picture: a framed field in Fusion
    // (whose panel depends on nothing but the option) at a whole scale, painted unscaled (at
    // a fractional scale the edges fall between pixels differently on a copy of their own).
    // A frameless field is a plain fill, and the field of a combo or spin box is drawn by
    // its owner.
    const QTransform& trasformazione = pittore->transform();
    const bool copiabile =
        elemento == PE_PanelLineEdit && pannello && pannello->lineWidth > 0 &&
        !pannello->rect.isEmpty() && scala == std::floor(scala) &&
        trasformazione.type() <= QTransform::TxTranslate &&
        trasformazione.dx() == std::floor(trasformazione.dx()) &&
        trasformazione.dy() == std::floor(trasformazione.dy()) &&
        baseStyle()->name().compare(QLatin1String("fusion"), Qt::CaseInsensitive) == 0;
    if (!copiabile) {
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
