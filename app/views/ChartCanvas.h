#pragma once

#include "ImageWindow.h"

class CPlotara;

namespace quenlix {

// Who is told about the pointer over a chart, in the coordinates of the
// canvas's parent (the view).
class ChartPointerHandler {
public:
    virtual void ChartMouseMove(QPoint at) = 0;
    virtual void ChartMouseLeave() = 0;
    virtual void ChartMouseWheel(QPoint at, int delta) = 0;
    virtual void ChartLeftDown(QPoint at) = 0;
    virtual void ChartLeftUp(QPoint at) = 0;
    virtual void ChartContextMenu(QPoint globalAt) = 0;

protected:
    ~ChartPointerHandler() = default;
};

// The area of a view where its chart is painted: the chart draws into the
// canvas's kept image on every repaint, and the pointer over it goes to the
// view. The pointer shape of a mouse mode is set on the canvas, so the
// toolbar and panels beside the chart keep their own.
class ChartCanvas : public ImageWindow {
public:
    ChartCanvas(CPlotara& chart, ChartPointerHandler& handler, QWidget* parent);

protected:
    void OnPaint(QImage& surface) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    QPoint InParent(QPointF at) const;

    CPlotara& chart_;
    ChartPointerHandler& handler_;
};

}  // namespace quenlix
