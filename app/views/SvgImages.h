#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>

namespace quenlix {

// An SVG resource drawn at size (logical pixels) for a screen of the given
// device pixel ratio; transparent when the resource cannot be read.
QPixmap SvgPixmap(const QString& path, QSize size, qreal ratio);

// An icon of an SVG resource, drawn for normal and double-density screens.
QIcon SvgIcon(const QString& path, QSize size);

}  // namespace quenlix
