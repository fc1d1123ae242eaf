#include "BarraScorrimento.h"

#include <QStyle>
#include <QStyleOptionSlider>

BarraScorrimento::BarraScorrimento(Qt::Orientation orientamento, QWidget* parent)
    : QScrollBar(orientamento, parent) {}

BarraScorrimento::Aspetto BarraScorrimento::aspetto() const {
    QStyleOptionSlider opzione;
    initStyleOption(&opzione);
    return {
        style()->subControlRect(QStyle::CC_ScrollBar, &opzione, QStyle::SC_ScrollBarSlider, this),
        minimum() == maximum()};
}

void BarraScorrimento::sliderChange(SliderChange cambio) {
    // The orientation changes the whole bar; a range or value change that leaves the bar
    // looking the same needs no painting.
    if (cambio != SliderOrientationChange && !maiDisegnata_ && aspetto() == disegnato_) {
        return;
    }
    QScrollBar::sliderChange(cambio);
}

void BarraScorrimento::paintEvent(QPaintEvent* evento) {
    disegnato_ = aspetto();
    maiDisegnata_ = false;
    QScrollBar::paintEvent(evento);
}
