#pragma once

#include <QPointer>
#include <cstdint>

#include "Window.h"

namespace quenlix {

// Values every window of the program reads; touched on the UI thread only.

// UI language: 0 Simplified Chinese, 1 Traditional Chinese, 2 English,
// 3 Japanese; the column of every UI string row.
extern int languageIndex;

// Chart colours as 0x00BBGGRR. They live only while the program runs.
extern std::uint32_t chartBackgroundColor;
extern std::uint32_t chartAxisColor;
extern std::uint32_t chartGridColor;
extern std::uint32_t chartTextColor;

// Excitation wavelength in nm for the Raman shift axis.
extern double excitationWavelengthSetting;

// The desktop's button face colour, the chart's default background.
std::uint32_t SystemButtonFaceColor();

// Windows that register themselves as the receivers of messages sent to
// "the main window", "the region panel" and so on. Each empties itself when
// its window is destroyed.
struct MessageTargets {
    QPointer<Window> mainWindow;          // WM_RESCAN_DEVICES, WM_STATUS_NOTE
    QPointer<Window> regionPanel;         // WM_RENAME_TAB, WM_CLOSE_TAB
    QPointer<Window> parameterStrip;      // WM_INTEGRATION_TIME_SHOWN
    QPointer<Window> deviceInfoPage;      // WM_DEVICES_CHANGED
};
extern MessageTargets messageTargets;

}  // namespace quenlix
