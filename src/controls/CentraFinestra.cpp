#include "CentraFinestra.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

void CentraFinestra(QWidget* finestra) {
    const QScreen* schermo = finestra->screen();
    if (!schermo) {
        schermo = QGuiApplication::primaryScreen();
    }
    if (!schermo) {
        return;
    }
    const QRect area = schermo->geometry();
    const QSize dimensioni = finestra->frameGeometry().size();
    finestra->move(area.x() + (area.width() - dimensioni.width()) / 2,
                   area.y() + (area.height() - dimensioni.height()) / 2);
}
