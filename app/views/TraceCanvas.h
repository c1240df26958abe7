#pragma once

#include <functional>

#include "ImageWindow.h"
#include "TracePlot.h"

namespace quenlix {

// The area where a trace plot is painted. The pointer over it moves the
// plot's read-out cursor; the owner hears of each move to show the values.
class TraceCanvas : public ImageWindow {
public:
    TraceCanvas(TracePlot& plot, QWidget* parent);

    void SetCursorListener(std::function<void()> listener) { cursorMoved_ = std::move(listener); }

protected:
    void OnPaint(QImage& surface) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    TracePlot& plot_;
    std::function<void()> cursorMoved_;
};

}  // namespace quenlix
