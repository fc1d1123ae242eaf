#include "Colori.h"

#include <QApplication>
#include <QPalette>
#include <QWidget>

QColor coloreModifica() { return QColor(255, 255, 0); }
QColor coloreNormale() { return QColor(255, 255, 255); }
QColor coloreDisabilitato() { return QApplication::palette().color(QPalette::Button); }

void impostaSfondo(QWidget* campo, const QColor& colore) {
    QPalette palette = campo->palette();
    // Both colour groups, so the colour shows whether the field is enabled or not.
    palette.setColor(QPalette::Active, QPalette::Base, colore);
    palette.setColor(QPalette::Inactive, QPalette::Base, colore);
    palette.setColor(QPalette::Disabled, QPalette::Base, colore);
    campo->setPalette(palette);
}

QColor sfondo(const QWidget* campo) { return campo->palette().color(QPalette::Active, QPalette::Base); }
