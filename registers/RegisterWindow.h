#pragma once

#include "RegisterTable.h"

#include <QDialog>
#include <array>

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeView;
class RegisterForm;
class RegisterListModel;

// The register window of members, students or one special group: a search, the list of what it
// finds, and the record view of the row at RecordPosition with add, update, delete and, opened as
// a look-up, paste. Built afresh at every opening; what outlives it is kept by its RegisterForm.
class RegisterWindow : public QDialog {
    Q_OBJECT

public:
    RegisterWindow(RegisterForm& form, RegisterTable table, QWidget* owner);

    // Box i shows column position i of the record shown; box 0, the key, is hidden.
    std::array<QLineEdit*, 6> txt_member{};
    QLineEdit* txt_SearchMemberName;
    QTreeView* ListView_Member;
    QPushButton* btn_ClearSearchField;
    QPushButton* btn_Add;
    QPushButton* btn_Update;
    QPushButton* btn_Delete;
    QPushButton* btn_Refresh;
    QPushButton* btn_Close;
    QPushButton* btn_Previous;
    QPushButton* btn_Next;
    QPushButton* btn_MemberPaste;

    // The row at position n of the search result, counting the result into MemberRecordCount;
    // none past its end.
    std::optional<RegisterTable::Record> GetRecord(int n);
    void RefreshMemberList();

    void txt_SearchMemberName_Change();
    void btn_ClearSearchField_Click();
    void ListView_Member_Click(int row);
    void btn_Next_Click();
    void btn_Previous_Click();
    void btn_Refresh_Click();
    void btn_Add_Click();
    void btn_Update_Click();
    void btn_Delete_Click();
    void btn_MemberPaste_Click();
    void btn_Close_Click();

private:
    void Form_Load();
    void showRecord();
    // The table's column widths into the boxes, its list, and the record shown, all read afresh.
    void readAll();
    void step(int by);
    void setBrowsing(bool browsing);
    void update();

    RegisterForm& m_form;
    RegisterTable m_table;
    RegisterListModel* m_list;
    // The hours as the record view last showed them: Update writes the hours only when they changed.
    QString m_shownHours;
};
