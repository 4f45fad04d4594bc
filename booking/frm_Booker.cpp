#include "frm_Booker.h"
#include "PlayerCount.h"
#include "Booking.h"
#include "SlotGrid.h"

#include "DialogButtons.h"
#include "ErrorDisplay.h"
#include "Globals.h"
#include "Named.h"
#include "Prompter.h"
#include "SpecialGroups.h"
#include "Verification.h"

#include "Vb.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>

namespace {

frm_Booker* loaded = nullptr;

std::vector<PlannedRow> selectedFullHours(const SlotGrid& grid)
{
    std::vector<PlannedRow> plan;
    for (int row = 1; row <= grid.RowCount(); ++row)
        if (grid.IsSelected(row))
            plan.push_back({row});
    return plan;
}

// The dialog's picture: a page of the booking calendar.
QPixmap calendarPage()
{
    QPixmap picture(48, 48);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(90, 90, 90), 2));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(4, 6, 40, 38), 4, 4);
    p.setBrush(QColor(200, 50, 40));
    p.drawRect(QRectF(4, 6, 40, 10));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 140, 70));
    for (int row = 0; row < 3; ++row)
        for (int day = 0; day < 4; ++day)
            p.drawRect(QRectF(9 + 9 * day, 21 + 7 * row, 6, 4));
    return picture;
}

} // namespace

frm_Booker::frm_Booker(SlotGrid& grid, QWidget* owner) : frm_Booker(grid, owner, selectedFullHours(grid)) {}

frm_Booker::frm_Booker(SlotGrid& grid, QWidget* owner, std::vector<PlannedRow> plan)
    : QDialog(owner),
      m_grid(grid),
      m_court(grid.CourtText()),
      m_date(grid.GridDate()),
      m_plan(std::move(plan))
{
    setObjectName("frm_Booker");
    const int courtNumber = static_cast<int>(Vb::Val(m_court));
    const QString court =
        courtNumber >= 0 && courtNumber < MaxCourts ? CourtDisplayNames[static_cast<size_t>(courtNumber)] : "";
    setWindowTitle("Booking Field " + court + " from " + grid.RowText(grid.CurrentRow()));

    auto* form = new QGridLayout;
    int line = 0;
    auto addRow = [&](QLabel* l, QLineEdit* e, QPushButton* b = nullptr) {
        form->addWidget(l, line, 0);
        form->addWidget(e, line, 1);
        if (b)
            form->addWidget(b, line, 2);
        ++line;
    };
    txt_BookerName = Named<QLineEdit>("txt_BookerName", this);
    txt_BookerName->setMaxLength(TextWidth);
    addRow(Named<QLabel>("Label1", "Name", this), txt_BookerName);
    txt_BookerMemberID = Named<QLineEdit>("txt_BookerMemberID", this);
    btn_LookMember[0] = BookerLookUp::RegisterButton("btn_LookMember_0", this);
    addRow(Named<QLabel>("Label2", "Members ID", this), txt_BookerMemberID, btn_LookMember[0]);
    txt_BookerStudentID = Named<QLineEdit>("txt_BookerStudentID", this);
    btn_LookMember[1] = BookerLookUp::RegisterButton("btn_LookMember_1", this);
    addRow(Named<QLabel>("Label3", "Student ID", this), txt_BookerStudentID, btn_LookMember[1]);
    for (int i : SpecialGroupsWithTables()) {
        const QString n = QString::number(i);
        lbl_SpecialGroup[i] = Named<QLabel>("lbl_SpecialGroup_" + n, GetSpecialGroupName(i), this);
        txt_SpecialGroupID[i] = Named<QLineEdit>("txt_SpecialGroupID_" + n, this);
        btn_LookSpecialGroup[i] = BookerLookUp::RegisterButton("btn_LookSpecialGroup_" + n, this);
        addRow(lbl_SpecialGroup[i], txt_SpecialGroupID[i], btn_LookSpecialGroup[i]);
        connect(txt_SpecialGroupID[i], &QLineEdit::textChanged, this, [this, i] { txt_SpecialGroupID_Change(i); });
        connect(btn_LookSpecialGroup[i], &QPushButton::clicked, this, [this, i] { btn_LookSpecialGroup_Click(i); });
    }
    txt_BookerTel = Named<QLineEdit>("txt_BookerTel", this);
    txt_BookerTel->setMaxLength(TextWidth);
    addRow(Named<QLabel>("lbl_BookerTel", "Phone", this), txt_BookerTel);
    txt_BookerOrg = Named<QLineEdit>("txt_BookerOrg", this);
    txt_BookerOrg->setMaxLength(TextWidth);
    addRow(Named<QLabel>("lbl_BookerOrg", "Organisation", this), txt_BookerOrg);
    txt_BookerPerson = Named<QLineEdit>("txt_BookerPerson", this);
    QLabel* personLabel = Named<QLabel>("lbl_BookerPerson", "Num. Player", this);
    addRow(personLabel, txt_BookerPerson);
    personLabel->setVisible(PerPersonChargingOn == 1);
    txt_BookerPerson->setVisible(PerPersonChargingOn == 1);

    Image1 = Named<QLabel>("Image1", this);
    Image1->setPixmap(calendarPage());
    form->addWidget(Image1, 0, 3, 3, 1, Qt::AlignTop);

    const DialogButtons buttons = MakeOkCancel(this, "cmd_");
    cmd_OK = buttons.ok;
    cmd_Cancel = buttons.cancel;
    cmd_OK->setDefault(true);
    form->addLayout(buttons.row, line, 0, 1, 4);
    setLayout(form);

    m_lookUp = BookerLookUp({txt_BookerName, txt_BookerOrg, txt_BookerTel, txt_BookerMemberID, txt_BookerStudentID,
                             txt_SpecialGroupID},
                            3, 3);
    m_lookUp.SetTabOrder({txt_BookerPerson, cmd_OK, cmd_Cancel}, btn_LookMember, btn_LookSpecialGroup);
    connect(cmd_OK, &QPushButton::clicked, this, &frm_Booker::cmd_OK_Click);
    connect(cmd_Cancel, &QPushButton::clicked, this, &frm_Booker::cmd_Cancel_Click);
    connect(txt_BookerMemberID, &QLineEdit::textChanged, this, &frm_Booker::txt_BookerMemberID_Change);
    connect(txt_BookerStudentID, &QLineEdit::textChanged, this, &frm_Booker::txt_BookerStudentID_Change);
    connect(btn_LookMember[0], &QPushButton::clicked, this, [this] { btn_LookMember_Click(0); });
    connect(btn_LookMember[1], &QPushButton::clicked, this, [this] { btn_LookMember_Click(1); });
    loaded = this;
}

