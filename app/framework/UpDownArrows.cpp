#include "UpDownArrows.h"

namespace quenlix {

UpDownArrows::UpDownArrows(QWidget* parent, std::function<void(int)> onStep)
    : QWidget(parent), up_(new QToolButton(this)), down_(new QToolButton(this)) {
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    up_->setAutoRepeat(true);
    down_->setAutoRepeat(true);
    QObject::connect(up_, &QToolButton::clicked, this, [onStep] { onStep(+1); });
    QObject::connect(down_, &QToolButton::clicked, this, [onStep] { onStep(-1); });
    resize(16, 22);
}

void UpDownArrows::resizeEvent(QResizeEvent*) {
    const int half = height() / 2;
    up_->setGeometry(0, 0, width(), half);
    down_->setGeometry(0, half, width(), height() - half);
}

}  // namespace quenlix
