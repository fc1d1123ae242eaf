#include "ValutaBox.h"

#include <QLineEdit>
#include <QVBoxLayout>

ValutaBox::ValutaBox(QWidget* parent) : QWidget(parent) {
    txtValuta = new QLineEdit(this);
    txtValuta->setObjectName(QStringLiteral("txtValuta"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(txtValuta);
    setFocusProxy(txtValuta);
    connect(txtValuta, &QLineEdit::textChanged, this, &ValutaBox::Change);
}

QString ValutaBox::text() const { return txtValuta->text(); }
void ValutaBox::setText(const QString& text) { txtValuta->setText(text); }
int ValutaBox::maxLength() const { return txtValuta->maxLength(); }
void ValutaBox::setMaxLength(int length) { txtValuta->setMaxLength(length); }
