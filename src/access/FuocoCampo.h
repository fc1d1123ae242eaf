#pragma once

class QEvent;
class QWidget;

// When a field's got-focus and lost-focus rules run. The person enters a field when it gets
// the focus, whatever the reason (the window opening included), unless the field was never
// left; the person leaves it when the focus moves to another control of the same window.
// Focus lost only because the whole window lost the activation (a message box, the VAT code
// lookup, another program) does not leave the field, so nothing runs when it comes back.
enum class PassaggioFuoco { Nessuno, Entra, Esce };

// What the event means for the field; the field remembers whether it is entered.
PassaggioFuoco passaggioDiFuoco(QWidget* campo, const QEvent* evento);
