#include "QtInteraction.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

namespace {

QMessageBox::Icon iconaQt(Interaction::Icon icon) {
    switch (icon) {
        case Interaction::Icon::Information:
            return QMessageBox::Information;
        case Interaction::Icon::Exclamation:
            return QMessageBox::Warning;
        case Interaction::Icon::Question:
            return QMessageBox::Question;
        case Interaction::Icon::Critical:
            return QMessageBox::Critical;
        case Interaction::Icon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons pulsantiQt(Interaction::Buttons buttons) {
    switch (buttons) {
        case Interaction::Buttons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case Interaction::Buttons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        case Interaction::Buttons::OkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case Interaction::Buttons::Ok:
            break;
    }
    return QMessageBox::Ok;
}

QMessageBox::StandardButton pulsanteQt(Interaction::Answer risposta) {
    switch (risposta) {
        case Interaction::Answer::Yes:
            return QMessageBox::Yes;
        case Interaction::Answer::No:
            return QMessageBox::No;
        case Interaction::Answer::Cancel:
            return QMessageBox::Cancel;
        case Interaction::Answer::Ok:
            break;
    }
    return QMessageBox::Ok;
}

}  // namespace

Interaction::Answer QtInteraction::showMessage(const QString& text, const QString& title, Icon icon,
                                               Buttons buttons, std::optional<Answer> defaultAnswer) {
    QMessageBox box(iconaQt(icon), title, text, pulsantiQt(buttons), QApplication::activeWindow());
    if (defaultAnswer) {
        box.setDefaultButton(pulsanteQt(*defaultAnswer));
    }
    switch (box.exec()) {
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        case QMessageBox::Cancel:
            return Answer::Cancel;
        default:
            return buttons == Buttons::YesNo ? Answer::No : Answer::Ok;
    }
}

void QtInteraction::beep() {
    QApplication::beep();
}

std::optional<QString> QtInteraction::inputBox(const QString& prompt, const QString& title,
                                               const QString& defaultText) {
    bool ok = false;
    const QString text = QInputDialog::getText(QApplication::activeWindow(), title, prompt,
                                               QLineEdit::Normal, defaultText, &ok);
    if (!ok) {
        return std::nullopt;
    }
    return text;
}

bool QtInteraction::choosePrinter(QPrinter& printer) {
    QPrintDialog dialog(&printer, QApplication::activeWindow());
    return dialog.exec() == QDialog::Accepted;
}

std::optional<QString> QtInteraction::chooseSaveFile(const QString& title,
                                                     const QString& proposedPath,
                                                     const QString& filter) {
    const QString chosen =
        QFileDialog::getSaveFileName(QApplication::activeWindow(), title, proposedPath, filter);
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    return chosen;
}
