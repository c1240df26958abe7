#include "Window.h"

#include <QTimerEvent>

namespace quenlix {

Window::Window(QWidget* parent) : QWidget(parent) {}

LRESULT Window::OnMessage(unsigned, WPARAM, LPARAM) { return 0; }

void Window::SetTimer(int id, int periodMs) {
    KillTimer(id);
    qtTimerOfId_[id] = startTimer(periodMs, Qt::PreciseTimer);
}

void Window::KillTimer(int id) {
    auto it = qtTimerOfId_.find(id);
    if (it == qtTimerOfId_.end()) return;
    killTimer(it->second);
    qtTimerOfId_.erase(it);
}

bool Window::HasTimer(int id) const { return qtTimerOfId_.count(id) != 0; }

void Window::OnTimer(int) {}

void Window::timerEvent(QTimerEvent* event) {
    for (const auto& [id, qtId] : qtTimerOfId_) {
        if (qtId == event->timerId()) {
            OnTimer(id);
            return;
        }
    }
    QWidget::timerEvent(event);
}

LRESULT SendMessage(Window* target, unsigned msg, WPARAM wParam, LPARAM lParam) {
    return target ? target->OnMessage(msg, wParam, lParam) : 0;
}

}  // namespace quenlix
