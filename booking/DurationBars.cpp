#include "DurationBars.h"

#include <QPainter>

QColor ColourOf(long bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }

namespace {

QString tagOf(const QString& pattern, int first, int carryIn, int start, int end)
{
    return pattern + " " + QString::number(first) + "/" + QString::number(carryIn) + "-" + QString::number(start) +
           "/" + QString::number(end);
}

} // namespace

QImage DurationBars::GenerateImage(int first, int carryIn, int start, int end, long colour1, long colour2,
                                   long background)
{
    QImage image(Width, Height, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.fillRect(QRect(QPoint(first, 0), QPoint(59, Height - 1)), ColourOf(background));
    if (first != carryIn)
        p.fillRect(QRect(QPoint(first, 0), QPoint(carryIn - 1, Height - 1)), ColourOf(colour1));
    if (start != end)
        p.fillRect(QRect(QPoint(start, 0), QPoint(end - 1, Height - 1)), ColourOf(colour2));
    return image;
}

void DurationBars::drawPattern(const QString& pattern, long colour1, long colour2)
{
    for (int first = 0; first <= 60; first += 15)
        for (int carryIn = first; carryIn <= 60; carryIn += 15)
            for (int start = carryIn; start <= 60; start += 15)
                for (int end = start; end <= 60; end += 15)
                    m_images.push_back({tagOf(pattern, first, carryIn, start, end),
                                        GenerateImage(first, carryIn, start, end, colour1, colour2, 0xFFFFFF)});
}

void DurationBars::PrepareImageClips()
{
    m_starts[0] = {"AB ", Count() + 1};
    drawPattern("AB", 0xFF0000, 0x800000);
    m_starts[1] = {"BA ", Count() + 1};
    drawPattern("BA", 0x800000, 0xFF0000);
}

int DurationBars::GetImageClips(const QString& pattern, int first, int carryIn, int start, int end) const
{
    int from = 1;
    for (const ClipStart& s : m_starts)
        if (s.key == pattern + " ")
            from = s.index;
    const QString wanted = tagOf(pattern, first, carryIn, start, end);
    for (int i = from; i <= Count(); ++i)
        if (Tag(i) == wanted)
            return i;
    return 0;
}
