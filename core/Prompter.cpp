#include "Prompter.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

namespace {

class DialogPrompter : public Prompter {
public:
    int MsgBox(const QString& prompt, int style, const QString& title) override
    {
        QMessageBox box(iconOf(style), title, prompt, QMessageBox::NoButton, QApplication::activeWindow());
        switch (style & 7) {
        case Msg::OKCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            break;
        case Msg::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            break;
        case Msg::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            break;
        default:
            box.setStandardButtons(QMessageBox::Ok);
        }
        if ((style & Msg::DefaultButton2) && (style & 7) != Msg::OKOnly)
            box.setDefaultButton((style & 7) == Msg::OKCancel ? QMessageBox::Cancel : QMessageBox::No);
        const int clicked = box.exec();
        // A box that the program's end took away unanswered (the system's shutdown while it was shown)
        // counts as answered by Esc: a question left open must never go on as its OK or Yes.
        if (!box.clickedButton())
            return (style & 7) == Msg::YesNo ? Msg::No : (style & 7) == Msg::OKOnly ? Msg::OK : Msg::Cancel;
        switch (clicked) {
        case QMessageBox::Yes:
            return Msg::Yes;
        case QMessageBox::No:
            return Msg::No;
        case QMessageBox::Cancel:
            return Msg::Cancel;
        default:
            return Msg::OK;
        }
    }

    QString InputBox(const QString& prompt, const QString& title, const QString& defaultText) override
    {
        bool ok = false;
        QString text = QInputDialog::getText(QApplication::activeWindow(), title, prompt, QLineEdit::Normal,
                                             defaultText, &ok);
        return ok ? text : QString();
    }

private:
    static QMessageBox::Icon iconOf(int style)
    {
        switch (style & 0x70) {
        case Msg::Critical:
            return QMessageBox::Critical;
        case Msg::Question:
            return QMessageBox::Question;
        case Msg::Exclamation:
            return QMessageBox::Warning;
        case Msg::Information:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
        }
    }
};

DialogPrompter dialogs;
Prompter* current = nullptr;

} // namespace

void SetPrompter(Prompter* prompter) { current = prompter; }

Prompter& CurrentPrompter() { return current ? *current : dialogs; }

int MsgBox(const QString& prompt, int style, const QString& title) { return CurrentPrompter().MsgBox(prompt, style, title); }

QString InputBox(const QString& prompt, const QString& title, const QString& defaultText)
{
    return CurrentPrompter().InputBox(prompt, title, defaultText);
}
