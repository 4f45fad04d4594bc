#include "frm_WaitingList.h"
#include "WaitList.h"
#include "WaitListHost.h"
#include "WaitListPanel.h"

#include "DialogButtons.h"
#include "Globals.h"
#include "Prompter.h"
#include "SpecialGroups.h"
#include "VbError.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

frm_WaitingList* loaded = nullptr;

// IDs of members and students have eight characters, those of special groups seven.
constexpr int IdLength = 8;
constexpr int GroupIdLength = 7;

QLineEdit* box(const QString& name, QWidget* parent, int width = 0)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    if (width > 0)
        edit->setMaxLength(width);
    return edit;
}

} // namespace

frm_WaitingList::frm_WaitingList(WaitListHost& host, WaitListPanel& panel)
    : QDialog(host.Owner()), m_host(host), m_panel(panel)
{
    setObjectName("frm_WaitingList");
    setWindowTitle("Waiting List");
    setMinimumWidth(380);

    auto* form = new QGridLayout(this);
    int line = 0;
    auto addRow = [&](const QString& caption, QWidget* field, QPushButton* look = nullptr) {
        auto* label = new QLabel(caption, this);
        form->addWidget(label, line, 0);
        form->addWidget(field, line, 1);
        if (look)
            form->addWidget(look, line, 2);
        ++line;
        return label;
    };
    txt_BookerName = box("txt_BookerName", this, WaitList::NameWidth);
    addRow("Name", txt_BookerName);
    txt_BookerMemberID = box("txt_BookerMemberID", this);
    btn_LookMember[0] = BookerLookUp::RegisterButton("btn_LookMember_0", this);
    addRow("Members ID", txt_BookerMemberID, btn_LookMember[0]);
    txt_BookerStudentID = box("txt_BookerStudentID", this);
    btn_LookMember[1] = BookerLookUp::RegisterButton("btn_LookMember_1", this);
    addRow("Student ID", txt_BookerStudentID, btn_LookMember[1]);
    for (int k : SpecialGroupsWithTables()) {
        const QString n = QString::number(k);
        txt_SpecialGroupID[k] = box("txt_SpecialGroupID_" + n, this);
        btn_LookSpecialGroup[k] = BookerLookUp::RegisterButton("btn_LookSpecialGroup_" + n, this);
        lbl_SpecialGroup[k] = addRow("Group " + n, txt_SpecialGroupID[k], btn_LookSpecialGroup[k]);
        lbl_SpecialGroup[k]->setObjectName("lbl_SpecialGroup_" + n);
        connect(txt_SpecialGroupID[k], &QLineEdit::textChanged, this, [this, k] { txt_SpecialGroupID_Change(k); });
        connect(btn_LookSpecialGroup[k], &QPushButton::clicked, this, [this, k] { btn_LookSpecialGroup_Click(k); });
    }
    txt_BookerTel = box("txt_BookerTel", this, WaitList::TelWidth);
    addRow("Phone", txt_BookerTel);
    txt_BookerOrg = box("txt_BookerOrg", this, WaitList::OrgWidth);
    addRow("Organisation", txt_BookerOrg);
    // Only the centre's hours can be chosen.
    cmb_Time = new QComboBox(this);
    cmb_Time->setObjectName("cmb_Time");
    cmb_Time->addItems(WaitList::Hours());
    cmb_Time->setCurrentIndex(-1);
    addRow("Time", cmb_Time);

    const DialogButtons buttons = MakeOkCancel(this, "cmd_");
    cmd_OK = buttons.ok;
    cmd_Cancel = buttons.cancel;
    cmd_OK->setDefault(true);
    form->addLayout(buttons.row, line, 0, 1, 3);

    m_lookUp = BookerLookUp({txt_BookerName, txt_BookerOrg, txt_BookerTel, txt_BookerMemberID, txt_BookerStudentID,
                             txt_SpecialGroupID},
                            IdLength, GroupIdLength);
    m_lookUp.SetTabOrder({cmb_Time, cmd_OK, cmd_Cancel}, btn_LookMember, btn_LookSpecialGroup);
    connect(cmd_OK, &QPushButton::clicked, this, &frm_WaitingList::cmd_OK_Click);
    connect(cmd_Cancel, &QPushButton::clicked, this, &frm_WaitingList::cmd_Cancel_Click);
    connect(txt_BookerMemberID, &QLineEdit::textChanged, this, &frm_WaitingList::txt_BookerMemberID_Change);
    connect(txt_BookerStudentID, &QLineEdit::textChanged, this, &frm_WaitingList::txt_BookerStudentID_Change);
    connect(btn_LookMember[0], &QPushButton::clicked, this, [this] { btn_LookMember_Click(0); });
    connect(btn_LookMember[1], &QPushButton::clicked, this, [this] { btn_LookMember_Click(1); });
    loaded = this;
}

