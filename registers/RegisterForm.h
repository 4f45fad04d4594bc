#pragma once

#include "RegisterKind.h"

#include <QPointer>
#include <optional>

class QLineEdit;
class QWidget;

// The one instance of a register form: its public variables, which outlive its window, and the
// openers. Each opening builds the window afresh, modal over its owner; every way of closing it
// ends the look-up, so the next plain opening shows no paste button.
class RegisterForm {
public:
    explicit RegisterForm(RegisterKind kind);

    // True from Add until the next Update.
    bool AddMode = false;
    // Opened as a look-up by the booking dialog or by the waiting-list dialog.
    bool isFromBookerForm = false;
    bool isFromWaitingList = false;
    // The special group of the group register, 1 to SpecialGroupCount.
    int TableIndex = 0;
    // The opener's ID box that paste writes the chosen ID number into; its own change handler
    // then looks the ID up.
    QPointer<QLineEdit> PasteTarget;

    enum class Opener { Booker, WaitingList };

    // Opens the register over owner; a look-up when an opener has set its flag and target.
    void Show(QWidget* owner);
    // The look-up openers: sets the opener's flag and target, then opens the register.
    void LookUp(Opener opener, QLineEdit* target, QWidget* owner);

    const RegisterKind& Kind() const { return m_kind; }

private:
    std::optional<QString> table() const;
    void endLookUp();

    RegisterKind m_kind;
};

RegisterForm& frm_Members();
RegisterForm& frm_Members_Dynamic();
RegisterForm& frm_Students();
