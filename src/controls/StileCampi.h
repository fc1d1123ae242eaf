#pragma once

#include <QProxyStyle>

// The platform's style, with the frame and background of a text field drawn once per look
// and then copied: the main window repaints eight fields at every movement recorded, and
// drawing each field's rounded, smoothed frame again was a fifth of that work. Fusion only
// (the style of the program's platforms without a theme of their own); others draw as usual.
class StileCampi : public QProxyStyle {
  public:
    // Over the style named (a style factory's key): the one in effect, which the person may
    // have chosen (-style, QT_STYLE_OVERRIDE).
    explicit StileCampi(const QString& chiaveBase);

    void drawPrimitive(PrimitiveElement elemento, const QStyleOption* opzione, QPainter* pittore,
                       const QWidget* widget = nullptr) const override;
};
