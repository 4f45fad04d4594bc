#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <array>
#include <map>

class QLabel;

// Multi-line tips attached to controls, whose texts can change while the program runs. A tool's tip
// shows whatever window is active, and a tip that shows takes a new text at once. Until Create is
// called every operation does nothing and answers 0, false or the empty text.
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

    // The empty text for a control that is not a tool; setting it for one is ignored. The tip showing
    // for the control shows the new text, or goes when it is empty.
    QString ToolText(QWidget* control) const;
    void SetToolText(QWidget* control, const QString& text);

    // Below 1 means no limit, read back as -1; any other width reads back as set, above 32767 too.
    int MaxTipWidth() const;
    void SetMaxTipWidth(int pixels);
    // The kind is taken modulo 4. Only how long a tip stays shown (AutoPop) acts on the tips; the
    // other kinds are kept and read back, the waits before a tip shows being the desktop's own.
    int DelayTime(int kind) const;
    void SetDelayTime(int kind, int milliseconds);

    // Colours of the tips as 32-bit Windows values (0x00BBGGRR), the desktop's tip colours until set.
    long BackColor() const;
    void SetBackColor(long colour);
    long ForeColor() const;
    void SetForeColor(long colour);
    // Space added inside the tip on one side: 0 left, 1 top, 2 right, 3 bottom. Any other side
    // reads 0, and setting it changes nothing.
    int Margin(int side) const;
    void SetMargin(int side, int pixels);

    // The window of the tip this instance shows, 0 while it shows none.
    WId hWnd() const;
    WId ToolTipHandle() const { return hWnd(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* toolOf(QObject* watched) const;
    void showTip(QWidget* at, const QPoint& globalPos, const QString& text);
    // Lets window show tips while another window is active, as long as the mouse rests on one of its
    // tools; nullptr gives the window back its own setting.
    void showWhileInactive(QWidget* window);
    // Gives the tip shown the colours and margins of this instance.
    void dressTip();

    QWidget* m_owner = nullptr;
    std::map<QWidget*, QString> m_tools;
    int m_maxTipWidth = -1;
    std::array<int, 4> m_delays{500, 100, 5000, 500};
    long m_backColor = 0;
    long m_foreColor = 0;
    std::array<int, 4> m_margins{};
    // The desktop's tip window while it shows a tip of this instance, and where it shows it.
    QPointer<QLabel> m_tip;
    QPointer<QWidget> m_tipAt;
    QPoint m_tipPos;
    // The window of the tool the mouse rests on, and whether it showed tips while inactive before.
    QPointer<QWidget> m_alwaysShowing;
    bool m_showedAlways = false;
};
