#include "ScriptedInteraction.h"

#include <QPrinter>

Interaction::Answer ScriptedInteraction::showMessage(const QString& text, const QString& title,
                                                     Icon icon, Buttons buttons,
                                                     std::optional<Answer> defaultAnswer) {
    messages.append({text, title, icon, buttons, defaultAnswer});
    if (duranteMessaggio) {
        duranteMessaggio(messages.last());
    }
    if (!answers.isEmpty()) {
        return answers.dequeue();
    }
    return buttons == Buttons::Ok || buttons == Buttons::OkCancel ? Answer::Ok : Answer::Yes;
}

std::optional<QString> ScriptedInteraction::inputBox(const QString& prompt, const QString& title,
                                                     const QString&) {
    inputPrompts.append(title + QLatin1Char('|') + prompt);
    if (inputAnswers.isEmpty()) {
        return std::nullopt;
    }
    return inputAnswers.dequeue();
}

bool ScriptedInteraction::choosePrinter(QPrinter& printer) {
    ++printerDialogs;
    if (cancelPrinter) {
        return false;
    }
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdfPath);
    return true;
}

std::optional<QString> ScriptedInteraction::chooseSaveFile(const QString& title,
                                                           const QString& proposedPath,
                                                           const QString& filter) {
    saveDialogs.append(title + QLatin1Char('|') + proposedPath + QLatin1Char('|') + filter);
    if (saveAnswers.isEmpty()) {
        return std::nullopt;
    }
    return saveAnswers.dequeue();
}

void ScriptedInteraction::clear() {
    messages.clear();
    answers.clear();
    beeps = 0;
    inputPrompts.clear();
    inputAnswers.clear();
    printerDialogs = 0;
    cancelPrinter = false;
    saveDialogs.clear();
    saveAnswers.clear();
    duranteMessaggio = nullptr;
}
