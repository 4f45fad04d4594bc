#include "RegisterForm.h"
#include "RegisterTable.h"
#include "RegisterWindow.h"

#include "Globals.h"

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

// The group register's table name is built only from a group number in range; the openers offer
// only the groups whose tables exist.
std::optional<QString> RegisterForm::table() const
{
    if (!m_kind.grouped)
        return m_kind.table;
    if (TableIndex >= 1 && TableIndex <= SpecialGroupCount && TableIndex <= SpecialGroupLimit)
        return m_kind.table + QString::number(TableIndex);
    return std::nullopt;
}

void RegisterForm::Show(QWidget* owner)
{
    if (const std::optional<QString> name = table()) {
        QPointer<RegisterWindow> window = new RegisterWindow(*this, RegisterTable(*name, m_kind.prefix), owner);
        window->exec();
        delete window.data();
    }
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
