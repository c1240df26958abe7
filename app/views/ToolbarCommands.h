#pragma once

namespace quenlix {

// Commands of the display toolbar, sent to the view as WM_TOOLBAR_COMMAND
// (wParam the command, lParam 1 pressed or 0 released).
inline constexpr int ID_BTN_DEV_RUN = 32795;
inline constexpr int ID_BTN_DEV_STOP = 32796;
inline constexpr int ID_BTN_DEV_RUN_ONCE = 32797;
inline constexpr int ID_BTN_FIT_WINDOW = 32799;
inline constexpr int ID_BTN_FIT_IMAGE = 32800;
inline constexpr int ID_BTN_FIT_VERTICAL = 32801;
inline constexpr int ID_BTN_ZOOM_IN = 32802;
inline constexpr int ID_BTN_ZOOM_OUT = 32803;
inline constexpr int ID_BTN_MOVE_IMAGE = 32805;
inline constexpr int ID_BTN_STORE_DARK = 32806;
inline constexpr int ID_BTN_STORE_REFERENCE = 32807;
inline constexpr int ID_BTN_SHOW_RAW = 32817;
inline constexpr int ID_BTN_SUBTRACT_DARK = 32818;
inline constexpr int ID_BTN_ABSORBANCE = 32819;
inline constexpr int ID_BTN_TRANSMISSIVITY = 32820;
inline constexpr int ID_BTN_REFLECTIVITY = 32821;
inline constexpr int ID_BTN_SET_COORDS = 32822;
inline constexpr int ID_BTN_CHOOSE_ZOOM = 32825;
inline constexpr int ID_BTN_ADD_ACTIVE_SPECTRUM = 32826;
inline constexpr int ID_BTN_SAVE_SPECTRUM = 32827;
inline constexpr int ID_BTN_LOAD_SPECTRUM = 32828;
inline constexpr int ID_BTN_DELETE_SPECTRA = 32829;
inline constexpr int ID_BTN_PRINT_IMAGE = 32830;
inline constexpr int ID_BTN_SAVE_IMAGE = 32832;
inline constexpr int ID_BTN_RETICULE = 32875;
inline constexpr int ID_BTN_AUTO_PEAK = 32876;
inline constexpr int ID_BTN_SAVE_SERIES = 32948;
inline constexpr int ID_BTN_END_OPENING = 32957;
inline constexpr int ID_BTN_OPEN_CONTINUOUS = 32958;
inline constexpr int ID_BTN_SUPERPOSITION = 32959;
inline constexpr int ID_BTN_STORE_DARK_AND_SUBTRACT = 32962;
inline constexpr int ID_BTN_EXTRA = 32965;
inline constexpr int ID_BTN_AUTO_INTEGRATION = 32970;
inline constexpr int ID_BTN_SAVE_BASE_DELETED = 32973;

// The toolbar layouts: which buttons a view shows.
inline constexpr int kLayoutLiveView = 143;
inline constexpr int kLayoutContinuousViewer = 215;
inline constexpr int kLayoutUnused216 = 216;
inline constexpr int kLayoutCalibration = 217;
inline constexpr int kLayoutUnused218 = 218;

// Context-menu commands of the chart.
inline constexpr int ID_ADD_MARKING = 32935;
inline constexpr int ID_ADD_MARKINGS_AT_PEAKS = 32924;
inline constexpr int ID_DELETE_ALL_MARKINGS = 32941;

}  // namespace quenlix
