#include "FormHelpers.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>

#include "Colori.h"
#include "Services.h"

QString tag(const QWidget* widget) { return widget->property("Tag").toString(); }
void setTag(QWidget* widget, const QString& value) { widget->setProperty("Tag", value); }

void FiltroCifre(int& keyAscii) {
    if (keyAscii == 8 || (keyAscii >= '0' && keyAscii <= '9')) {
        return;
    }
    services::ui().beep();
    keyAscii = 0;
}

bool ContieneNonCifre(const QString& testo) {
    for (const QChar c : testo) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
            return true;
        }
    }
    return false;
}

QString AllineaDestra(QString& testo, int larghezza) {
    testo = testo.trimmed();
    return testo.size() > larghezza ? testo.left(larghezza) : testo.rightJustified(larghezza);
}

QString AllineaSinistra(QString& testo, int larghezza) {
    testo = testo.trimmed();
    return testo.size() > larghezza ? testo.left(larghezza) : testo.leftJustified(larghezza);
}

void DisabilitaCampo(QWidget* controllo) {
    controllo->setEnabled(false);
    impostaSfondo(controllo, coloreDisabilitato());
}

void AbilitaCampo(QWidget* controllo) {
    controllo->setEnabled(true);
    impostaSfondo(controllo, coloreNormale());
}

void AttivaCampo(QWidget* controllo) {
    controllo->setEnabled(true);
    if (auto* edit = qobject_cast<QLineEdit*>(controllo)) {
        edit->selectAll();
        edit->setFocus();
    }
}
