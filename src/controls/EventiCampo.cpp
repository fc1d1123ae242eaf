#include "EventiCampo.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QScopedValueRollback>
#include <QWidget>

void EventiCampo::collega(QWidget* campo, Gestori gestori) {
    gestori_.insert(campo, std::move(gestori));
    campo->installEventFilter(this);
}

void EventiCampo::lascia(QWidget* campo) {
    attivo_ = nullptr;
    const Gestori& g = gestori_[campo];
    if (g.esce) {
        g.esce();
    }
}

bool EventiCampo::eventFilter(QObject* oggetto, QEvent* event) {
    const auto trovato = gestori_.constFind(oggetto);
    if (trovato == gestori_.constEnd() || oggetto == inoltro_) {
        return false;
    }
    auto* campo = static_cast<QWidget*>(oggetto);
    switch (event->type()) {
        case QEvent::FocusIn:
        case QEvent::FocusOut: {
            const bool entrata = event->type() == QEvent::FocusIn;
            const auto motivo = static_cast<QFocusEvent*>(event)->reason();
            const bool altraFinestra =
                motivo == Qt::ActiveWindowFocusReason || motivo == Qt::PopupFocusReason;
            if (entrata ? (campo == attivo_ && altraFinestra)
                        : (campo != attivo_ || altraFinestra)) {
                return false;  // the field never left: another window came and went
            }
            // The field does its own part first (caret, selection), then the handler runs,
            // so a selection the handler makes stays.
            {
                const QScopedValueRollback inoltro(inoltro_, oggetto);
                QCoreApplication::sendEvent(campo, event);
            }
            if (!entrata) {
                lascia(campo);
                return true;
            }
            if (attivo_ && attivo_ != campo) {
                lascia(attivo_);  // the focus moved while the window was not active
            }
            attivo_ = campo;
            if (trovato->entra) {
                trovato->entra();
            }
            return true;
        }
        case QEvent::KeyPress:
            if (trovato->tasto) {
                return trovato->tasto(static_cast<QKeyEvent*>(event));
            }
            break;
        default:
            break;
    }
    return false;
}
