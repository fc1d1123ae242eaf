#pragma once

#include <QRect>
#include <QScrollBar>

// A scroll bar that repaints only when what it shows changes. A grid of thousands of rows
// grows by one row at each insert: the range and the value change, but the slider stays on
// the same pixels, and repainting the bar was most of what an insert cost on screen.
class BarraScorrimento : public QScrollBar {
  public:
    explicit BarraScorrimento(Qt::Orientation orientamento, QWidget* parent = nullptr);

  protected:
    void sliderChange(SliderChange cambio) override;
    void paintEvent(QPaintEvent* evento) override;

  private:
    // What the style draws from the range and the value: the slider's place and size, and
    // whether there is anything to scroll (the bar looks disabled otherwise).
    struct Aspetto {
        QRect cursore;
        bool vuota = false;
        bool operator==(const Aspetto&) const = default;
    };
    Aspetto aspetto() const;

    Aspetto disegnato_;
    bool maiDisegnata_ = true;
};
