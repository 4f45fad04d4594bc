#pragma once

#include "BookerLookUp.h"
#include "SlotOffers.h"

#include <QDialog>
#include <QString>
#include <array>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
class SlotGrid;

// The booker of the grid's selected rows: typed, or found in a register by ID. OK books every row
// that was planned when the dialog opened, each from its own start minute for its own length (the
// selected rows as full hours when no plan is given).
class frm_Booker : public QDialog {
    Q_OBJECT

public:
    // The width of the booker's name, telephone and organisation columns: a box holds no more than
    // its column stores, so what the clerk sees is what is booked and what the audit row records.
    static constexpr int TextWidth = 255;

    frm_Booker(SlotGrid& grid, QWidget* owner);
    frm_Booker(SlotGrid& grid, QWidget* owner, std::vector<PlannedRow> plan);
    ~frm_Booker() override;

    // The dialog while it is open, for the registers that paste an ID back into it.
    static frm_Booker* Loaded();

    // The rate class: "", "member", "student" or "specialgroup" and the group number.
    QString Tag;

    QLineEdit* txt_BookerName;
    QLineEdit* txt_BookerMemberID;
    QLineEdit* txt_BookerStudentID;
    std::array<QLineEdit*, 6> txt_SpecialGroupID{};  // element i for special group i that exists
    QLineEdit* txt_BookerTel;
    QLineEdit* txt_BookerOrg;
    QLineEdit* txt_BookerPerson;
    std::array<QPushButton*, 2> btn_LookMember{};
    std::array<QPushButton*, 6> btn_LookSpecialGroup{};
    std::array<QLabel*, 6> lbl_SpecialGroup{};
    QPushButton* cmd_OK;
    QPushButton* cmd_Cancel;
    QLabel* Image1;

public slots:
    void Form_Activate();
    void cmd_OK_Click();
    void cmd_Cancel_Click();
    void txt_BookerMemberID_Change();
    void txt_BookerStudentID_Change();
    void txt_SpecialGroupID_Change(int index);
    void btn_LookMember_Click(int index);
    void btn_LookSpecialGroup_Click(int index);

protected:
    void changeEvent(QEvent* event) override;

private:
    void book();

    BookerLookUp m_lookUp;
    SlotGrid& m_grid;
    QString m_court;
    QString m_date;
    std::vector<PlannedRow> m_plan;
};
