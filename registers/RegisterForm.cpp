#include "RegisterForm.h"
#include "RegisterTable.h"
#include "RegisterWindow.h"

#include "ErrorDisplay.h"
#include "Globals.h"
#include "Prompter.h"
#include "SpecialGroups.h"

#include <QLineEdit>

RegisterForm::RegisterForm(RegisterKind kind) : m_kind(std::move(kind)) {}

void RegisterForm::LookUp(Opener opener, QLineEdit* target, QWidget* owner)
{
    (opener == Opener::Booker ? isFromBookerForm : isFromWaitingList) = true;
    PasteTarget = target;
    Show(owner);
}

void RegisterForm::endLookUp()
{
    isFromBookerForm = false;
    isFromWaitingList = false;
    PasteTarget = nullptr;
}

void RegisterForm::Show(QWidget* owner)
{
    QString table = m_kind.table;
    if (m_kind.grouped) {
        // The table name is built only from a group number in range whose table exists.
        bool exists = false;
        try {
            CurrentTask = "opening the special group register";
            exists = TableIndex >= 1 && TableIndex <= SpecialGroupCount && TableIndex <= SpecialGroupLimit &&
                     HasSpecialGroupTable(TableIndex);
        } catch (const VbError& e) {
            ShowErrorDisplay(e);
            endLookUp();
            return;
        }
        if (!exists) {
            MsgBox("Special group " + QString::number(TableIndex) + " has no register.", Msg::Critical);
            endLookUp();
            return;
        }
        table += QString::number(TableIndex);
    }
    QPointer<RegisterWindow> window = new RegisterWindow(*this, RegisterTable(table, m_kind.prefix), owner);
    m_window = window;
    window->exec();
    delete window.data();
    endLookUp();
}

RegisterForm& frm_Members()
{
    static RegisterForm form({"frm_Members", "Membership", "Find:", "tbl_member", "m_", false, false});
    return form;
}

RegisterForm& frm_Members_Dynamic()
{
    static RegisterForm form({"frm_Members_Dynamic", "Membership", "Find", "tbl_specialgroup", "m_", true, true});
    return form;
}

RegisterForm& frm_Students()
{
    static RegisterForm form({"frm_Students", "Students", "Find", "tbl_student", "st_", false, true});
    return form;
}
