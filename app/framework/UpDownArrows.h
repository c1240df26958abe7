#pragma once

#include <QToolButton>
#include <QWidget>
#include <functional>

namespace quenlix {

// A pair of small arrow buttons beside a box: the up arrow steps by +1, the
// down arrow by -1. The owner decides what a step does.
class UpDownArrows : public QWidget {
public:
    explicit UpDownArrows(QWidget* parent, std::function<void(int)> onStep);

    QToolButton* Up() const { return up_; }
    QToolButton* Down() const { return down_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QToolButton* up_;
    QToolButton* down_;
};

}  // namespace quenlix
