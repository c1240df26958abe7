#pragma once

#include <QImage>

#include "Window.h"

namespace quenlix {

// A window that draws into an opaque image of its own size and copies the
// image to the screen. The image is kept between paints and only
// reallocated when the window's size changes.
class ImageWindow : public Window {
public:
    explicit ImageWindow(QWidget* parent = nullptr);

    // The image as last drawn (for exports and tests); repaints it first.
    const QImage& Render();

protected:
    virtual void OnPaint(QImage& surface) = 0;
    void paintEvent(QPaintEvent* event) override;

private:
    QImage surface_;
};

}  // namespace quenlix
