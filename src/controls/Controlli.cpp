#include "Controlli.h"

#include <QAbstractSpinBox>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTabBar>
#include <QToolButton>

#include "ValutaBox.h"

namespace {

// A control whose children are its own parts, not further controls.
bool controlloComposto(const QWidget* controllo) {
    if (tipoControllo(controllo) != TipoControllo::Altro) {
        return true;
    }
    const bool areaConContenuto = qobject_cast<const QScrollArea*>(controllo) != nullptr;
    return (qobject_cast<const QAbstractScrollArea*>(controllo) && !areaConContenuto) ||
           qobject_cast<const QAbstractSpinBox*>(controllo) ||
           qobject_cast<const QCalendarWidget*>(controllo) ||
           qobject_cast<const QTabBar*>(controllo);  // its scroll arrows are not buttons
}

void raccogli(const QWidget* contenitore, QList<QWidget*>& controlli) {
    for (QObject* figlio : contenitore->children()) {
        auto* controllo = qobject_cast<QWidget*>(figlio);
        if (!controllo || controllo->isWindow()) {
            continue;
        }
        controlli.append(controllo);
        if (!controlloComposto(controllo)) {
            raccogli(controllo, controlli);
        }
    }
}

}  // namespace

TipoControllo tipoControllo(const QWidget* controllo) {
    if (qobject_cast<const ValutaBox*>(controllo)) {
        return TipoControllo::Importo;
    }
    if (const auto* testo = qobject_cast<const QLineEdit*>(controllo)) {
        return testo->inputMask().isEmpty() ? TipoControllo::Testo : TipoControllo::Maschera;
    }
    if (qobject_cast<const QComboBox*>(controllo)) {
        return TipoControllo::Combinata;
    }
    if (qobject_cast<const QListView*>(controllo)) {
        return TipoControllo::Elenco;
    }
    if (qobject_cast<const QPushButton*>(controllo) ||
        qobject_cast<const QToolButton*>(controllo)) {
        return TipoControllo::Pulsante;
    }
    if (qobject_cast<const QCheckBox*>(controllo)) {
        return TipoControllo::Casella;
    }
    if (qobject_cast<const QRadioButton*>(controllo)) {
        return TipoControllo::Opzione;
    }
    if (qobject_cast<const QLabel*>(controllo)) {
        return TipoControllo::Etichetta;
    }
    return TipoControllo::Altro;
}

bool campoDiImmissione(TipoControllo tipo) {
    return tipo == TipoControllo::Elenco || tipo == TipoControllo::Testo ||
           tipo == TipoControllo::Maschera || tipo == TipoControllo::Combinata;
}

QList<QWidget*> controlliDi(const QWidget* finestra) {
    QList<QWidget*> controlli;
    raccogli(finestra, controlli);
    return controlli;
}
