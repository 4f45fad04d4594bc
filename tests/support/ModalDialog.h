#pragma once

#include <QApplication>
#include <QDialog>
#include <QStringList>
#include <QTimer>
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