frm_Booker::~frm_Booker()
{
    if (loaded == this)
        loaded = nullptr;
}

frm_Booker* frm_Booker::Loaded() { return loaded; }

// Each time the dialog is the active window again, a register looked up from it included, what the
// clerk types goes into the name.
void frm_Booker::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        Form_Activate();
}

void frm_Booker::Form_Activate() { txt_BookerName->setFocus(); }

void frm_Booker::txt_BookerMemberID_Change() { m_lookUp.MemberChanged(Tag); }

void frm_Booker::txt_BookerStudentID_Change() { m_lookUp.StudentChanged(Tag); }

void frm_Booker::txt_SpecialGroupID_Change(int index) { m_lookUp.GroupChanged(index, Tag); }

void frm_Booker::btn_LookMember_Click(int index)
{
    m_lookUp.OpenPersonRegister(index, RegisterForm::Opener::Booker, this);
}

void frm_Booker::btn_LookSpecialGroup_Click(int index)
{
    m_lookUp.OpenGroupRegister(index, RegisterForm::Opener::Booker, this);
}

void frm_Booker::cmd_Cancel_Click() { reject(); }

void frm_Booker::cmd_OK_Click()
{
    try {
        book();
    } catch (const VbError& e) {
        ShowErrorDisplay(e);
    }
}

void frm_Booker::book()
{
    if (txt_BookerName->text().isEmpty()) {
        MsgBox("Please enter booker's name!", Msg::Critical);
        return;
    }
    Tag = m_lookUp.RateAtOk(Tag);
    int person = 0;
    if (PerPersonChargingOn == 1) {
        const std::optional<int> typed = PlayerCount(txt_BookerPerson->text());
        if (!typed) {
            MsgBox(PlayerCountMessage, Msg::Critical);
            return;
        }
        person = *typed;
    }
    CurrentTask = "booking the slot";
    if (!IsUserAllowed(false)) {
        m_grid.RefreshView();
        accept();
        return;
    }
    // The booker is the one typed here: a cut waiting-list entry goes only with its own customer.
    const std::vector<bool> booked =
        BookSlots(m_grid, PlannedHours(m_grid, m_date, m_plan),
                  {txt_BookerTel->text(), txt_BookerOrg->text(), txt_BookerName->text(), Tag, person}, m_court,
                  PasteFromWaitList ? CutEntry::TakenBySameBooker : CutEntry::Untouched);
    m_grid.RefreshView();
    // An hour left out keeps the dialog open with what was typed, for another try of those hours.
    std::vector<PlannedRow> leftOut;
    for (size_t i = 0; i < m_plan.size(); ++i)
        if (!booked[i])
            leftOut.push_back(m_plan[i]);
    m_plan = std::move(leftOut);
    if (m_plan.empty())
        accept();
}
