#include "SvgImages.h"

#include <QPainter>
#include <QSvgRenderer>

namespace quenlix {

QPixmap SvgPixmap(const QString& path, QSize size, qreal ratio) {
    QPixmap pixmap(size * ratio);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(path);
    if (renderer.isValid()) {
        QPainter painter(&pixmap);
        renderer.render(&painter);
    }
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

QIcon SvgIcon(const QString& path, QSize size) {
    QIcon icon;
    for (const qreal ratio : {1.0, 2.0}) icon.addPixmap(SvgPixmap(path, size, ratio));
    return icon;
}

}  // namespace quenlix
