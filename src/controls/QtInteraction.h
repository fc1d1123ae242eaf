#pragma once

#include "Interaction.h"

class QWidget;

// The program's real dialogs: Qt message boxes, the system beep, an input box, the
// platform's printer dialog (which also offers printing to a PDF file) and save dialog.
class QtInteraction : public Interaction {
public:
    void beep() override;
    std::optional<QString> inputBox(const QString& prompt, const QString& title,
                                    const QString& defaultText) override;
    bool choosePrinter(QPrinter& printer) override;
    std::optional<QString> chooseSaveFile(const QString& title, const QString& proposedPath,
                                          const QString& filter) override;

protected:
    Answer showMessage(const QString& text, const QString& title, Icon icon, Buttons buttons,
                       std::optional<Answer> defaultAnswer) override;
};
