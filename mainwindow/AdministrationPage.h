#pragma once

#include "ShiftHooks.h"

#include <QWidget>
#include <functional>
#include <vector>

class QGroupBox;
class QPushButton;

// The "Administration" tab: the operations of the shift, the registers with one button per special
// group, and the portal frames, whose buttons do nothing. The registers, the items and the shift's
// end open from here; "Collect Cash" and "Old Receipt" are connected by the window that holds the cart.
class AdministrationPage : public QWidget {
    Q_OBJECT

public:
    explicit AdministrationPage(QWidget* parent);

    QPushButton* btn_Options;
    QPushButton* btn_Item;
    QPushButton* btn_CollectCash;
    QPushButton* btn_EndMorningShift;
    QPushButton* btn_HandOver;
    QPushButton* btn_EndEveningShift;
    QPushButton* btn_PrintOldReceipt;
    QGroupBox* frame_MemberShip;
    QPushButton* btn_Membership;
    QPushButton* btn_Student;
    // Element 0 is the hidden template; 1..5 are made for the special groups that have a table.
    std::vector<QPushButton*> btn_MemberDynamic;
    QPushButton* btn_quorrinScheduleForce;

    // Makes the button of special group n in its own place below the template, so that a group
    // without a table leaves its place empty.
    void AddSpecialGroupButton(int n, const QString& caption);

    // What the hand-over and the end of a shift ask of the main window.
    ShiftHooks Shift;
    // Fills the payment tab's store list again after the items changed.
    std::function<void()> RefreshStore;

    void btn_Options_Click();
    // An administrator is verified, then the item register opens.
    void btn_Item_Click();
    void btn_HandOver_Click();
    void btn_EndMorningShift_Click();
    void btn_EndEveningShift_Click();
    void btn_Membership_Click();
    void btn_Student_Click();
    void btn_MemberDynamic_Click(int Index);
    void btn_quorrinScheduleForce_Click();
};
