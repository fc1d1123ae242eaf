#include "ImmaginiPulsanti.h"

#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPixmapCache>
#include <QPolygonF>
#include <cmath>

namespace {

constexpr double kLato = 24;  // every picture is drawn on a 24 x 24 grid
const QColor kGrigio(150, 150, 150);
const QColor kBlu(30, 60, 160);
const QColor kVerde(20, 120, 40);
const QColor kRosso(190, 30, 30);

using Disegno = void (*)(QPainter&, const QColor&);

QPen tratto(const QColor& colore, double spessore) {
    return QPen(colore, spessore, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void ripristina(QPainter& p, const QColor& c) {
    // A circular arrow turning back.
    p.setPen(tratto(c, 2.5));
    p.drawArc(QRectF(5, 5, 14, 14), 90 * 16, 270 * 16);
    p.setBrush(c);
    p.setPen(Qt::NoPen);
    p.drawPolygon(QPolygonF({QPointF(12, 1), QPointF(17, 5), QPointF(12, 9)}));
}

void foglio(QPainter& p, const QColor& c, const QRectF& r) {
    p.setPen(tratto(c, 1.5));
    p.setBrush(Qt::white);
    p.drawRect(r);
}

void nuovo(QPainter& p, const QColor& c) {
    // A sheet with a plus: store and start a new record.
    foglio(p, c, QRectF(5, 3, 13, 18));
    p.setPen(tratto(c, 2.5));
    p.drawLine(QPointF(11.5, 8), QPointF(11.5, 16));
    p.drawLine(QPointF(7.5, 12), QPointF(15.5, 12));
}

void croce(QPainter& p, const QColor& c) {
    p.setPen(tratto(c, 3));
    p.drawLine(QPointF(6, 6), QPointF(18, 18));
    p.drawLine(QPointF(18, 6), QPointF(6, 18));
}

void precedente(QPainter& p, const QColor& c) {
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPolygon(QPolygonF({QPointF(17, 4), QPointF(5, 12), QPointF(17, 20)}));
}

void successivo(QPainter& p, const QColor& c) {
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPolygon(QPolygonF({QPointF(7, 4), QPointF(19, 12), QPointF(7, 20)}));
}

void esci(QPainter& p, const QColor& c) {
    // An open door with an arrow leaving it.
    p.setPen(tratto(c, 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(4, 3, 10, 18));
    p.setPen(tratto(c, 2.5));
    p.drawLine(QPointF(10, 12), QPointF(21, 12));
    p.drawLine(QPointF(17, 8), QPointF(21, 12));
    p.drawLine(QPointF(17, 16), QPointF(21, 12));
}

void stampa(QPainter& p, const QColor& c) {
    // A printer: the sheet going in at the top, the body, the printed sheet coming out.
    foglio(p, c, QRectF(7, 2.5, 10, 7));
    p.setPen(tratto(c, 1.5));
    p.setBrush(c);
    p.drawRoundedRect(QRectF(2.5, 9, 19, 8.5), 1.5, 1.5);
    foglio(p, c, QRectF(7, 14, 10, 7.5));
    p.drawLine(QPointF(9, 17), QPointF(15, 17));
    p.drawLine(QPointF(9, 19.5), QPointF(15, 19.5));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(120, 220, 120));
    p.drawEllipse(QPointF(18.5, 11.5), 1, 1);
}

void parametri(QPainter& p, const QColor& c) {
    // A gear wheel.
    QPolygonF ruota;
    constexpr int kDenti = 8;
    for (int i = 0; i < kDenti * 4; ++i) {
        const double angolo = (i - 0.5) * M_PI * 2 / (kDenti * 4);
        const double raggio = (i % 4 < 2) ? 10.5 : 7.5;
        ruota << QPointF(12 + raggio * std::cos(angolo), 12 + raggio * std::sin(angolo));
    }
    QPainterPath forma;
    forma.addPolygon(ruota);
    forma.closeSubpath();
    forma.addEllipse(QPointF(12, 12), 3.5, 3.5);
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPath(forma);
}

void percento(QPainter& p, const QColor& colore, double x, double y, double lato) {
    p.setPen(tratto(colore, 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(x + lato * 0.22, y + lato * 0.22), lato * 0.16, lato * 0.16);
    p.drawEllipse(QPointF(x + lato * 0.78, y + lato * 0.78), lato * 0.16, lato * 0.16);
    p.drawLine(QPointF(x + lato * 0.85, y + lato * 0.12),
               QPointF(x + lato * 0.15, y + lato * 0.88));
}

void codiciIva(QPainter& p, const QColor& c) {
    // A price tag with a per cent sign: the VAT rates.
    p.setPen(tratto(c, 1.8));
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF(
        {QPointF(2.5, 7), QPointF(15, 7), QPointF(21.5, 12), QPointF(15, 17), QPointF(2.5, 17)}));
    p.drawEllipse(QPointF(16, 12), 1.2, 1.2);
    percento(p, c, 4.5, 8.5, 7);
}

void situazioneIva(QPainter& p, const QColor& c) {
    // A bar chart over a base line: the VAT month by month.
    p.setPen(tratto(c, 1.5));
    p.drawLine(QPointF(3, 21), QPointF(21, 21));
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawRect(QRectF(4.5, 13, 4, 7));
    p.drawRect(QRectF(10, 6, 4, 14));
    p.drawRect(QRectF(15.5, 10, 4, 10));
    percento(p, c, 2.5, 2, 6);
}

void info(QPainter& p, const QColor& c) {
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawEllipse(QPointF(12, 12), 10, 10);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(12, 7), 1.8, 1.8);
    p.drawRoundedRect(QRectF(10.4, 10.5, 3.2, 8.5), 1, 1);
}

void persona(QPainter& p, const QPointF& testa, double scala) {
    p.drawEllipse(testa, 3.2 * scala, 3.2 * scala);
    QPainterPath spalle;
    const QRectF busto(testa.x() - 6 * scala, testa.y() + 4 * scala, 12 * scala, 12 * scala);
    spalle.moveTo(busto.center());
    spalle.arcTo(busto, 0, 180);
    spalle.closeSubpath();
    p.drawPath(spalle);
}

void utenti(QPainter& p, const QColor& c) {
    // Two people, one before the other.
    p.setPen(QPen(Qt::white, 1.2));
    p.setBrush(c.lighter(150));
    persona(p, QPointF(15.5, 6.5), 0.85);
    p.setBrush(c);
    persona(p, QPointF(9, 8.5), 1);
}

void copia(QPainter& p, const QColor& c) {
    // Two sheets, the copy over the original.
    foglio(p, c, QRectF(3, 2.5, 11, 14));
    foglio(p, c, QRectF(9.5, 7.5, 11, 14));
    p.drawLine(QPointF(12, 11.5), QPointF(18, 11.5));
    p.drawLine(QPointF(12, 14.5), QPointF(18, 14.5));
    p.drawLine(QPointF(12, 17.5), QPointF(16, 17.5));
}

void inserisci(QPainter& p, const QColor& c) {
    // A bold plus: add the movement to the book.
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawRoundedRect(QRectF(9.5, 3, 5, 18), 1.5, 1.5);
    p.drawRoundedRect(QRectF(3, 9.5, 18, 5), 1.5, 1.5);
}

void varia(QPainter& p, const QColor& c) {
    // A pencil writing on a line: change the movement.
    p.setPen(tratto(c, 1.5));
    p.drawLine(QPointF(3, 21.5), QPointF(21, 21.5));
    p.save();
    p.translate(12, 11);
    p.rotate(-45);
    p.setBrush(QColor(240, 200, 60));
    p.drawRect(QRectF(-4, -2.5, 12, 5));
    p.setBrush(c);
    p.drawRect(QRectF(8, -2.5, 2.5, 5));
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({QPointF(-4, -2.5), QPointF(-8.5, 0), QPointF(-4, 2.5)}));
    p.restore();
}

void elimina(QPainter& p, const QColor& c) {
    // A waste bin: delete the rows chosen.
    p.setPen(tratto(c, 1.8));
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(3.5, 6), QPointF(20.5, 6));
    p.drawPolyline(QPolygonF({QPointF(9, 6), QPointF(9, 3), QPointF(15, 3), QPointF(15, 6)}));
    p.drawPolygon(
        QPolygonF({QPointF(5.5, 6), QPointF(7, 21.5), QPointF(17, 21.5), QPointF(18.5, 6)}));
    for (double x : {9.5, 12.0, 14.5}) {
        p.drawLine(QPointF(x, 10), QPointF(x, 18));
    }
}

