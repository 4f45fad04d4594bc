#include "frm_Booker.h"
#include "Booking.h"
#include "SlotGrid.h"

#include "Db.h"
#include "ErrorDisplay.h"
#include "Globals.h"
#include "Prompter.h"
#include "SpecialGroups.h"
#include "SqlQuote.h"
#include "Verification.h"

#include "Vb.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

frm_Booker* loaded = nullptr;

QLineEdit* box(const QString& name, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    return edit;
}

QLabel* label(const QString& name, const QString& text, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

// The register windows that hand an ID back come later; until then an ID is typed.
QPushButton* lookUpButton(const QString& name, QWidget* parent)
{
    auto* b = new QPushButton(">", parent);
    b->setObjectName(name);
    b->setEnabled(false);
    b->setFixedWidth(28);
    return b;
}

} // namespace

frm_Booker::frm_Booker(SlotGrid& grid, QWidget* owner)
    : QDialog(owner),
      m_grid(grid),
      m_court(grid.CourtText()),
      m_date(grid.GridDate()),
      m_rowCount(grid.RowCount()),
      m_selected(static_cast<size_t>(m_rowCount) + 1),
      m_booked(static_cast<size_t>(m_rowCount) + 1)
{
    setObjectName("frm_Booker");
    const int courtNumber = static_cast<int>(Vb::Val(m_court));
    const QString court =
        courtNumber >= 0 && courtNumber < MaxCourts ? CourtDisplayNames[static_cast<size_t>(courtNumber)] : "";
    setWindowTitle("Booking Field " + court + " from " + grid.RowText(grid.CurrentRow()));
    for (int row = 1; row <= m_rowCount; ++row)
        m_selected[static_cast<size_t>(row)] = grid.IsSelected(row);

    // Widgets are made in tab order: name, member, student, the groups, telephone, organisation, players.
    auto* form = new QGridLayout;
    int line = 0;
    auto addRow = [&](QLabel* l, QLineEdit* e, QPushButton* b = nullptr) {
        form->addWidget(l, line, 0);
        form->addWidget(e, line, 1);
        if (b)
            form->addWidget(b, line, 2);
        ++line;
    };
    txt_BookerName = box("txt_BookerName", this);
    txt_BookerName->setMaxLength(TextWidth);
    addRow(label("Label1", "Name", this), txt_BookerName);
    txt_BookerMemberID = box("txt_BookerMemberID", this);
    btn_LookMember[0] = lookUpButton("btn_LookMember_0", this);
    addRow(label("Label2", "Members ID", this), txt_BookerMemberID, btn_LookMember[0]);
    txt_BookerStudentID = box("txt_BookerStudentID", this);
    btn_LookMember[1] = lookUpButton("btn_LookMember_1", this);
    addRow(label("Label3", "Student ID", this), txt_BookerStudentID, btn_LookMember[1]);
    for (int i = 1; i <= SpecialGroupCount && i <= SpecialGroupLimit; ++i) {
        if (!HasSpecialGroupTable(i))
            continue;
        const QString n = QString::number(i);
        lbl_SpecialGroup[i] = label("lbl_SpecialGroup_" + n, GetSpecialGroupName(i), this);
        txt_SpecialGroupID[i] = box("txt_SpecialGroupID_" + n, this);
        btn_LookSpecialGroup[i] = lookUpButton("btn_LookSpecialGroup_" + n, this);
        addRow(lbl_SpecialGroup[i], txt_SpecialGroupID[i], btn_LookSpecialGroup[i]);
        connect(txt_SpecialGroupID[i], &QLineEdit::textChanged, this, [this, i] { txt_SpecialGroupID_Change(i); });
    }
    txt_BookerTel = box("txt_BookerTel", this);
    txt_BookerTel->setMaxLength(TextWidth);
    addRow(label("lbl_BookerTel", "Phone", this), txt_BookerTel);
    txt_BookerOrg = box("txt_BookerOrg", this);
    txt_BookerOrg->setMaxLength(TextWidth);
    addRow(label("lbl_BookerOrg", "Organisation", this), txt_BookerOrg);
    txt_BookerPerson = box("txt_BookerPerson", this);
    QLabel* personLabel = label("lbl_BookerPerson", "Num. Player", this);
    addRow(personLabel, txt_BookerPerson);
    personLabel->setVisible(PerPersonChargingOn == 1);
    txt_BookerPerson->setVisible(PerPersonChargingOn == 1);

    cmd_OK = new QPushButton("OK", this);
    cmd_OK->setObjectName("cmd_OK");
    cmd_OK->setDefault(true);
    cmd_Cancel = new QPushButton("Cancel", this);
    cmd_Cancel->setObjectName("cmd_Cancel");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmd_OK);
    buttons->addWidget(cmd_Cancel);
    form->addLayout(buttons, line, 0, 1, 3);
    setLayout(form);

    connect(cmd_OK, &QPushButton::clicked, this, &frm_Booker::cmd_OK_Click);
    connect(cmd_Cancel, &QPushButton::clicked, this, &frm_Booker::cmd_Cancel_Click);
    connect(txt_BookerMemberID, &QLineEdit::textChanged, this, &frm_Booker::txt_BookerMemberID_Change);
    connect(txt_BookerStudentID, &QLineEdit::textChanged, this, &frm_Booker::txt_BookerStudentID_Change);
    loaded = this;
}

