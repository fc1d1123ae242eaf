#pragma once

#include <QString>
#include <optional>

class QPrinter;

// Everything the program says to the person, or asks, goes through this interface: message
// boxes, the warning beep, the input box and the printer dialog. The program shows Qt
// dialogs; tests install a scripted double that records each call and answers from a queue.
class Interaction {
  public:
    enum class Icon { None, Information, Exclamation, Question, Critical };
    enum class Buttons { Ok, YesNo, YesNoCancel, OkCancel };
    enum class Answer { Ok, Yes, No, Cancel };

    virtual ~Interaction() = default;

    // A message box: the warning beep sounds first, then the box is shown. defaultAnswer is
    // the button that Enter presses when the box opens; no value leaves it to the first button
    // (Ok, Yes). An irreversible question passes Answer::No.
    Answer message(const QString& text, const QString& title, Icon icon,
                   Buttons buttons = Buttons::Ok,
                   std::optional<Answer> defaultAnswer = std::nullopt) {
        beep();
        return showMessage(text, title, icon, buttons, defaultAnswer);
    }
    virtual void beep() = 0;
    // The text typed, or no value when the person cancelled.
    virtual std::optional<QString> inputBox(const QString& prompt, const QString& title,
                                            const QString& defaultText) = 0;
    // Lets the person choose printer and copies; false when cancelled.
    virtual bool choosePrinter(QPrinter& printer) = 0;
    // The platform's save dialog, opening on the proposed path and offering the files the
    // filter names ("Cartella di lavoro Excel (*.xlsx)"); the path chosen, or no value when
    // the person cancelled. The dialog asks itself before an existing file is replaced.
    virtual std::optional<QString> chooseSaveFile(const QString& title,
                                                  const QString& proposedPath,
                                                  const QString& filter) = 0;

protected:
    // Shows the message box, without the beep that message() sounds before it.
    virtual Answer showMessage(const QString& text, const QString& title, Icon icon,
                               Buttons buttons, std::optional<Answer> defaultAnswer) = 0;
};
