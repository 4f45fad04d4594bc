#pragma once

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>
#include <deque>
#include <functional>

// Runs act on the next modal dialog as soon as its own event loop shows it, so a test can fill
// in and click what a user would while the code under test waits in exec().
inline void WhenModalShown(std::function<void(QWidget*)> act, int triesLeft = 200)
{
    QTimer::singleShot(5, [act, triesLeft] {
        if (QWidget* dialog = QApplication::activeModalWidget())
            act(dialog);
        else if (triesLeft > 0)
            WhenModalShown(act, triesLeft - 1);
    });
}

template <class T>
T* Control(QWidget* form, const char* name)
{
    return form->findChild<T*>(QString::fromLatin1(name));
}

// Answers every modal dialog shown while it lives, in the order they come, each by the next answer
// given once its own event loop runs; a dialog beyond the answers is closed unanswered, so that a
// dialog too many is seen rather than waited on. Keeps what was shown: the text of a message box,
// the object name of any other dialog.
class ModalDialogs : public QObject {
public:
    ModalDialogs() { qApp->installEventFilter(this); }
    ~ModalDialogs() override { qApp->removeEventFilter(this); }
    void Then(std::function<void(QDialog*)> answer) { m_answers.push_back(std::move(answer)); }

    QStringList shown;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* dialog = qobject_cast<QDialog*>(watched);
        if (event->type() != QEvent::Show || !dialog || !dialog->isModal())
            return false;
        auto* box = qobject_cast<QMessageBox*>(dialog);
        shown << (box ? box->text() : dialog->objectName());
        std::function<void(QDialog*)> answer = [](QDialog* d) { d->reject(); };
        if (!m_answers.empty()) {
            answer = std::move(m_answers.front());
            m_answers.pop_front();
        }
        QTimer::singleShot(0, dialog, [dialog, answer] { answer(dialog); });
        return false;
    }

private:
    std::deque<std::function<void(QDialog*)>> m_answers;
};

// The names of the controls Tab reaches from first, in order, up to first again; hidden ones are left out.
inline QStringList TabOrder(QWidget* first)
{
    QStringList names;
    QWidget* control = first;
    do {
        if ((control->focusPolicy() & Qt::TabFocus) && !control->isHidden())
            names << control->objectName();
        control = control->nextInFocusChain();
    } while (control && control != first);
    return names;
}
