#pragma once

#include "BookerLookUp.h"

#include <QDialog>
#include <QString>
#include <array>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class WaitListHost;
class WaitListPanel;

// Puts a customer on the waiting list of the date and court type chosen behind it: typed, or found
// in a register by ID, with the wanted hour.
class frm_WaitingList : public QDialog {
    Q_OBJECT

public:
    frm_WaitingList(WaitListHost& host, WaitListPanel& panel);
    ~frm_WaitingList() override;

    // The dialog while it is open, for the registers that paste an ID back into it.
    static frm_WaitingList* Loaded();

    // The rate class of the last look-up that found someone.
    QString Tag;

    QLineEdit* txt_BookerName;
    QLineEdit* txt_BookerMemberID;
    QLineEdit* txt_BookerStudentID;
    std::array<QLineEdit*, SpecialGroupLimit + 1> txt_SpecialGroupID{};  // element k for special group k that exists
    std::array<QLabel*, SpecialGroupLimit + 1> lbl_SpecialGroup{};
    std::array<QPushButton*, SpecialGroupLimit + 1> btn_LookSpecialGroup{};
    std::array<QPushButton*, 2> btn_LookMember{};
    QLineEdit* txt_BookerTel;
    QLineEdit* txt_BookerOrg;
    QComboBox* cmb_Time;
    QPushButton* cmd_OK;
    QPushButton* cmd_Cancel;

public slots:
    void cmd_OK_Click();
    void cmd_Cancel_Click();
    void txt_BookerMemberID_Change();
    void txt_BookerStudentID_Change();
    void txt_SpecialGroupID_Change(int index);
    void btn_LookMember_Click(int index);
    void btn_LookSpecialGroup_Click(int index);
    void Form_Activate();

protected:
    void changeEvent(QEvent* event) override;

private:
    // Looks up the entry whose storing was lost on its way; one that was stored closes the dialog.
    // Tells whether it is known not to be stored.
    bool settleUnconfirmed();
    void stored();

    WaitListHost& m_host;
    WaitListPanel& m_panel;
    BookerLookUp m_lookUp;
    // The number of an entry whose commit was never confirmed.
    std::optional<long long> m_unconfirmed;
};
