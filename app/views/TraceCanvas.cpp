#include "TraceCanvas.h"

#include <QMouseEvent>
#include <QPainter>

namespace quenlix {

TraceCanvas::TraceCanvas(TracePlot& plot, QWidget* parent) : ImageWindow(parent), plot_(plot) {
    setMouseTracking(true);
}

void TraceCanvas::OnPaint(QImage& surface) {
    QPainter painter(&surface);
    plot_.Draw(painter);
}

void TraceCanvas::resizeEvent(QResizeEvent*) { plot_.SetPlotRect(width(), height()); }

void TraceCanvas::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    plot_.SetCursorPixel(at.x(), at.y());
    update();
    if (cursorMoved_) cursorMoved_();
}

void TraceCanvas::leaveEvent(QEvent*) {
    plot_.HideCursor();
    update();
    if (cursorMoved_) cursorMoved_();
}

}  // namespace quenlix
