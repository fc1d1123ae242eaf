#include "FieldRules.h"

#include <QComboBox>
#include <QLineEdit>

#include "Colori.h"
#include "ItalianDate.h"
#include "Services.h"

namespace {

QLineEdit* lineEditOf(QWidget* campo) {
    if (auto* edit = qobject_cast<QLineEdit*>(campo)) {
        return edit;
    }
    if (auto* combo = qobject_cast<QComboBox*>(campo)) {
        return combo->lineEdit();
    }
    return nullptr;
}

void trimText(QWidget* campo) {
    if (QLineEdit* edit = lineEditOf(campo)) {
        const QString trimmed = edit->text().trimmed();
        if (trimmed != edit->text()) {
            edit->setText(trimmed);
        }
    }
}

}  // namespace

void EntraCampo(QWidget* campo) {
    impostaSfondo(campo, coloreModifica());
    trimText(campo);
}

void EntraCampoSeleziona(QWidget* campo) {
    EntraCampo(campo);
    if (QLineEdit* edit = lineEditOf(campo); edit && !edit->text().trimmed().isEmpty()) {
        edit->selectAll();
    }
}

void EsciCampo(QWidget* campo) {
    impostaSfondo(campo, coloreNormale());
    trimText(campo);
}

bool ControllaData(QLineEdit* campo) {
    QString s = campo->text();
    if (s == QLatin1String("__/__/____")) {
        return true;
    }
    const qsizetype blank = s.indexOf(QLatin1Char('_'));
    if (blank >= 0) {
        s.truncate(blank);
    }
    const auto data = readItalianDate(s, services::clock().today().year());
    if (!data) {
        campo->setFocus();
        services::ui().beep();
        return false;
    }
    campo->setText(formatItalianDate(*data));
    return true;
}

QLineEdit* creaCampoData(QWidget* parent, const QString& nome) {
    auto* campo = new QLineEdit(parent);
    campo->setObjectName(nome);
    campo->setInputMask(QStringLiteral("99/99/9999;_"));
    return campo;
}

QLineEdit* creaCampoOra(QWidget* parent, const QString& nome) {
    auto* campo = new QLineEdit(parent);
    campo->setObjectName(nome);
    campo->setInputMask(QStringLiteral("99.99;_"));
    return campo;
}
