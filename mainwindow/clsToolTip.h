#pragma once

#include <QObject>
#include <QPoint>
#include <QString>
#include <array>
#include <map>

class QWidget;

// Multi-line tips attached to controls, whose texts can change while the program runs. Until
// Create is called every operation does nothing and answers 0, false or the empty text.
class clsToolTip : public QObject {
    Q_OBJECT

public:
    // Delay kinds: 0 automatic, 1 reshow, 2 how long a tip stays shown, 3 initial.
    static constexpr int AutoPop = 2;

    bool Create(QWidget* owner);
    // A control is a tool at most once: adding it again answers false and changes nothing.
    bool AddTool(QWidget* control, const QString& text = {});
    bool RemoveTool(QWidget* control);
    int ToolCount() const;

    // The empty text for a control that is not a tool; setting it for one is ignored.
    QString ToolText(QWidget* control) const;
    void SetToolText(QWidget* control, const QString& text);

    // Below 1 means no limit, read back as -1.
    int MaxTipWidth() const;
    void SetMaxTipWidth(int pixels);
    // The kind is taken modulo 4.
    int DelayTime(int kind) const;
    void SetDelayTime(int kind, int milliseconds);

signals:
    // Raised just before the tip of a control shows, with the mouse position in the control, so
    // that the owner can put in the text of what is under the mouse.
    void TipWanted(QWidget* control, const QPoint& position);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* toolOf(QObject* watched) const;

    QWidget* m_owner = nullptr;
    std::map<QWidget*, QString> m_tools;
    int m_maxTipWidth = -1;
    std::array<int, 4> m_delays{500, 100, 5000, 500};
};
