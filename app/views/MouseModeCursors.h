#pragma once

#include <QCursor>

namespace quenlix {

// The pointer over a view in each mouse mode of the chart: 0 zoom in,
// 1 zoom out, 2 zoom rectangle, 3 move image (open hand), 5 none (arrow).
// The reticule (4) keeps whatever pointer is set.
QCursor MouseModeCursor(int mode);
// Move image while the button is held (closed hand).
QCursor MoveImageHeldCursor();

}  // namespace quenlix
