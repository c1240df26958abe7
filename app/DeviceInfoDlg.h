#pragma once

#include <QTreeWidget>

#include "Window.h"

namespace quenlix {

// The device information page: a tree of the started spectrometers with
// type, version, wavelength range and serial number, or "No Device".
class CDeviceInfoDlg : public Window {
public:
    explicit CDeviceInfoDlg(QWidget* parent = nullptr);

    void ApplyLanguage(int index);
    LRESULT OnMessage(unsigned msg, WPARAM wParam, LPARAM lParam) override;
    QTreeWidget* Tree() const { return tree_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Rebuild();

    QTreeWidget* tree_;
};

}  // namespace quenlix
