#include "ImmaginiPulsanti.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>
#include <functional>

namespace {

constexpr int kLato = 24;

using Disegno = std::function<void(QPainter&, const QColor&)>;

void ripristina(QPainter& p, const QColor& colore) {
    // A circular arrow turning back.
    p.setPen(QPen(colore, 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(5, 5, 14, 14), 90 * 16, 270 * 16);
    p.setBrush(colore);
    p.setPen(Qt::NoPen);
    p.drawPolygon(QPolygonF({QPointF(12, 1), QPointF(17, 5), QPointF(12, 9)}));
}

void nuovo(QPainter& p, const QColor& colore) {
    // A sheet with a plus: store and start a new record.
    p.setPen(QPen(colore, 1.5));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(5, 3, 13, 18));
    p.setPen(QPen(colore, 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(11.5, 8), QPointF(11.5, 16));
    p.drawLine(QPointF(7.5, 12), QPointF(15.5, 12));
}

void cancella(QPainter& p, const QColor& colore) {
    p.setPen(QPen(colore, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(6, 6), QPointF(18, 18));
    p.drawLine(QPointF(18, 6), QPointF(6, 18));
}

void freccia(QPainter& p, const QColor& colore, bool versoDestra) {
    p.setPen(Qt::NoPen);
    p.setBrush(colore);
    if (versoDestra) {
        p.drawPolygon(QPolygonF({QPointF(7, 4), QPointF(19, 12), QPointF(7, 20)}));
    } else {
        p.drawPolygon(QPolygonF({QPointF(17, 4), QPointF(5, 12), QPointF(17, 20)}));
    }
}

void esci(QPainter& p, const QColor& colore) {
    // An open door with an arrow leaving it.
    p.setPen(QPen(colore, 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(4, 3, 10, 18));
    p.setPen(QPen(colore, 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(10, 12), QPointF(21, 12));
    p.drawLine(QPointF(17, 8), QPointF(21, 12));
    p.drawLine(QPointF(17, 16), QPointF(21, 12));
}

const QHash<QString, Disegno>& disegni() {
    static const QHash<QString, Disegno> tutti = {
        {QStringLiteral("RIPRISTINA"), ripristina},
        {QStringLiteral("NUOVO"), nuovo},
        {QStringLiteral("CANCELLA"), cancella},
        {QStringLiteral("PRECEDENTE"), [](QPainter& p, const QColor& c) { freccia(p, c, false); }},
        {QStringLiteral("SUCCESSIVO"), [](QPainter& p, const QColor& c) { freccia(p, c, true); }},
        {QStringLiteral("ESCI"), esci},
    };
    return tutti;
}

QColor coloreDi(const QString& nome) {
    if (nome == QLatin1String("CANCELLA")) {
        return QColor(190, 30, 30);
    }
    if (nome == QLatin1String("NUOVO")) {
        return QColor(20, 120, 40);
    }
    return QColor(30, 60, 160);
}

}  // namespace

QIcon immaginePulsante(const QString& nome) {
    const bool disabilitata = nome.endsWith(QLatin1String("_D"));
    const QString base = disabilitata ? nome.chopped(2) : nome;
    const auto disegno = disegni().constFind(base);
    if (disegno == disegni().constEnd()) {
        return {};
    }
    QPixmap immagine(kLato, kLato);
    immagine.fill(Qt::transparent);
    QPainter pittore(&immagine);
    pittore.setRenderHint(QPainter::Antialiasing);
    (*disegno)(pittore, disabilitata ? QColor(160, 160, 160) : coloreDi(base));
    pittore.end();
    return QIcon(immagine);
}
