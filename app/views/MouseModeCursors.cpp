#include "MouseModeCursors.h"

#include "SvgImages.h"

namespace quenlix {
namespace {

// The drawn cursors are 32 × 32; the hot spot is where the user aims.
QCursor DrawnCursor(const char* name, int hotX, int hotY) {
    return QCursor(SvgPixmap(QStringLiteral(":/cursors/%1.svg").arg(name), QSize(32, 32), 1), hotX, hotY);
}

}  // namespace

QCursor MouseModeCursor(int mode) {
    switch (mode) {
        case 0:
            return DrawnCursor("zoom_in", 12, 12);  // lens centre
        case 1:
            return DrawnCursor("zoom_out", 12, 12);
        case 2:
            return DrawnCursor("zoom_rect", 10, 10);  // cross centre
        case 3:
            return QCursor(Qt::OpenHandCursor);
        default:
            return QCursor(Qt::ArrowCursor);
    }
}

QCursor MoveImageHeldCursor() { return QCursor(Qt::ClosedHandCursor); }

}  // namespace quenlix