void ok(QPainter& p, const QColor& c) {
    p.setPen(tratto(c, 3.5));
    p.drawPolyline(QPolygonF({QPointF(4, 12.5), QPointF(9.5, 18), QPointF(20, 6)}));
}

void annulla(QPainter& p, const QColor& c) {
    p.setPen(tratto(c, 2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(12, 12), 9.5, 9.5);
    p.setPen(tratto(c, 3));
    p.drawLine(QPointF(8, 8), QPointF(16, 16));
    p.drawLine(QPointF(16, 8), QPointF(8, 16));
}

void salva(QPainter& p, const QColor& c) {
    // A diskette.
    p.setPen(tratto(c, 1.5));
    p.setBrush(c);
    p.drawPolygon(QPolygonF(
        {QPointF(3, 3), QPointF(18, 3), QPointF(21, 6), QPointF(21, 21), QPointF(3, 21)}));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(7, 3, 9, 6));
    p.drawRect(QRectF(6, 13, 12, 8));
    p.setBrush(c);
    p.drawRect(QRectF(12.5, 4.5, 2, 3));
}

void orologio(QPainter& p, const QColor& c) {
    // A clock: read the date and the time again.
    p.setPen(tratto(c, 2));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(12, 12), 9.5, 9.5);
    p.setPen(tratto(c, 2.2));
    p.drawLine(QPointF(12, 12), QPointF(12, 6));
    p.drawLine(QPointF(12, 12), QPointF(16.5, 14.5));
}