frm_WaitingList::~frm_WaitingList()
{
    if (loaded == this)
        loaded = nullptr;
}

frm_WaitingList* frm_WaitingList::Loaded() { return loaded; }

// Each time the dialog is the active window again, a register looked up from it included, what the
// clerk types goes into the name.
void frm_WaitingList::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        Form_Activate();
}

void frm_WaitingList::Form_Activate() { txt_BookerName->setFocus(); }

void frm_WaitingList::btn_LookMember_Click(int index)
{
    m_lookUp.OpenPersonRegister(index, RegisterForm::Opener::WaitingList, this);
}

void frm_WaitingList::btn_LookSpecialGroup_Click(int index)
{
    m_lookUp.OpenGroupRegister(index, RegisterForm::Opener::WaitingList, this);
}

void frm_WaitingList::txt_BookerMemberID_Change() { m_lookUp.MemberChanged(Tag); }

void frm_WaitingList::txt_BookerStudentID_Change() { m_lookUp.StudentChanged(Tag); }

void frm_WaitingList::txt_SpecialGroupID_Change(int index) { m_lookUp.GroupChanged(index, Tag); }

void frm_WaitingList::cmd_Cancel_Click() { reject(); }

void frm_WaitingList::cmd_OK_Click()
{
    if (txt_BookerName->text().isEmpty()) {
        MsgBox("Please enter booker's name!", Msg::Critical);
        return;
    }
    // An entry whose storing was lost on its way is looked up before it is stored again.
    if (m_unconfirmed && !settleUnconfirmed())
        return;
    try {
        WaitList::Add({m_host.WaitListDate(), cmb_Time->currentText(), m_host.WaitListFieldType(),
                       txt_BookerName->text(), txt_BookerTel->text(), txt_BookerOrg->text(), m_lookUp.RateAtOk(Tag),
                       StaffLogin});
    } catch (const EntryUnconfirmed& lost) {
        m_unconfirmed = lost.id;
        if (settleUnconfirmed())
            MsgBox("The connection to the database was lost while the entry was being stored. It was not stored: "
                   "press OK to store it again.",
                   Msg::Critical);
        return;
    } catch (const VbError& e) {
        WaitListPanel::TellFailure("The entry could not be stored", e,
                                   "What you typed stays in the dialog; press OK again once the database answers.");
        return;
    }
    stored();
}

bool frm_WaitingList::settleUnconfirmed()
{
    const Db::Written outcome = WaitList::Find(*m_unconfirmed);
    if (outcome == Db::Written::Unknown || outcome == Db::Written::Held) {
        MsgBox(QString("The connection to the database was lost while the entry was being stored, and whether it "
                       "was stored cannot be told ") +
                   (outcome == Db::Written::Unknown ? "while the database does not answer"
                                                    : "yet: another transaction still holds it") +
                   ". What you typed stays: press OK again once the database answers, and the entry is looked up "
                   "before it is stored again.",
               Msg::Critical);
        return false;
    }
    m_unconfirmed.reset();
    if (outcome == Db::Written::Yes)
        stored();
    return outcome == Db::Written::No;
}

void frm_WaitingList::stored()
{
    m_panel.RefreshWaitList();
    accept();
}
