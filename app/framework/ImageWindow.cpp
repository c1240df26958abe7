#include "ImageWindow.h"

#include <QPainter>

namespace quenlix {

ImageWindow::ImageWindow(QWidget* parent) : Window(parent) {
    // Every pixel is drawn by OnPaint: skip Qt's background fill.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

const QImage& ImageWindow::Render() {
    const QSize wanted = size().expandedTo(QSize(1, 1));
    if (surface_.size() != wanted) surface_ = QImage(wanted, QImage::Format_RGB32);
    OnPaint(surface_);
    return surface_;
}

void ImageWindow::paintEvent(QPaintEvent*) {
    const QImage& image = Render();
    QPainter(this).drawImage(0, 0, image);
}

}  // namespace quenlix
