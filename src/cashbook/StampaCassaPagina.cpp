#include "StampaCassaPagina.h"

#include <QFile>
#include <QFontMetricsF>
#include <QPen>
#include <QPrinter>
#include <cmath>

#include "Caratteri.h"
#include "FormHelpers.h"

StampaCassaPagina::StampaCassaPagina(QPrinter& stampante) : stampante_(stampante) {}

bool StampaCassaPagina::inizia() {
    // Positions are measured from the paper's edges, not from the printable area.
    stampante_.setFullPage(true);
    if (!pittore_.begin(&stampante_)) {
        return false;
    }
    pagina_ = 1;
    preparaPagina();
    return true;
}

bool StampaCassaPagina::nuovaPagina() {
    if (!stampante_.newPage()) {
        return false;
    }
    ++pagina_;
    preparaPagina();
    return true;
}

bool StampaCassaPagina::fine() {
    return pittore_.end();
}

void StampaCassaPagina::abbandona() {
    if (!pittore_.isActive()) {
        return;
    }
    stampante_.abort();
    pittore_.end();
    // A print to a file leaves no half-written file behind.
    if (!stampante_.outputFileName().isEmpty()) {
        QFile::remove(stampante_.outputFileName());
    }
}

void StampaCassaPagina::preparaPagina() {
    PreparaStampante(pittore_);
    punti_ = 10;
    pittore_.setBrush(Qt::NoBrush);
    spessoreLinea(spessore_);
}

void StampaCassaPagina::carattere(double punti, bool grassetto) {
    punti_ = punti;
    grassetto_ = grassetto;
}

void StampaCassaPagina::spessoreLinea(int punti) {
    spessore_ = punti;
    QPen penna(Qt::black);
    penna.setCosmetic(true);  // the width is in printer dots, whatever the scale
    penna.setWidth(punti);
    pittore_.setPen(penna);
}

QFont StampaCassaPagina::font() const {
    QFont carattere = carattereFisso(punti_);
    carattere.setBold(grassetto_);
    return carattere;
}

double StampaCassaPagina::larghezza(const QString& testo) const {
    const QFontMetricsF misure(font(), pittore_.device());
    return misure.horizontalAdvance(testo) / pittore_.deviceTransform().m11();
}

void StampaCassaPagina::adattaCarattere(const QString& testo, double larghezzaMassima) {
    // Fixed pitch: the width grows with the size, so one proportion nearly fits; the loop
    // takes off what the printer's rounding of the glyphs adds.
    const double misura = larghezza(testo);
    if (misura <= larghezzaMassima) {
        return;
    }
    punti_ = std::floor(punti_ * larghezzaMassima / misura * 4) / 4;
    while (punti_ > 1 && larghezza(testo) > larghezzaMassima) {
        punti_ -= 0.25;
    }
}

void StampaCassaPagina::testo(double x, double y, const QString& testo) {
    // Text is set in the printer's own resolution, so that the characters keep the metrics of
    // the size asked for and the fixed-pitch columns line up.
    const QPointF punto = pittore_.deviceTransform().map(QPointF(x, y));
    const QFont carattere = font();
    pittore_.save();
    pittore_.resetTransform();
    pittore_.setFont(carattere);
    const QFontMetricsF misure(carattere, pittore_.device());
    pittore_.drawText(punto + QPointF(0, misure.ascent()), testo);
    pittore_.restore();
}

void StampaCassaPagina::rettangolo(double x1, double y1, double x2, double y2) {
    pittore_.drawRect(QRectF(QPointF(x1, y1), QPointF(x2, y2)));
}
