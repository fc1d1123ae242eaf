#pragma once

#include <QEvent>
#include <QFocusEvent>

// True for a focus event that moves the focus between the controls of a window; false for
// any other event, and for the focus a field loses or regains only because its whole window
// was left or came back (another program, a message box, a popup). The field rules run on
// the first kind only, as the person moves from field to field.
inline bool passaggioDiFuoco(const QEvent* evento) {
    if (evento->type() != QEvent::FocusIn && evento->type() != QEvent::FocusOut) {
        return false;
    }
    const Qt::FocusReason motivo = static_cast<const QFocusEvent*>(evento)->reason();
    return motivo != Qt::ActiveWindowFocusReason && motivo != Qt::PopupFocusReason;
}
