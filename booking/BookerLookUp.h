#pragma once

#include "Globals.h"
#include "RegisterForm.h"

#include <QString>
#include <array>
#include <vector>

class QLineEdit;
class QPushButton;
class QWidget;

// The booker boxes of a dialog that takes a booker (the booker dialog, the waiting-list dialog): an
// ID typed or pasted from a register fills name, organisation and telephone from that register,
// empties the other ID boxes and sets the rate class.
class BookerLookUp {
public:
    struct Boxes {
        QLineEdit* name = nullptr;
        QLineEdit* org = nullptr;
        QLineEdit* tel = nullptr;
        QLineEdit* member = nullptr;
        QLineEdit* student = nullptr;
        // Element k for special group k when its table exists.
        std::array<QLineEdit*, SpecialGroupLimit + 1> groups{};
    };

    // The button beside an ID box that opens its register as a look-up; the register's paste writes
    // the chosen ID into the box.
    static QPushButton* RegisterButton(const QString& name, QWidget* parent);

    BookerLookUp() = default;
    // IDs shorter than the minimum are not looked up.
    BookerLookUp(const Boxes& boxes, int idMinimum, int groupIdMinimum);

    // Each looks the box's ID up; a match sets rate, no match changes nothing. A database failure
    // is shown in the error window and changes nothing either.
    void MemberChanged(QString& rate) const;
    void StudentChanged(QString& rate) const;
    void GroupChanged(int group, QString& rate) const;

    // Open the member (0) or student (1) register, or special group k's, as a look-up whose paste
    // writes the chosen ID into this dialog's box of that register.
    void OpenPersonRegister(int index, RegisterForm::Opener opener, QWidget* owner) const;
    void OpenGroupRegister(int group, RegisterForm::Opener opener, QWidget* owner) const;

    // Tab walks the booker boxes in the dialogs' order (name, member ID, student ID, the groups' IDs,
    // telephone, organisation), then the dialog's own controls in `then`, and last the register
    // buttons: a clerk tabs from box to box, and the registers stay within reach of the keyboard.
    void SetTabOrder(const std::vector<QWidget*>& then, const std::array<QPushButton*, 2>& personRegisters,
                     const std::array<QPushButton*, SpecialGroupLimit + 1>& groupRegisters) const;

    // The rate class to store: a class whose ID box was emptied after its look-up no longer holds.
    QString RateAtOk(const QString& rate) const;

private:
    struct Register {
        QString table;
        QString keyColumn;
        QString prefix;
        QString rate;
    };
    void lookUp(QLineEdit* idBox, int minimum, const Register& reg, std::vector<QLineEdit*> toEmpty,
                QString& rate) const;
    std::vector<QLineEdit*> groupBoxesExcept(int group) const;

    Boxes m_boxes;
    int m_idMinimum = 0;
    int m_groupIdMinimum = 0;
};
