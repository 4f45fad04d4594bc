#include "RegisterWindow.h"
#include "RegisterForm.h"
#include "RegisterListModel.h"

#include "ErrorDisplay.h"
#include "Globals.h"
#include "Named.h"
#include "Prompter.h"
#include "Verification.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

RegisterWindow::RegisterWindow(RegisterForm& form, RegisterTable table, QWidget* owner)
    : QDialog(owner), m_form(form), m_table(std::move(table))
{
    const RegisterKind& kind = form.Kind();
    setObjectName(kind.formName);
    setWindowTitle(kind.caption);
    setModal(true);

    // The record view: box i under its label, the ID box with the paste button beside it.
    auto* record = new QGridLayout;
    for (size_t i = 0; i < txt_member.size(); ++i) {
        txt_member[i] = new QLineEdit(this);
        txt_member[i]->setObjectName("txt_member_" + QString::number(i));
    }
    txt_member[0]->hide();
    btn_MemberPaste = Named<QPushButton>("btn_MemberPaste", "paste", this);
    const std::array<QLabel*, 5> labels = {
        Named<QLabel>("Label1", "Members ID", this), Named<QLabel>("Label2", "Members Name", this),
        Named<QLabel>("lblLabels_6", "Hours Played", this), Named<QLabel>("lblLabels_2", "Members Org", this),
        Named<QLabel>("lblLabels_5", "Members Phone", this)};
    for (int i = 1; i <= 5; ++i)
        record->addWidget(labels[static_cast<size_t>(i - 1)], i - 1, 0);
    // In a look-up the ID box ends just before the paste button.
    auto* idRow = new QHBoxLayout;
    idRow->addWidget(txt_member[1]);
    idRow->addWidget(btn_MemberPaste);
    record->addLayout(idRow, 0, 1);
    for (int i = 2; i <= 5; ++i)
        record->addWidget(txt_member[static_cast<size_t>(i)], i - 1, 1);
    record->setColumnMinimumWidth(1, 220);

    btn_Add = Named<QPushButton>("btn_Add", "&Add", this);
    btn_Update = Named<QPushButton>("btn_Update", "&Update", this);
    btn_Delete = Named<QPushButton>("btn_Delete", "&Delete", this);
    btn_Refresh = Named<QPushButton>("btn_Refresh", "&Refresh", this);
    btn_Close = Named<QPushButton>("btn_Close", "&Close", this);
    btn_Previous = Named<QPushButton>("btn_Previous", "&Previous", this);
    btn_Next = Named<QPushButton>("btn_Next", "&Next", this);
    auto* commands = new QGridLayout;
    commands->addWidget(btn_Add, 0, 0);
    commands->addWidget(btn_Update, 0, 1);
    commands->addWidget(btn_Delete, 0, 2);
    commands->addWidget(btn_Refresh, 1, 0);
    commands->addWidget(btn_Close, 1, 1);
    commands->addWidget(btn_Previous, 2, 0);
    commands->addWidget(btn_Next, 2, 1);

    auto* left = new QVBoxLayout;
    left->addLayout(record);
    left->addStretch();
    left->addLayout(commands);

    // The search and its list.
    txt_SearchMemberName = new QLineEdit(this);
    txt_SearchMemberName->setObjectName("txt_SearchMemberName");
    btn_ClearSearchField = Named<QPushButton>("btn_ClearSearchField", "clear", this);
    auto* find = new QHBoxLayout;
    find->addWidget(Named<QLabel>("lblLabels_0", kind.findLabel, this));
    find->addWidget(txt_SearchMemberName);
    find->addWidget(btn_ClearSearchField);
    m_list = new RegisterListModel(this);
    ListView_Member = new QTreeView(this);
    ListView_Member->setObjectName("ListView_Member");
    ListView_Member->setModel(m_list);
    ListView_Member->setRootIsDecorated(false);
    ListView_Member->setUniformRowHeights(true);
    ListView_Member->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView_Member->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView_Member->header()->setSectionResizeMode(QHeaderView::Stretch);
    ListView_Member->setMinimumWidth(420);
    auto* right = new QVBoxLayout;
    right->addLayout(find);
    right->addWidget(ListView_Member);

    auto* whole = new QHBoxLayout(this);
    whole->addLayout(left);
    whole->addLayout(right, 1);
    resize(820, 360);

    connect(txt_SearchMemberName, &QLineEdit::textChanged, this, &RegisterWindow::txt_SearchMemberName_Change);
    connect(btn_ClearSearchField, &QPushButton::clicked, this, &RegisterWindow::btn_ClearSearchField_Click);
    connect(ListView_Member, &QTreeView::clicked, this,
            [this](const QModelIndex& index) { ListView_Member_Click(index.row()); });
    connect(btn_Next, &QPushButton::clicked, this, &RegisterWindow::btn_Next_Click);
    connect(btn_Previous, &QPushButton::clicked, this, &RegisterWindow::btn_Previous_Click);
    connect(btn_Refresh, &QPushButton::clicked, this, &RegisterWindow::btn_Refresh_Click);
    connect(btn_Add, &QPushButton::clicked, this, &RegisterWindow::btn_Add_Click);
    connect(btn_Update, &QPushButton::clicked, this, &RegisterWindow::btn_Update_Click);
    connect(btn_Delete, &QPushButton::clicked, this, &RegisterWindow::btn_Delete_Click);
    connect(btn_MemberPaste, &QPushButton::clicked, this, &RegisterWindow::btn_MemberPaste_Click);
    connect(btn_Close, &QPushButton::clicked, this, &RegisterWindow::btn_Close_Click);

    Form_Load();
}

