#include "FuocoCampo.h"

#include <QFocusEvent>
#include <QWidget>

namespace {
const char* const kInCampo = "vardelloInCampo";
}  // namespace

PassaggioFuoco passaggioDiFuoco(QWidget* campo, const QEvent* evento) {
    const bool dentro = campo->property(kInCampo).toBool();
    if (evento->type() == QEvent::FocusIn && !dentro) {
        campo->setProperty(kInCampo, true);
        return PassaggioFuoco::Entra;
    }
    if (evento->type() == QEvent::FocusOut && dentro) {
        const Qt::FocusReason motivo = static_cast<const QFocusEvent*>(evento)->reason();
        if (motivo != Qt::ActiveWindowFocusReason && motivo != Qt::PopupFocusReason) {
            campo->setProperty(kInCampo, false);
            return PassaggioFuoco::Esce;
        }
    }
    return PassaggioFuoco::Nessuno;
}
