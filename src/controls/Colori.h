#pragma once

#include <QColor>

class QWidget;

// The field colours the person sees: yellow while a field is being edited, white when it is
// enabled, the platform's button-face colour when it is disabled.
QColor coloreModifica();     // RGB 255, 255, 0
QColor coloreNormale();      // RGB 255, 255, 255
QColor coloreDisabilitato(); // the platform's button face

// The background of an entry field (its palette's Base role, which text boxes, combo boxes
// and list boxes paint behind their text).
void impostaSfondo(QWidget* campo, const QColor& colore);
QColor sfondo(const QWidget* campo);
