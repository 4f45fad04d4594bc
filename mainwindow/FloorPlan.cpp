#include "FloorPlan.h"

#include "Vb.h"
#include "VbError.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>

namespace {
constexpr int TwipsPerPixel = 15;
constexpr long SubscriptOutOfRange = 9;
}

QLineEdit* SelectionBox(const char* name, QWidget* parent)
{
    auto* box = new QLineEdit(name, parent);
    box->setObjectName(name);
    box->hide();
    return box;
}

FloorPlan::FloorPlan(const QString& name, int outlines, int markers, QWidget* parent)
    : QWidget(parent), m_outlines(static_cast<size_t>(outlines)), m_markers(static_cast<size_t>(markers))
{
    setObjectName(name);
    setMouseTracking(true);
    setCursor(Qt::PointingHandCursor);
}

void FloorPlan::LoadPicture(const QString& path)
{
    QPixmap picture;
    if (!picture.load(path))
        throw VbError(VbErrors::FileNotFound, "Pallowin",
                      "The picture " + QFileInfo(path).absoluteFilePath() + " cannot be read.");
    m_picture = picture;
    update();
}

void FloorPlan::Place(int top, int left, int height, int width)
{
    m_top = top;
    m_left = left;
    const QSize size(width > 0 ? width / TwipsPerPixel : m_picture.width(),
                     height > 0 ? height / TwipsPerPixel : m_picture.height());
    setGeometry(left / TwipsPerPixel, top / TwipsPerPixel, size.width(), size.height());
    setFixedSize(size);
    if (parentWidget())
        parentWidget()->setMinimumSize(
            parentWidget()->minimumSize().expandedTo(QSize(geometry().right() + 1, geometry().bottom() + 1)));
}

void FloorPlan::HideAll()
{
    for (Outline& o : m_outlines)
        o.Visible = false;
    for (Outline& o : m_markers)
        o.Visible = false;
    update();
}

void FloorPlan::PlaceOutline(Outline& outline, const QStringList& coords, int margin) const
{
    if (coords.size() < 4)
        throw VbError(SubscriptOutOfRange, "Pallowin",
                      "\"" + coords.join(", ") + "\" is not four numbers x0, y0, x1, y1.");
    int x[4];
    for (int i = 0; i < 4; ++i)
        x[i] = Vb::CInt(coords[i]);
    outline.Left = m_left + TwipsPerPixel * x[0] - margin;
    outline.Top = m_top + TwipsPerPixel * x[1] - margin;
    outline.Width = TwipsPerPixel * (x[2] - x[0]) + 2 * margin;
    outline.Height = TwipsPerPixel * (x[3] - x[1]) + 2 * margin;
}

int FloorPlan::HitTest(int x, int y, int lastIndex) const
{
    for (int i = 0; i <= lastIndex && i < static_cast<int>(m_outlines.size()); ++i) {
        const Outline& o = m_outlines[static_cast<size_t>(i)];
        const int left = o.Left - m_left, top = o.Top - m_top;
        if (left < x && x < left + o.Width && top < y && y < top + o.Height)
            return i;
    }
    return -1;
}

void FloorPlan::MouseMove(int x, int y)
{
    if (!m_cursorBox)
        return;
    m_cursorBox->setText("X=" + QString::number(x));
    const int court = HitTest(x, y, m_lastIndex);
    if (court >= 0)
        m_cursorBox->setText(QString::number(court));
}

int FloorPlan::Select(QLineEdit* selectionBox) const
{
    if (!m_cursorBox || m_cursorBox->text().startsWith('X'))
        return -1;
    selectionBox->setText(m_cursorBox->text());
    // Compared as a number: court 10 is not below court 2.
    const int court = static_cast<int>(Vb::Val(selectionBox->text()));
    return court >= 0 && court <= m_lastIndex ? court : -1;
}

void FloorPlan::MoveHighlight(int from, int to)
{
    if (from >= 0 && from < static_cast<int>(m_outlines.size())) {
        Shape(from).BorderStyle = 0;
        Shape(from).Visible = false;
    }
    Outline& now = Shape(to);
    now.BorderStyle = 1;
    now.Visible = true;
    update();
}

QRect FloorPlan::pixelsOf(const Outline& o) const
{
    return QRect((o.Left - m_left) / TwipsPerPixel, (o.Top - m_top) / TwipsPerPixel, o.Width / TwipsPerPixel,
                 o.Height / TwipsPerPixel);
}

void FloorPlan::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_picture);
    painter.setBrush(Qt::NoBrush);
    for (const Outline& marker : m_markers)
        if (marker.Visible) {
            painter.setPen(QPen(QColor(220, 30, 30), 4));
            painter.drawRect(pixelsOf(marker).adjusted(2, 2, -2, -2));
        }
    // An outline without a border shows nothing, even when it is visible.
    painter.setPen(QPen(QColor(255, 210, 0), 3));
    for (const Outline& outline : m_outlines)
        if (outline.Visible && outline.BorderStyle != 0)
            painter.drawRect(pixelsOf(outline).adjusted(1, 1, -1, -1));
}

void FloorPlan::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    emit MouseMoved(p.x() * TwipsPerPixel, p.y() * TwipsPerPixel);
}

void FloorPlan::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    mouseMoveEvent(event);
    emit Click();
}
