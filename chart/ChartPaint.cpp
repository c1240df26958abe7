#include "ChartPaint.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStringList>

ChartFont MakeChartFont(int pixelHeight, int escapement) {
    QFont font;
    // Chinese titles and labels need a CJK face; Qt falls back to any other
    // face that has the glyphs when this one is missing.
    font.setFamilies({QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC")});
    font.setPixelSize(pixelHeight);
    font.setWeight(QFont::Normal);
    return {font, escapement};
}

QPen DottedPen(const QColor& color) {
    QPen pen(color, 0);
    pen.setDashPattern({1.0, 1.0});
    return pen;
}

void DrawChartText(QPainter& painter, const ChartFont& font, const QColor& color, int x, int y,
                   const QString& text) {
    painter.setFont(font.font);
    painter.setPen(color);
    const int ascent = painter.fontMetrics().ascent();
    if (font.escapement == 0) {
        painter.drawText(x, y + ascent, text);
        return;
    }
    const QTransform before = painter.worldTransform();
    painter.translate(x, y);
    painter.rotate(-font.escapement / 10.0);
    painter.drawText(0, ascent, text);
    painter.setWorldTransform(before);
}
