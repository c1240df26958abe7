#pragma once

// Fonts, pens, colours and text placement shared by the chart's layers.
#include <QColor>
#include <QFont>
#include <QPen>
#include <QString>
#include <cstdint>

class QPainter;

// A chart font: a CJK-capable face at a pixel height, written at an angle.
// The angle is in tenths of a degree counter-clockwise, 900 reading upwards.
struct ChartFont {
    QFont font;
    int escapement = 0;
};

ChartFont MakeChartFont(int pixelHeight, int escapement);

// Writes text with its unrotated top-left corner at (x, y); a sloped font
// turns the text about that corner.
void DrawChartText(QPainter& painter, const ChartFont& font, const QColor& color, int x, int y,
                   const QString& text);

// One-pixel dots, one pixel apart, as grid, cursor and markings use.
QPen DottedPen(const QColor& color);

// 0x00BBGGRR as stored in the model, to the painter's colour.
inline QColor ToQColor(uint32_t colorref) {
    return QColor(colorref & 0xFF, (colorref >> 8) & 0xFF, (colorref >> 16) & 0xFF);
}
