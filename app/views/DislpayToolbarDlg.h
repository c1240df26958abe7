#pragma once

#include <QHelpEvent>
#include <QScrollBar>
#include <QToolButton>
#include <map>
#include <vector>

#include "ToolbarCommands.h"
#include "Window.h"

namespace quenlix {

// The button strip above a spectrum view. Every button sends
// WM_TOOLBAR_COMMAND (command, state) to the view; the strip keeps the
// buttons' pressed states by the view's answers. Tooltips come from the text
// table in the language of the moment. Narrower than its buttons, it
// scrolls horizontally.
class CDislpayToolbarDlg : public Window {
public:
    // parent is the view, which receives the commands.
    explicit CDislpayToolbarDlg(Window* view);

    // Chooses the buttons (kLayout…) before Create.
    void SetLayout(int layout);
    // Builds the buttons of the layout.
    void Create();
    // Releases "save continuous data" (a series ended).
    void ReleaseSeriesButton();
    // Releases "automatic integration time" (the run ended).
    void ReleaseAutoIntegrationButton();

    // Width of the buttons of the layout: n × 30 + 5 for n buttons wide.
    int ToolbarWidth() const;
    // The button of a command, or none when the layout has no such button.
    QToolButton* Button(int command) const;
    bool IsPressed(int command) const;
    QScrollBar* ScrollBar() const { return scrollBar_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

private:
    void OnButton(int command);
    LRESULT Send(int command, int state);
    void SetPressed(int command, bool pressed);
    // Presses command and releases the rest of its group.
    void PressInGroup(int command, const std::vector<int>& group);
    // Shows the scroll bar when the window is narrower than the buttons.
    void UpdateScrolling();
    void ShowToolTip(const QHelpEvent& help);

    Window* view_;
    int layout_ = kLayoutLiveView;
    QWidget* strip_ = nullptr;
    QScrollBar* scrollBar_ = nullptr;
    std::map<int, QToolButton*> buttons_;
};

}  // namespace quenlix
