#include "Caratteri.h"

#include <QStringList>

QFont carattereFisso(qreal punti) {
    QFont carattere;
    carattere.setFamilies({QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"),
                           QStringLiteral("Cousine"), QStringLiteral("Nimbus Mono PS"),
                           QStringLiteral("DejaVu Sans Mono")});
    carattere.setStyleHint(QFont::TypeWriter);
    carattere.setFixedPitch(true);
    if (punti > 0) {
        carattere.setPointSizeF(punti);
    }
    return carattere;
}