void esporta(QPainter& p, const QColor& c) {
    // A sheet of figures with an arrow carrying it out: the export for the accountant.
    foglio(p, c, QRectF(3, 2.5, 12, 17));
    for (double y : {7.0, 10.0, 13.0}) {
        p.drawLine(QPointF(5.5, y), QPointF(12.5, y));
    }
    p.setPen(tratto(QColor(20, 120, 40), 2.5));
    p.drawLine(QPointF(11, 17), QPointF(21, 17));
    p.drawLine(QPointF(17.5, 13.5), QPointF(21, 17));
    p.drawLine(QPointF(17.5, 20.5), QPointF(21, 17));
}

struct Immagine {
    Disegno disegno;
    QColor colore;
};

const QHash<QString, Immagine>& immagini() {
    static const QHash<QString, Immagine> tutte = {
        {QStringLiteral("RIPRISTINA"), {ripristina, kBlu}},
        {QStringLiteral("NUOVO"), {nuovo, kVerde}},
        {QStringLiteral("CANCELLA"), {croce, kRosso}},
        {QStringLiteral("PRECEDENTE"), {precedente, kBlu}},
        {QStringLiteral("SUCCESSIVO"), {successivo, kBlu}},
        {QStringLiteral("ESCI"), {esci, kBlu}},
        {QStringLiteral("STAMPA"), {stampa, QColor(60, 60, 70)}},
        {QStringLiteral("PARAMETRI"), {parametri, QColor(80, 90, 110)}},
        {QStringLiteral("CODICI_IVA"), {codiciIva, QColor(170, 90, 0)}},
        {QStringLiteral("SITUAZIONE_IVA"), {situazioneIva, kBlu}},
        {QStringLiteral("INFO"), {info, kBlu}},
        {QStringLiteral("UTENTI"), {utenti, kBlu}},
        {QStringLiteral("COPIA"), {copia, kBlu}},
        {QStringLiteral("ESPORTA"), {esporta, kBlu}},
        {QStringLiteral("INSERISCI"), {inserisci, kVerde}},
        {QStringLiteral("VARIA"), {varia, kBlu}},
        {QStringLiteral("ELIMINA"), {elimina, kRosso}},
        {QStringLiteral("OK"), {ok, kVerde}},
        {QStringLiteral("ANNULLA"), {annulla, kRosso}},
        {QStringLiteral("SALVA"), {salva, kBlu}},
        {QStringLiteral("OROLOGIO"), {orologio, kBlu}},
    };
    return tutte;
}

// Paints the picture when a button asks for it, at the pixel size asked for; a pixmap once
// painted is kept in the pixmap cache.
class ImmagineDisegnata : public QIconEngine {
  public:
    ImmagineDisegnata(QString nome, Immagine immagine, bool sempreGrigia)
        : nome_(std::move(nome)), immagine_(immagine), sempreGrigia_(sempreGrigia) {}

    void paint(QPainter* pittore, const QRect& rettangolo, QIcon::Mode modo,
               QIcon::State) override {
        const double lato = std::min(rettangolo.width(), rettangolo.height());
        pittore->save();
        pittore->setRenderHint(QPainter::Antialiasing);
        pittore->translate(rettangolo.x() + (rettangolo.width() - lato) / 2,
                           rettangolo.y() + (rettangolo.height() - lato) / 2);
        pittore->scale(lato / kLato, lato / kLato);
        const bool grigia = sempreGrigia_ || modo == QIcon::Disabled;
        immagine_.disegno(*pittore, grigia ? kGrigio : immagine_.colore);
        pittore->restore();
    }

    QPixmap pixmap(const QSize& misura, QIcon::Mode modo, QIcon::State stato) override {
        const bool grigia = sempreGrigia_ || modo == QIcon::Disabled;
        const QString chiave = QStringLiteral("vardello-%1-%2x%3-%4")
                                   .arg(nome_)
                                   .arg(misura.width())
                                   .arg(misura.height())
                                   .arg(grigia);
        QPixmap immagine;
        if (!QPixmapCache::find(chiave, &immagine)) {
            immagine = QPixmap(misura);
            immagine.fill(Qt::transparent);
            QPainter pittore(&immagine);
            paint(&pittore, QRect(QPoint(0, 0), misura), modo, stato);
            pittore.end();
            QPixmapCache::insert(chiave, immagine);
        }
        return immagine;
    }

    QSize actualSize(const QSize& misura, QIcon::Mode, QIcon::State) override { return misura; }
    QIconEngine* clone() const override { return new ImmagineDisegnata(*this); }
    QString key() const override { return QStringLiteral("ImmagineDisegnata"); }

  private:
    QString nome_;
    Immagine immagine_;
    bool sempreGrigia_;
};

}  // namespace

QIcon immaginePulsante(const QString& nome) {
    const bool disabilitata = nome.endsWith(QLatin1String("_D"));
    const QString base = disabilitata ? nome.chopped(2) : nome;
    const auto immagine = immagini().constFind(base);
    if (immagine == immagini().constEnd()) {
        return {};
    }
    return QIcon(new ImmagineDisegnata(base, *immagine, disabilitata));
}