void RegisterWindow::Form_Load()
{
    btn_ClearSearchField->setDefault(true);
    btn_Previous->setEnabled(false);
    btn_Next->setEnabled(false);
    btn_Previous->setVisible(m_form.Kind().stepping);
    btn_Next->setVisible(m_form.Kind().stepping);
    btn_MemberPaste->setVisible(m_form.isFromBookerForm || m_form.isFromWaitingList);
    m_form.AddMode = false;
    RecordPosition = 1;
    Guarded("reading the register", [this] { readAll(); });
}

// The record is read afresh by the key of list row n; one that another station deleted since the
// list was read is gone from the list as well.
std::optional<RegisterTable::Record> RegisterWindow::GetRecord(int n)
{
    MemberRecordCount = m_list->rowCount();
    if (n < 1 || n > MemberRecordCount)
        return std::nullopt;
    std::optional<RegisterTable::Record> record = m_table.RecordOf(m_list->Found(n - 1).key);
    if (!record)
        RefreshMemberList();
    return record;
}

// Past the end of the search result the record view stays as it is.
void RegisterWindow::showRecord()
{
    const std::optional<RegisterTable::Record> record = GetRecord(RecordPosition);
    if (!record)
        return;
    for (size_t i = 0; i < txt_member.size(); ++i)
        txt_member[i]->setText(i == 3 ? RegisterTable::HoursText((*record)[i]) : (*record)[i]);
    m_shownHours = txt_member[3]->text();
}

void RegisterWindow::RefreshMemberList()
{
    m_list->SetRows(m_table.List());
    m_list->Search(txt_SearchMemberName->text());
}

void RegisterWindow::txt_SearchMemberName_Change()
{
    m_list->Search(txt_SearchMemberName->text());
    MemberRecordCount = m_list->rowCount();
}

void RegisterWindow::btn_ClearSearchField_Click() { txt_SearchMemberName->clear(); }

void RegisterWindow::ListView_Member_Click(int row)
{
    if (m_list->rowCount() == 0)
        return;
    RecordPosition = std::max(row + 1, 1);
    Guarded("reading the register", [this] { showRecord(); });
}

