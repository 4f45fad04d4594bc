#include "clsToolTip.h"

#include "DurationBars.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QLabel>
#include <QToolTip>

namespace {

// The widget that receives a control's mouse events: a list's viewport, else the control.
QWidget* mouseTarget(QWidget* control)
{
    auto* area = qobject_cast<QAbstractScrollArea*>(control);
    return area ? area->viewport() : control;
}

long windowsColour(const QColor& colour) { return colour.red() | colour.green() << 8 | colour.blue() << 16; }

// The desktop's tip window that shows text.
QLabel* tipShowing(const QString& text)
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* label = qobject_cast<QLabel*>(window);
        if (label && window->inherits("QTipLabel") && !window->isHidden() && label->text() == text)
            return label;
    }
    return nullptr;
}

} // namespace

bool clsToolTip::Create(QWidget* owner)
{
    if (!m_owner && owner) {
        m_owner = owner;
        const QPalette desktop = QToolTip::palette();
        m_backColor = windowsColour(desktop.color(QPalette::ToolTipBase));
        m_foreColor = windowsColour(desktop.color(QPalette::ToolTipText));
    }
    return m_owner != nullptr;
}

bool clsToolTip::AddTool(QWidget* control, const QString& text)
{
    if (!m_owner || !control || m_tools.count(control))
        return false;
    m_tools[control] = text;
    mouseTarget(control)->installEventFilter(this);
    connect(control, &QObject::destroyed, this, [this, control] { m_tools.erase(control); });
    return true;
}

bool clsToolTip::RemoveTool(QWidget* control)
{
    if (!m_owner || !m_tools.erase(control))
        return false;
    mouseTarget(control)->removeEventFilter(this);
    disconnect(control, &QObject::destroyed, this, nullptr);
    return true;
}

int clsToolTip::ToolCount() const { return m_owner ? static_cast<int>(m_tools.size()) : 0; }

QString clsToolTip::ToolText(QWidget* control) const
{
    const auto tool = m_tools.find(control);
    return m_owner && tool != m_tools.end() ? tool->second : QString();
}

void clsToolTip::SetToolText(QWidget* control, const QString& text)
{
    const auto tool = m_tools.find(control);
    if (!m_owner || tool == m_tools.end())
        return;
    tool->second = text;
    if (!m_tip || !m_tip->isVisible() || !m_tipAt || toolOf(m_tipAt) != control)
        return;
    if (text.isEmpty())
        m_tip->hide();
    else
        showTip(m_tipAt, m_tipPos, text);
}

int clsToolTip::MaxTipWidth() const { return m_owner ? m_maxTipWidth : 0; }

void clsToolTip::SetMaxTipWidth(int pixels)
{
    if (m_owner)
        m_maxTipWidth = pixels < 1 ? -1 : pixels;
}

int clsToolTip::DelayTime(int kind) const { return m_owner ? m_delays[static_cast<size_t>(kind & 3)] : 0; }

void clsToolTip::SetDelayTime(int kind, int milliseconds)
{
    if (m_owner)
        m_delays[static_cast<size_t>(kind & 3)] = milliseconds;
}

long clsToolTip::BackColor() const { return m_owner ? m_backColor : 0; }

void clsToolTip::SetBackColor(long colour)
{
    if (m_owner) {
        m_backColor = colour;
        dressTip();
    }
}

long clsToolTip::ForeColor() const { return m_owner ? m_foreColor : 0; }

void clsToolTip::SetForeColor(long colour)
{
    if (m_owner) {
        m_foreColor = colour;
        dressTip();
    }
}

int clsToolTip::Margin(int side) const
{
    return m_owner && side >= 0 && side < 4 ? m_margins[static_cast<size_t>(side)] : 0;
}

void clsToolTip::SetMargin(int side, int pixels)
{
    if (m_owner && side >= 0 && side < 4) {
        m_margins[static_cast<size_t>(side)] = pixels;
        dressTip();
    }
}

WId clsToolTip::hWnd() const { return m_tip && m_tip->isVisible() ? m_tip->winId() : 0; }

QWidget* clsToolTip::toolOf(QObject* watched) const
{
    for (const auto& [control, text] : m_tools)
        if (mouseTarget(control) == watched)
            return control;
    return nullptr;
}

void clsToolTip::showWhileInactive(QWidget* window)
{
    if (window == m_alwaysShowing)
        return;
    if (m_alwaysShowing)
        m_alwaysShowing->setAttribute(Qt::WA_AlwaysShowToolTips, m_showedAlways);
    m_alwaysShowing = window;
    if (window) {
        m_showedAlways = window->testAttribute(Qt::WA_AlwaysShowToolTips);
        window->setAttribute(Qt::WA_AlwaysShowToolTips);
    }
}

bool clsToolTip::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Enter && toolOf(watched)) {
        // The desktop shows tips only in the active window unless a window asks otherwise; only
        // while the mouse is on our tool, so that the window's other controls keep the rule.
        showWhileInactive(static_cast<QWidget*>(watched)->window());
        return false;
    }
    if (event->type() == QEvent::Leave) {
        showWhileInactive(nullptr);
        // The desktop reuses its tip window for the next tip of any control: ours goes at once,
        // so that no other tip shows in our colours.
        if (m_tip)
            m_tip->hide();
        return false;
    }
    if (event->type() != QEvent::ToolTip)
        return false;
    QWidget* control = toolOf(watched);
    if (!control)
        return false;
    const auto* help = static_cast<QHelpEvent*>(event);
    const QString text = ToolText(control);
    if (text.isEmpty()) {
        QToolTip::hideText();
        return true;
    }
    showTip(static_cast<QWidget*>(watched), help->globalPos(), text);
    return true;
}

void clsToolTip::showTip(QWidget* at, const QPoint& globalPos, const QString& text)
{
    // Lines wider than the limit wrap; the tip is never wider than it.
    QString shown = text;
    const QFontMetrics metrics(QToolTip::font());
    bool tooWide = false;
    for (const QString& line : text.split("\r\n"))
        tooWide = tooWide || (m_maxTipWidth > 0 && metrics.horizontalAdvance(line) > m_maxTipWidth);
    if (tooWide)
        shown = "<table width=\"" + QString::number(m_maxTipWidth) + "\"><tr><td>" +
                text.trimmed().toHtmlEscaped().replace("\r\n", "<br>") + "</td></tr></table>";
    QToolTip::showText(globalPos, shown.trimmed(), at, {}, m_delays[AutoPop]);
    m_tip = tipShowing(shown.trimmed());
    m_tipAt = at;
    m_tipPos = globalPos;
    dressTip();
}

void clsToolTip::dressTip()
{
    if (!m_tip)
        return;
    QPalette palette = m_tip->palette();
    palette.setColor(QPalette::ToolTipBase, ColourOf(m_backColor));
    palette.setColor(QPalette::ToolTipText, ColourOf(m_foreColor));
    m_tip->setPalette(palette);
    m_tip->setContentsMargins(m_margins[0], m_margins[1], m_margins[2], m_margins[3]);
    m_tip->resize(m_tip->sizeHint());
}
