#pragma once

#include <QImage>
#include <QString>
#include <array>
#include <vector>

// The bar pictures of the grid's "Period" column: every part of an hour on a 15-minute raster,
// drawn once and then looked up by tag ("AB 0/30-60/60": pattern, first/carry-in-start/end).
class DurationBars {
public:
    static constexpr int Width = 64;
    static constexpr int Height = 18;

    // Draws the 140 pictures, "AB" at indexes 1 to 70 and "BA" at 71 to 140; call once.
    void PrepareImageClips();
    // The index of the picture with these minutes, 0 when there is none.
    int GetImageClips(const QString& pattern, int first, int carryIn, int start, int end) const;

    // Minute m lies at x = m; the hour ends at 60. Colours are &HBBGGRR values.
    static QImage GenerateImage(int first, int carryIn, int start, int end, long colour1, long colour2, long background);

    int Count() const { return static_cast<int>(m_images.size()); }
    const QImage& Picture(int index) const { return m_images[static_cast<size_t>(index - 1)].picture; }
    const QString& Tag(int index) const { return m_images[static_cast<size_t>(index - 1)].tag; }

private:
    struct Image {
        QString tag;
        QImage picture;
    };
    struct ClipStart {
        QString key;
        int index = 0;
    };
    void drawPattern(const QString& pattern, long colour1, long colour2);

    std::vector<Image> m_images;        // ImageList1
    std::array<ClipStart, 7> m_starts;  // ImageClipStarts
};

// A colour of the window system's &HBBGGRR form.
QColor ColourOf(long bgr);
