#pragma once

#include <QWidget>
#include <array>

class ClickLabel;
class FloorPlan;
class QLabel;
class QLineEdit;
class QPushButton;

// The "Lighting" tab: the floor plan the court is picked on, its five light switches set by hand,
// and the commit that records them as one row of the light log.
class LightingPage : public QWidget {
    Q_OBJECT

public:
    explicit LightingPage(QWidget* parent);

    FloorPlan* LayoutPlan2;
    std::array<ClickLabel*, 5> LightSwitch;
    QLabel* SwitchOn;
    QLabel* SwitchOff;
    QPushButton* btn_LightCommit;
    QLineEdit* txtInfo_LightSelect;
    QLineEdit* Text3;
    QLabel* txt_Time3;

    // Every switch shows off.
    void ResetLightSwitches();
    bool IsOn(int index) const;

    // X and Y in twips relative to the plan.
    void LayoutPlan2_MouseMove(int X, int Y);
    void LayoutPlan2_Click();
    void LightSwitch_Click(int Index);
    void btn_LightCommit_Click();
};
