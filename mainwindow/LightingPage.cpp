#include "LightingPage.h"

#include "ClickLabel.h"
#include "FloorPlan.h"

#include "Clock.h"
#include "Db.h"
#include "ErrorDisplay.h"
#include "Globals.h"
#include "Prompter.h"
#include "SqlQuote.h"
#include "Verification.h"

#include "Vb.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QPixmap switchPicture(bool on)
{
    QPixmap picture(44, 72);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(235, 235, 230));
    p.setPen(QPen(QColor(90, 90, 90), 2));
    p.drawRoundedRect(QRectF(3, 3, 38, 66), 6, 6);
    p.setBrush(on ? QColor(255, 200, 40) : QColor(120, 120, 120));
    p.drawRoundedRect(on ? QRectF(11, 10, 22, 26) : QRectF(11, 36, 22, 26), 4, 4);
    p.setPen(Qt::black);
    p.drawText(QRectF(3, on ? 38 : 12, 38, 20), Qt::AlignCenter, on ? "ON" : "OFF");
    return picture;
}


} // namespace

LightingPage::LightingPage(QWidget* parent) : QWidget(parent)
{
    setObjectName("frame_LightingTab");
    auto* planArea = new QWidget(this);
    LayoutPlan2 = new FloorPlan("LayoutPlan2", MaxCourts, 0, planArea);
    Text3 = SelectionBox("Text3", this);
    txtInfo_LightSelect = SelectionBox("txtInfo_LightSelect", this);
    LayoutPlan2->SetCursorBox(Text3);
    connect(LayoutPlan2, &FloorPlan::MouseMoved, this, &LightingPage::LayoutPlan2_MouseMove);
    connect(LayoutPlan2, &FloorPlan::Click, this, &LightingPage::LayoutPlan2_Click);

    SwitchOn = new QLabel(this);
    SwitchOn->setObjectName("SwitchOn");
    SwitchOn->setPixmap(switchPicture(true));
    SwitchOn->hide();
    SwitchOff = new QLabel(this);
    SwitchOff->setObjectName("SwitchOff");
    SwitchOff->setPixmap(switchPicture(false));
    SwitchOff->hide();

    auto* frame = new QGroupBox(this);
    frame->setObjectName("frame_Lighting");
    auto* switches = new QHBoxLayout(frame);
    for (int i = 0; i < 5; ++i) {
        LightSwitch[static_cast<size_t>(i)] = new ClickLabel(frame);
        LightSwitch[static_cast<size_t>(i)]->setObjectName("LightSwitch" + QString::number(i));
        LightSwitch[static_cast<size_t>(i)]->setCursor(Qt::PointingHandCursor);
        connect(LightSwitch[static_cast<size_t>(i)], &ClickLabel::clicked, this, [this, i] { LightSwitch_Click(i); });
        switches->addWidget(LightSwitch[static_cast<size_t>(i)], 0, Qt::AlignHCenter);
    }
    btn_LightCommit = new QPushButton("Commit", this);
    btn_LightCommit->setObjectName("btn_LightCommit");
    connect(btn_LightCommit, &QPushButton::clicked, this, &LightingPage::btn_LightCommit_Click);
    txt_Time3 = new QLabel(this);
    txt_Time3->setObjectName("txt_Time3");
    ResetLightSwitches();

    auto* side = new QVBoxLayout;
    side->addWidget(frame);
    side->addWidget(btn_LightCommit, 0, Qt::AlignLeft);
    side->addStretch();
    side->addWidget(txt_Time3, 0, Qt::AlignRight);
    auto* all = new QHBoxLayout(this);
    all->addWidget(planArea, 0, Qt::AlignTop);
    all->addLayout(side, 1);
}

void LightingPage::ResetLightSwitches()
{
    for (ClickLabel* light : LightSwitch)
        light->setPixmap(SwitchOff->pixmap());
}

bool LightingPage::IsOn(int index) const
{
    return LightSwitch[static_cast<size_t>(index)]->pixmap().cacheKey() == SwitchOn->pixmap().cacheKey();
}

void LightingPage::LayoutPlan2_MouseMove(int X, int Y) { LayoutPlan2->MouseMove(X, Y); }

void LightingPage::LayoutPlan2_Click()
{
    const int court = LayoutPlan2->Select(txtInfo_LightSelect);
    if (court < 0)
        return;
    LayoutPlan2->MoveHighlight(SelectedLightCourt, court);
    SelectedLightCourt = court;
    // A newly chosen court starts with every switch off.
    ResetLightSwitches();
}

void LightingPage::LightSwitch_Click(int Index)
{
    LightSwitch[static_cast<size_t>(Index)]->setPixmap(IsOn(Index) ? SwitchOff->pixmap() : SwitchOn->pixmap());
}

void LightingPage::btn_LightCommit_Click()
{
    try {
        CurrentTask = "recording the lights";
        ShowVerifyUser(window());
        if (!IsUserAllowed(false))
            return;
        if (MsgBox("Confirm Light Status?", Msg::YesNo, "Important") != Msg::Yes)
            return;
        QString statement = "INSERT INTO tbl_light SET l_field=" +
                            QString::number(Vb::CInt(Vb::Val(txtInfo_LightSelect->text()))) + ", l_staff='" +
                            SqlQuote(Succeeded_User) + "', l_datetime='" + DbDateTime(Now()) + "'";
        for (int i = 0; i < 5; ++i)
            statement += ", l_row" + QString::number(i) + "='" + (IsOn(i) ? "on" : "off") + "'";
        Db::Execute(statement);
    } catch (const VbError& e) {
        ShowErrorDisplay(e);
    }
}