frm_Booker::~frm_Booker()
{
    if (loaded == this)
        loaded = nullptr;
}

frm_Booker* frm_Booker::Loaded() { return loaded; }

bool frm_Booker::Booked(int row) const
{
    return row >= 1 && row <= m_rowCount && m_booked[static_cast<size_t>(row)];
}

void frm_Booker::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    txt_BookerName->setFocus();
}

std::vector<QLineEdit*> frm_Booker::groupBoxesExcept(int group) const
{
    std::vector<QLineEdit*> boxes;
    for (int i = 1; i <= SpecialGroupLimit; ++i)
        if (txt_SpecialGroupID[i] && i != group)
            boxes.push_back(txt_SpecialGroupID[i]);
    return boxes;
}

void frm_Booker::lookUp(QLineEdit* idBox, const Register& reg, const std::vector<QLineEdit*>& toEmpty)
{
    if (idBox->text().size() < 3)
        return;
    try {
        CurrentTask = "looking up the booker";
        for (Recordset rs = Db::Query("SELECT * FROM " + reg.table + " WHERE " + reg.keyColumn + "='" +
                                      SqlQuote(idBox->text()) + "'");
             !rs.EOF_(); rs.MoveNext()) {
            Tag = reg.rate;
            txt_BookerName->setText(rs[reg.prefix + "name"].Value());
            txt_BookerOrg->setText(rs[reg.prefix + "org"].Value());
            txt_BookerTel->setText(rs[reg.prefix + "tel"].Value());
            for (QLineEdit* other : toEmpty)
                other->clear();
        }
    } catch (const VbError& e) {
        ShowErrorDisplay(e);
    }
}

void frm_Booker::txt_BookerMemberID_Change()
{
    std::vector<QLineEdit*> others = groupBoxesExcept(0);
    others.insert(others.begin(), txt_BookerStudentID);
    lookUp(txt_BookerMemberID, {"tbl_member", "m_idno", "m_", "member"}, others);
}

void frm_Booker::txt_BookerStudentID_Change()
{
    std::vector<QLineEdit*> others = groupBoxesExcept(0);
    others.insert(others.begin(), txt_BookerMemberID);
    lookUp(txt_BookerStudentID, {"tbl_student", "st_idno", "st_", "student"}, others);
}

void frm_Booker::txt_SpecialGroupID_Change(int index)
{
    std::vector<QLineEdit*> others = groupBoxesExcept(index);
    others.insert(others.begin(), {txt_BookerStudentID, txt_BookerMemberID});
    const QString n = QString::number(index);
    lookUp(txt_SpecialGroupID[index], {"tbl_specialgroup" + n, "m_idno", "m_", "specialgroup" + n}, others);
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
    if (Tag == "member" && txt_BookerMemberID->text().trimmed().isEmpty())
        Tag.clear();
    if (Tag == "student" && txt_BookerStudentID->text().trimmed().isEmpty())
        Tag.clear();
    int person = 0;
    if (PerPersonChargingOn == 1) {
        const double typed = Vb::Val(txt_BookerPerson->text());
        if (txt_BookerPerson->text().isEmpty() || typed < 0 || typed > 32767) {
            MsgBox("Please enter number of person playing!", Msg::Critical);
            return;
        }
        person = Vb::CInt(typed);
    }
    for (int i = 1; i <= SpecialGroupLimit; ++i)
        if (txt_SpecialGroupID[i] && Tag == "specialgroup" + QString::number(i) &&
            txt_SpecialGroupID[i]->text().trimmed().isEmpty())
            Tag.clear();

    CurrentTask = "booking the slot";
    if (IsUserAllowed(false)) {
        std::vector<int> rows;
        QStringList times;
        for (int row = 1; row <= m_rowCount; ++row) {
            if (m_selected[static_cast<size_t>(row)]) {
                rows.push_back(row);
                times << m_grid.RowTime(row);
            }
        }
        const std::vector<bool> booked =
            BookSlots(m_grid, m_date, times,
                      {txt_BookerTel->text(), txt_BookerOrg->text(), txt_BookerName->text(), Tag, person}, m_court,
                      PasteFromWaitList, 0, 60);
        for (size_t i = 0; i < rows.size(); ++i)
            m_booked[static_cast<size_t>(rows[i])] = booked[i];
    }
    m_grid.RefreshView();
    accept();
}
