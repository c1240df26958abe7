#pragma once

namespace quenlix {

// Menu commands of the main window (the page commands are in SpectrumRegionDlg.h).
inline constexpr int ID_RESCAN_DEVICES = 32889;
inline constexpr int ID_USB_SPECTROMETERS = 32990;
inline constexpr int ID_ACTIVE_TRIGGER = 32971;
inline constexpr int ID_X_NANOMETER = 32860;
inline constexpr int ID_X_MICROMETER = 32861;
inline constexpr int ID_X_PIXEL = 32862;
inline constexpr int ID_X_GHZ = 32863;
inline constexpr int ID_X_WAVENUMBER = 32865;
inline constexpr int ID_X_RAMAN_SHIFT = 32866;
inline constexpr int ID_Y_INTENSITY = 32869;
inline constexpr int ID_Y_DECIBEL = 32871;
inline constexpr int ID_RAMAN_SCREENING_MODE = 32878;
inline constexpr int ID_LANGUAGE_CHS = 32785;
inline constexpr int ID_LANGUAGE_CHT = 32786;
inline constexpr int ID_LANGUAGE_ENG = 32787;
inline constexpr int ID_LANGUAGE_JAP = 32834;
inline constexpr int ID_COLOR_BACKGROUND = 32851;
inline constexpr int ID_COLOR_AXIS = 32852;
inline constexpr int ID_COLOR_GRID = 32853;
inline constexpr int ID_COLOR_TEXT = 32854;
inline constexpr int ID_COLOR_LINE = 32855;
inline constexpr int ID_COLOR_RESET_BACKGROUND = 32902;
inline constexpr int ID_EXCITATION_WAVELENGTH = 32874;
inline constexpr int ID_OPERATION_MANUAL = 32946;
// The Simulator menu's switches, shown when the spectrometers are simulated.
inline constexpr int ID_SIMULATOR_SOURCE_ON = 33001;
inline constexpr int ID_SIMULATOR_SAMPLE_IN = 33002;
inline constexpr int ID_SIMULATOR_LASER_FIRING = 33003;

}  // namespace quenlix
