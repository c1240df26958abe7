#pragma once

#include <QLabel>
#include <QTreeWidget>
#include <vector>

#include "Window.h"

namespace quenlix {

// The chooser beside a live view: one tree of the started devices and one of
// static spectra, both with check boxes. Ticks go to the view and to its
// information panel as WM_CHOSEN_SOURCES (the ticked device positions in
// wParam, or the ticked static spectra's numbers in lParam) and
// WM_STATIC_SPECTRUM_TOGGLED (the item's text; lParam 1 ticked, 0 unticked,
// 2 deleted); MessagePayloads.h holds the payload types.
class CChooseDeviceDlg : public Window {
public:
    static constexpr int ID_DELETE_STATIC_LINE = 32899;

    explicit CChooseDeviceDlg(QWidget* parent = nullptr);

    void SetSourceTargetView(Window* view);
    void SetSourceTargetPanel(Window* panel);
    void RefreshDevices();
    // Ticks every device and tells the view and the panel once.
    void TickAllDevices();
    void AddStaticSpectrum(const QString& text);
    void ClearStaticSpectra();
    void ApplyLanguage(int index);
    LRESULT OnMessage(unsigned msg, WPARAM wParam, LPARAM lParam) override;

    QTreeWidget* DeviceTree() const { return deviceTree_; }
    QTreeWidget* StaticTree() const { return staticTree_; }
    // What a right click on a static item does: remember it, offer Delete.
    void OpenStaticMenu(QTreeWidgetItem* item, const QPoint& globalPos);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    std::vector<int> TickedDevicePositions() const;
    void SendTickedStatics();
    void OnDeviceItemChanged(QTreeWidgetItem* item);
    void OnStaticItemChanged(QTreeWidgetItem* item);

    Window* sourceTargetView = nullptr;
    Window* sourceTargetPanel = nullptr;
    QTreeWidgetItem* menuStaticItem = nullptr;
    QLabel* deviceTitle_;
    QTreeWidget* deviceTree_;
    QLabel* staticTitle_;
    QTreeWidget* staticTree_;
};

}  // namespace quenlix
