#pragma once

#include <QWidget>
#include <map>

#include "Messages.h"

namespace quenlix {

// A panel or page of the program: a Qt widget that also takes the program's
// private messages synchronously and runs timers known by small ids.
class Window : public QWidget {
public:
    explicit Window(QWidget* parent = nullptr);

    // Handles one private message; the result goes back to the sender.
    virtual LRESULT OnMessage(unsigned msg, WPARAM wParam, LPARAM lParam);

    // Starts (or restarts with a new period) the timer with this id.
    void SetTimer(int id, int periodMs);
    void KillTimer(int id);
    bool HasTimer(int id) const;

protected:
    virtual void OnTimer(int id);
    void timerEvent(QTimerEvent* event) override;

private:
    std::map<int, int> qtTimerOfId_;
};

// Delivers msg to target at once and returns its answer; 0 for no target.
LRESULT SendMessage(Window* target, unsigned msg, WPARAM wParam = 0, LPARAM lParam = 0);

}  // namespace quenlix
