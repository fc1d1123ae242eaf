#include "InvioSuPulsanti.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QToolButton>

namespace {

class InvioSuPulsanti : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* oggetto, QEvent* evento) override {
        if (evento->type() != QEvent::KeyPress) {
            return false;
        }
        const auto* tasto = static_cast<QKeyEvent*>(evento);
        const bool invio = tasto->key() == Qt::Key_Return || tasto->key() == Qt::Key_Enter;
        const Qt::KeyboardModifiers modificatori = tasto->modifiers() & ~Qt::KeypadModifier;
        if (!invio || modificatori != Qt::NoModifier) {
            return false;
        }
        auto* pulsante = qobject_cast<QAbstractButton*>(oggetto);
        // Check and option boxes leave Enter to the window's default button.
        if (!pulsante ||
            !(qobject_cast<QPushButton*>(pulsante) || qobject_cast<QToolButton*>(pulsante))) {
            return false;
        }
        if (!pulsante->hasFocus() || !pulsante->isEnabled() || !pulsante->isVisible()) {
            return false;
        }
        // A held key clicks once: a repeated Enter must not store a movement twice.
        if (!tasto->isAutoRepeat()) {
            pulsante->click();
        }
        return true;
    }
};

}  // namespace

void installaInvioSuPulsanti() {
    static const char* const kNome = "vardello-invio-su-pulsanti";
    QCoreApplication* applicazione = QCoreApplication::instance();
    if (!applicazione ||
        applicazione->findChild<QObject*>(QLatin1String(kNome), Qt::FindDirectChildrenOnly)) {
        return;
    }
    auto* filtro = new InvioSuPulsanti(applicazione);
    filtro->setObjectName(QLatin1String(kNome));
    applicazione->installEventFilter(filtro);
}
