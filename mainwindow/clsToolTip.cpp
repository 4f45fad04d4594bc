#include "clsToolTip.h"

#include <QAbstractScrollArea>
#include <QEvent>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QToolTip>
#include <QWidget>

namespace {

// The widget that receives a control's mouse events: a list's viewport, else the control.
QWidget* mouseTarget(QWidget* control)
{
    auto* area = qobject_cast<QAbstractScrollArea*>(control);
    return area ? area->viewport() : control;
}

} // namespace

bool clsToolTip::Create(QWidget* owner)
{
    if (!m_owner)
        m_owner = owner;
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
    if (m_owner && tool != m_tools.end())
        tool->second = text;
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

QWidget* clsToolTip::toolOf(QObject* watched) const
{
    for (const auto& [control, text] : m_tools)
        if (mouseTarget(control) == watched)
            return control;
    return nullptr;
}

bool clsToolTip::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::ToolTip)
        return false;
    QWidget* control = toolOf(watched);
    if (!control)
        return false;
    const auto* help = static_cast<QHelpEvent*>(event);
    emit TipWanted(control, help->pos());
    const QString text = ToolText(control);
    if (text.isEmpty()) {
        QToolTip::hideText();
        return true;
    }
    // Lines wider than the limit wrap; the tip is never wider than it.
    QString shown = text;
    const QFontMetrics metrics(QToolTip::font());
    bool tooWide = false;
    for (const QString& line : text.split("\r\n"))
        tooWide = tooWide || (m_maxTipWidth > 0 && metrics.horizontalAdvance(line) > m_maxTipWidth);
    if (tooWide)
        shown = "<table width=\"" + QString::number(m_maxTipWidth) + "\"><tr><td>" +
                text.trimmed().toHtmlEscaped().replace("\r\n", "<br>") + "</td></tr></table>";
    QToolTip::showText(help->globalPos(), shown.trimmed(), static_cast<QWidget*>(watched), {}, m_delays[AutoPop]);
    return true;
}
