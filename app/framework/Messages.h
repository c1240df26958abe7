#pragma once

#include <cstdint>

namespace quenlix {

using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

// Private window messages of the program. Their numbers are fixed
// (WM_USER + n): traces and notes name the messages by these numbers.
inline constexpr unsigned WM_USER = 0x0400;

inline constexpr unsigned WM_OPEN_TAB = WM_USER + 2024;
inline constexpr unsigned WM_CLOSE_TAB = WM_USER + 2025;
inline constexpr unsigned WM_RENAME_TAB = WM_USER + 2026;
inline constexpr unsigned WM_DEVICES_CHANGED = WM_USER + 2027;
inline constexpr unsigned WM_EXPAND_SOURCE_PANEL = WM_USER + 2028;
inline constexpr unsigned WM_TOOLBAR_COMMAND = WM_USER + 2030;
inline constexpr unsigned WM_SET_AXIS_REGION = WM_USER + 2031;
inline constexpr unsigned WM_PAGE_COMMAND = WM_USER + 2033;
// WM_PAGE_COMMAND as the region panel hands it on to the selected page.
inline constexpr unsigned WM_PAGE_PARAMETER = WM_USER + 2035;
inline constexpr unsigned WM_INTEGRATION_TIME_SHOWN = WM_USER + 2036;
inline constexpr unsigned WM_AVERAGE_PROGRESS = WM_USER + 2037;
inline constexpr unsigned WM_SET_AXIS_UNIT = WM_USER + 2038;
inline constexpr unsigned WM_CHART_COLOR_CHANGED = WM_USER + 2039;
inline constexpr unsigned WM_CHOSEN_SOURCES = WM_USER + 2040;
inline constexpr unsigned WM_SELECT_ACTIVE_SPECTRUM = WM_USER + 2042;
inline constexpr unsigned WM_MOVE_CURSOR_LINE = WM_USER + 2043;
inline constexpr unsigned WM_CURSOR_VALUE = WM_USER + 2044;
inline constexpr unsigned WM_SHOW_CURRENT_TAB = WM_USER + 2045;
inline constexpr unsigned WM_PEAK_SETTING = WM_USER + 2046;
inline constexpr unsigned WM_STATIC_SPECTRUM_TOGGLED = WM_USER + 2047;
inline constexpr unsigned WM_RESCAN_DEVICES = WM_USER + 2049;
inline constexpr unsigned WM_ACTIVE_TRIGGER = WM_USER + 2050;
// To the region panel: a calibration was written into a device.
inline constexpr unsigned WM_DEVICE_AXES_CHANGED = WM_USER + 2051;
// To the main window: a page's note for the status bar.
inline constexpr unsigned WM_STATUS_NOTE = WM_USER + 2052;

}  // namespace quenlix
