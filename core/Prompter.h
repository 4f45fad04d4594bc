#pragma once

#include <QString>

// Every message box, question and input box of the program goes through the current prompter,
// so that tests can answer them and read what was asked.
namespace Msg {
enum Style : int {
    OKOnly = 0,
    OKCancel = 1,
    YesNoCancel = 3,
    YesNo = 4,
    Critical = 16,
    Question = 32,
    Exclamation = 48,
    Information = 64,
    // The second button answers Enter: for questions whose careless Enter would lose data.
    DefaultButton2 = 256,
};
enum Answer : int { OK = 1, Cancel = 2, Yes = 6, No = 7 };
}

// The caption of every message box that names none.
inline const QString AppTitle = QStringLiteral("Zentrel Booking Manager");

class Prompter {
public:
    virtual ~Prompter() = default;
    // Buttons and icon as one Msg::Style sum; answers one Msg::Answer.
    virtual int MsgBox(const QString& prompt, int style, const QString& title) = 0;
    // The typed text, or an empty text when the box was cancelled.
    virtual QString InputBox(const QString& prompt, const QString& title, const QString& defaultText) = 0;
};

// Installs the prompter that answers from now on; null puts back the one that shows Qt dialogs.
void SetPrompter(Prompter* prompter);
Prompter& CurrentPrompter();

int MsgBox(const QString& prompt, int style = Msg::OKOnly, const QString& title = AppTitle);
QString InputBox(const QString& prompt, const QString& title = AppTitle, const QString& defaultText = {});
