#pragma once

#include <QPixmap>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <vector>

class QLineEdit;

// A hidden box of the window that holds a plan's court under the mouse or its selection, as
// decimal text; it starts with its own name as its text.
QLineEdit* SelectionBox(const char* name, QWidget* parent);

// One court outline on a floor plan. Position and size are in twips (15 to a pixel) in the
// coordinates of the page that holds the plan, as the settings place them.
struct Outline {
    int Left = 0, Top = 0, Width = 0, Height = 0;
    QString Tag;
    bool Visible = false;
    int BorderStyle = 0; // 1: the solid border of the highlighted court
};

// A floor plan of the centre: its picture, one outline per court (or court type), optionally one
// alert marker per court, the court under the mouse and the click that selects it.
class FloorPlan : public QWidget {
    Q_OBJECT

public:
    FloorPlan(const QString& name, int outlines, int markers, QWidget* parent);

    // A picture that cannot be read throws a VbError naming the file.
    void LoadPicture(const QString& path);
    // Position in twips within the page; a size of 0 or less takes the picture's own.
    void Place(int top, int left, int height = 0, int width = 0);
    int Left() const { return m_left; }
    int Top() const { return m_top; }

    Outline& Shape(int index) { return m_outlines[static_cast<size_t>(index)]; }
    const Outline& Shape(int index) const { return m_outlines[static_cast<size_t>(index)]; }
    Outline& Marker(int index) { return m_markers[static_cast<size_t>(index)]; }
    int MarkerCount() const { return static_cast<int>(m_markers.size()); }
    void HideAll();

    // Places an outline from the four coordinates x0, y0, x1, y1 in picture pixels, standing margin
    // twips outside them; fewer than four parts, or parts that are not numbers, throw a VbError.
    void PlaceOutline(Outline& outline, const QStringList& coords, int margin = 0) const;

    // The first court among 0..lastIndex whose outline holds the point (twips relative to the
    // plan) strictly inside it; -1 for none.
    int HitTest(int x, int y, int lastIndex) const;
    // The highest index the hit test looks at.
    void SetLastIndex(int lastIndex) { m_lastIndex = lastIndex; }
    // The hidden box that tells which court the mouse is over: its index, or "X=" and the x twips.
    void SetCursorBox(QLineEdit* box) { m_cursorBox = box; }
    // Writes the cursor box for the point (twips relative to the plan).
    void MouseMove(int x, int y);
    // A click's choice: over no court nothing changes and -1 is returned; else the selection box
    // takes the court under the mouse, which is returned when it lies within the last index.
    int Select(QLineEdit* selectionBox) const;

    // Moves the highlight (solid border, shown) from one outline to another.
    void MoveHighlight(int from, int to);

signals:
    // The mouse moved over the plan, in twips relative to it; a click first reports where it was.
    void MouseMoved(int x, int y);
    void Click();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QRect pixelsOf(const Outline& outline) const;

    QPixmap m_picture;
    std::vector<Outline> m_outlines;
    std::vector<Outline> m_markers;
    int m_left = 0, m_top = 0;
    int m_lastIndex = -1;
    QLineEdit* m_cursorBox = nullptr;
};