void RegisterWindow::step(int by)
{
    RecordPosition = std::max(RecordPosition + by, 1);
    if (RecordPosition > MemberRecordCount)
        RecordPosition = MemberRecordCount;
    Guarded("reading the register", [this] { showRecord(); });
}

void RegisterWindow::readAll()
{
    // The boxes take no more than the table's own columns hold.
    const std::array<int, 6> widths = m_table.TextWidths();
    for (size_t i = 0; i < widths.size(); ++i)
        if (widths[i] > 0)
            txt_member[i]->setMaxLength(widths[i]);
    RefreshMemberList();
    showRecord();
}

void RegisterWindow::btn_Next_Click() { step(1); }

void RegisterWindow::btn_Previous_Click() { step(-1); }

void RegisterWindow::btn_Refresh_Click()
{
    RecordPosition = std::max(RecordPosition, 1);
    Guarded("reading the register", [this] { readAll(); });
}

void RegisterWindow::setBrowsing(bool browsing)
{
    btn_Next->setEnabled(browsing);
    btn_Previous->setEnabled(browsing);
    btn_Delete->setEnabled(browsing);
    btn_Refresh->setEnabled(browsing);
}

void RegisterWindow::btn_Add_Click()
{
    for (QLineEdit* box : txt_member)
        box->clear();
    m_shownHours.clear();
    m_form.AddMode = true;
    btn_Update->setDefault(true);
    setBrowsing(false);
}

void RegisterWindow::btn_Update_Click()
{
    Guarded("updating the register", [this] { update(); });
}

void RegisterWindow::update()
{
    RegisterTable::Record record;
    for (size_t i = 0; i < txt_member.size(); ++i)
        record[i] = txt_member[i]->text();
    // The hours are written only when typed: a payment may have added some since they were shown.
    const bool hoursTyped = m_form.AddMode || record[3] != m_shownHours;
    const std::optional<long long> hours = RegisterTable::Hours(record[3]);
    if (hoursTyped && !hours) {
        MsgBox("Please enter the hours played as a whole number.", Msg::Critical);
        txt_member[3]->setFocus();
        return;
    }
    if (m_form.AddMode) {
        m_table.Insert(record, *hours);
    } else if (!record[1].isEmpty()) {
        switch (m_table.Update(record, hoursTyped ? hours : std::nullopt)) {
        case RegisterTable::Updated::Written:
            break;
        case RegisterTable::Updated::NoKey:
            MsgBox("There is no record shown to update. Press Add to enter a new one.", Msg::Critical);
            return;
        case RegisterTable::Updated::Gone:
            // The edit is kept in the boxes unless it is saved as a new record.
            if (MsgBox("This record was deleted at another station since it was shown, so your changes were not "
                       "saved. Save it as a new record?",
                       Msg::YesNo | Msg::Exclamation) != Msg::Yes)
                return;
            m_table.Insert(record, hours.value_or(RegisterTable::Hours(m_shownHours).value_or(0)));
            break;
        }
    }
    m_form.AddMode = false;
    setBrowsing(true);
    btn_Refresh_Click();
}

void RegisterWindow::btn_Delete_Click()
{
    if (MsgBox("Confirm delete ?", Msg::YesNo | Msg::Critical | Msg::DefaultButton2, "Confirmation") != Msg::Yes)
        return;
    Guarded("deleting from the register", [this] {
        ShowVerifyUser(this);
        if (!IsUserAllowed(true))
            return;
        if (const std::optional<long long> key = RegisterTable::Key(txt_member[0]->text()))
            m_table.Delete(*key);
        RecordPosition = 1;
        RefreshMemberList();
        for (QLineEdit* box : txt_member)
            box->clear();
        m_shownHours.clear();
    });
}

void RegisterWindow::btn_MemberPaste_Click()
{
    if ((m_form.isFromBookerForm || m_form.isFromWaitingList) && m_form.PasteTarget)
        m_form.PasteTarget->setText(txt_member[1]->text());
    accept();
}

void RegisterWindow::btn_Close_Click() { reject(); }
