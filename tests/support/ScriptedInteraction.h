#pragma once

#include <QList>
#include <QQueue>
#include <QString>
#include <functional>

#include "Interaction.h"

// The test double of the person: records every message (each counts its beep as well), beep,
// input box and printer dialog, and answers from queues (a message with no queued answer gets Ok /
// Yes for a question with Yes, an input box with none is cancelled, the printer dialog is accepted
// and prints to the PDF file set in pdfPath).
class ScriptedInteraction : public Interaction {
  public:
    struct Message {
        QString text;
        QString title;
        Icon icon;
        Buttons buttons;
        std::optional<Answer> defaultAnswer;  // the button Enter would press
    };

    void beep() override { ++beeps; }
    std::optional<QString> inputBox(const QString& prompt, const QString& title,
                                    const QString& defaultText) override;
    bool choosePrinter(QPrinter& printer) override;
    // Records "title|proposed path|filter"; answers from saveAnswers, cancelled when empty.
    std::optional<QString> chooseSaveFile(const QString& title, const QString& proposedPath,
                                          const QString& filter) override;

    void clear();

    QList<Message> messages;
    QQueue<Answer> answers;
    int beeps = 0;
    QList<QString> inputPrompts;
    QQueue<std::optional<QString>> inputAnswers;
    int printerDialogs = 0;
    bool cancelPrinter = false;
    QString pdfPath;  // where an accepted printer dialog sends the print
    QList<QString> saveDialogs;
    QQueue<QString> saveAnswers;
    // Runs while a message is up, before its answer: a test can do there what a real box
    // does meanwhile (take the activation from the window, for one).
    std::function<void(const Message&)> duranteMessaggio;

protected:
    Answer showMessage(const QString& text, const QString& title, Icon icon, Buttons buttons,
                       std::optional<Answer> defaultAnswer) override;
};
