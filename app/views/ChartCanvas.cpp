#include "ChartCanvas.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include "Plotara.h"

namespace quenlix {

ChartCanvas::ChartCanvas(CPlotara& chart, ChartPointerHandler& handler, QWidget* parent)
    : ImageWindow(parent), chart_(chart), handler_(handler) {
    setMouseTracking(true);
}

void ChartCanvas::OnPaint(QImage& surface) {
    // A new painter each time: the chart starts from the defaults (black
    // pen, default font) as on a fresh surface.
    QPainter painter(&surface);
    chart_.DrawImage(painter);
}

QPoint ChartCanvas::InParent(QPointF at) const { return at.toPoint() + pos(); }

void ChartCanvas::mouseMoveEvent(QMouseEvent* event) { handler_.ChartMouseMove(InParent(event->position())); }

void ChartCanvas::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) handler_.ChartLeftDown(InParent(event->position()));
}

void ChartCanvas::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) handler_.ChartLeftUp(InParent(event->position()));
}

void ChartCanvas::wheelEvent(QWheelEvent* event) {
    const int delta = event->angleDelta().y();
    if (delta != 0) handler_.ChartMouseWheel(InParent(event->position()), delta);
}

void ChartCanvas::leaveEvent(QEvent*) { handler_.ChartMouseLeave(); }

void ChartCanvas::contextMenuEvent(QContextMenuEvent* event) { handler_.ChartContextMenu(event->globalPos()); }

}  // namespace quenlix
