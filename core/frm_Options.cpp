#include "frm_Options.h"
#include "DialogButtons.h"
#include "ErrorDisplay.h"
#include "Globals.h"
#include "OptionSettings.h"
#include "Prompter.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

QCheckBox* checkBox(QWidget* parent, const char* name, const QString& caption)
{
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    return box;
}

// One "Staff Group" / "Admin Group" pair under its label, named name_0 and name_1.
void addPermission(QGridLayout* grid, QWidget* parent, const QString& label, const QString& name)
{
    const int row = grid->rowCount();
    auto* group = new QWidget(parent);
    auto* pair = new QHBoxLayout(group);
    pair->setContentsMargins(0, 0, 0, 0);
    const QString captions[] = {"Staff Group", "Admin Group"};
    for (int i = 0; i < 2; ++i) {
        auto* option = new QRadioButton(captions[i], group);
        option->setObjectName(name + "_" + QString::number(i));
        option->setChecked(i == 0);
        pair->addWidget(option);
    }
    grid->addWidget(new QLabel(label, parent), row, 0);
    grid->addWidget(group, row, 1);
}

} // namespace

frm_Options::frm_Options(QWidget* owner) : QDialog(owner)
{
    setObjectName("frm_Options");
    setWindowTitle("Options");
    setModal(true);

    auto* workFlow = new QGroupBox("Work Flow", this);
    chk_AlwayAskPassword = checkBox(workFlow, "chk_AlwayAskPassword", "Always ask password");
    auto* flowLayout = new QVBoxLayout(workFlow);
    flowLayout->addWidget(chk_AlwayAskPassword);
    flowLayout->addWidget(checkBox(workFlow, "chk_LockScreen", "Lock Screen"));
    flowLayout->addWidget(checkBox(workFlow, "chk_BackupDatabase", "Backup after each shift session"));

    auto* permissions = new QGroupBox("Permissions", this);
    auto* grid = new QGridLayout(permissions);
    addPermission(grid, permissions, "Add Slots", "opt_AskAdd");
    addPermission(grid, permissions, "Delete Slots", "opt_AskDelete");
    addPermission(grid, permissions, "Control CCTV", "opt_AskCCTV");

    const DialogButtons buttons = MakeOkCancel(this, "btn_");
    QPushButton* btn_OK = buttons.ok;
    QPushButton* btn_Cancel = buttons.cancel;
    btn_OK->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(workFlow);
    layout->addWidget(permissions);
    layout->addLayout(buttons.row);

    connect(btn_OK, &QPushButton::clicked, this, &frm_Options::btn_OK_Click);
    connect(btn_Cancel, &QPushButton::clicked, this, &frm_Options::btn_Cancel_Click);
    Form_Load();
}

void frm_Options::Form_Load() { chk_AlwayAskPassword->setChecked(SkipVerification != 1); }

void frm_Options::btn_OK_Click()
{
    // Else the dialog would close as if saved, and the old setting come back at the next read.
    if (!WriteAlwaysAskPassword(chk_AlwayAskPassword->isChecked()))
        MsgBox("The option \"Always ask password\" cannot be saved in " + IniFile + ".", Msg::Critical);
    reloadSettings();
    accept();
}

void frm_Options::btn_Cancel_Click()
{
    reloadSettings();
    reject();
}

// The settings file may hold anything: a number too big for the global is shown, not thrown on.
void frm_Options::reloadSettings()
{
    try {
        ReadOptionSettings();
    } catch (const VbError& e) {
        ShowErrorDisplay(e);
    }
}
