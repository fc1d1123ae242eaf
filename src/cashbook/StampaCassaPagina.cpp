#include "StampaCassaPagina.h"

#include <QFile>
#include <QFontMetricsF>
#include <QPen>
#include <QPrinter>
#include <cmath>

#include "Caratteri.h"
#include "FormHelpers.h"
#include "TestoFisso.h"

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
    // The painter stays in printer dots, every position mapped here: each change of the
    // painter's transform, pen or font is written into the document, and a page of thirty
    // lines would otherwise hold hundreds of them.
    millimetri_ = pittore_.worldTransform();
    pittore_.resetTransform();
    carattereImpostato_ = false;  // PreparaStampante set a font of its own
}

void StampaCassaPagina::carattere(double punti, bool grassetto) {
    punti_ = punti;
    grassetto_ = grassetto;
}

void StampaCassaPagina::spessoreLinea(int punti) {
    if (punti == spessore_ && pittore_.pen().isCosmetic() && pittore_.pen().width() == punti) {
        return;
    }
    spessore_ = punti;
    QPen penna(Qt::black);
    penna.setCosmetic(true);  // the width is in printer dots, whatever the scale
    penna.setWidth(punti);
    pittore_.setPen(penna);
}

const StampaCassaPagina::Carattere& StampaCassaPagina::carattereAttuale() const {
    // A print sets thousands of texts in two or three fonts: each font and its metrics are
    // made once, when the size or the weight asked for changes.
    if (!carattere_ || carattere_->punti != punti_ || carattere_->grassetto != grassetto_) {
        QFont font = carattereFisso(punti_);
        font.setBold(grassetto_);
        const QFontMetricsF misure(font, pittore_.device());
        const double passo = misure.horizontalAdvance(QLatin1Char(' '));
        carattere_.emplace(Carattere{punti_, grassetto_, font, misure, passo});
        carattereImpostato_ = false;
    }
    return *carattere_;
}

double StampaCassaPagina::larghezza(const QString& testo) const {
    return carattereAttuale().misure.horizontalAdvance(testo) / millimetri_.m11();
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
    // Blanks leave no mark: the leading ones move the text by their advance, the trailing
    // ones (a column's padding) are not drawn at all.
    qsizetype inizio = 0;
    while (inizio < testo.size() && testo[inizio] == QLatin1Char(' ')) {
        ++inizio;
    }
    qsizetype fine = testo.size();
    while (fine > inizio && testo[fine - 1] == QLatin1Char(' ')) {
        --fine;
    }
    disegna(x, y, static_cast<double>(inizio),
            inizio == 0 && fine == testo.size() ? testo : testo.sliced(inizio, fine - inizio));
}

void StampaCassaPagina::testoADestra(double x, double y, const QString& testo, int colonne) {
    QString allineato = testo.trimmed();
    if (allineato.size() > colonne) {
        allineato = primiCaratteri(allineato, colonne).toString();
    }
    disegna(x, y, static_cast<double>(colonne - allineato.size()), allineato);
}

void StampaCassaPagina::disegna(double x, double y, double scarto, const QString& testo) {
    if (testo.isEmpty()) {
        return;
    }
    // Text is set in the printer's own resolution, so that the characters keep the metrics of
    // the size asked for and the fixed-pitch columns line up; `scarto` characters of that
    // pitch are skipped before the text.
    const QPointF punto = millimetri_.map(QPointF(x, y));
    const Carattere& carattere = carattereAttuale();
    if (!carattereImpostato_) {
        pittore_.setFont(carattere.font);
        carattereImpostato_ = true;
    }
    pittore_.drawText(punto + QPointF(scarto * carattere.passo, carattere.misure.ascent()), testo);
}

void StampaCassaPagina::rettangolo(double x1, double y1, double x2, double y2) {
    pittore_.drawRect(millimetri_.mapRect(QRectF(QPointF(x1, y1), QPointF(x2, y2))));
}
