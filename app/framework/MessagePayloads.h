#pragma once

#include <QString>
#include <array>
#include <concepts>
#include <string>
#include <vector>

#include "Window.h"

namespace quenlix {

// What the messages that carry data point to. A message that carries a
// pointer has a row here for the parameter that holds it; the typed helpers
// below compile only for that message, that parameter and that type, so a
// sender and a receiver cannot disagree about a payload. The payload lives
// on the sender's stack: the receiver reads it before SendMessage returns.
template <unsigned Msg>
struct WParamPayload;  // no row: wParam carries no pointer
template <unsigned Msg>
struct LParamPayload;  // no row: lParam carries no pointer

// wParam the tab id, lParam the new title.
template <>
struct LParamPayload<WM_RENAME_TAB> { using Type = QString; };
// wParam 0, lParam the time the devices run at, in ms.
template <>
struct LParamPayload<WM_INTEGRATION_TIME_SHOWN> { using Type = double; };
// wParam the kind of parameter; for kind 0 lParam is the integration time in
// ms, for the other kinds lParam is the value itself.
template <>
struct LParamPayload<WM_PAGE_COMMAND> { using Type = double; };
template <>
struct LParamPayload<WM_PAGE_PARAMETER> { using Type = double; };
// wParam the item's text, lParam 1 ticked, 0 unticked, 2 deleted.
template <>
struct WParamPayload<WM_STATIC_SPECTRUM_TOGGLED> { using Type = QString; };
// Either wParam the positions of the ticked devices with lParam 0, or wParam
// 0 with lParam the numbers of the ticked static spectra; (0, 0) asks the
// chooser to tick its first device.
template <>
struct WParamPayload<WM_CHOSEN_SOURCES> { using Type = std::vector<int>; };
template <>
struct LParamPayload<WM_CHOSEN_SOURCES> { using Type = std::vector<int>; };

// X min, X max, Y min, Y max of the chart's new region.
template <>
struct LParamPayload<WM_SET_AXIS_REGION> { using Type = std::array<double, 4>; };
// wParam -1 and lParam the leading number of a static spectrum's text ("3"
// for "3 Line"); or a device number with lParam -1; or -1, -1 for none.
template <>
struct LParamPayload<WM_SELECT_ACTIVE_SPECTRUM> { using Type = QString; };
// wParam 0 and lParam the X to move the cursor line to; or wParam +1 / -1
// (as WPARAM) with lParam 0 for one point to the right / left.
template <>
struct LParamPayload<WM_MOVE_CURSOR_LINE> { using Type = double; };
// wParam 1 for the cursor line's X, 2 for its Y.
template <>
struct LParamPayload<WM_CURSOR_VALUE> { using Type = double; };
// wParam 0, lParam the note; an empty one takes the note away.
template <>
struct LParamPayload<WM_STATUS_NOTE> { using Type = QString; };

// wParam 0, lParam the serial number of the device whose calibration changed.
template <>
struct LParamPayload<WM_DEVICE_AXES_CHANGED> { using Type = std::wstring; };

template <unsigned Msg, typename T>
concept CarriesInWParam = requires { typename WParamPayload<Msg>::Type; } &&
                          std::same_as<T, typename WParamPayload<Msg>::Type>;
template <unsigned Msg, typename T>
concept CarriesInLParam = requires { typename LParamPayload<Msg>::Type; } &&
                          std::same_as<T, typename LParamPayload<Msg>::Type>;
// Whether msg carries a T at all.
template <unsigned Msg, typename T>
concept CanSend = CarriesInWParam<Msg, T> || CarriesInLParam<Msg, T>;

// The parameter that carries payload, for a call such as ApplyParameter.
template <unsigned Msg, typename T>
    requires CarriesInWParam<Msg, T>
WPARAM AsWParam(const T& payload) {
    return reinterpret_cast<WPARAM>(&payload);
}
template <unsigned Msg, typename T>
    requires CarriesInLParam<Msg, T>
LPARAM AsLParam(const T& payload) {
    return reinterpret_cast<LPARAM>(&payload);
}

template <unsigned Msg, typename T>
    requires CarriesInWParam<Msg, T>
LRESULT SendWithWParam(Window* target, const T& payload, LPARAM lParam) {
    return SendMessage(target, Msg, AsWParam<Msg>(payload), lParam);
}
template <unsigned Msg, typename T>
    requires CarriesInLParam<Msg, T>
LRESULT SendWithLParam(Window* target, WPARAM wParam, const T& payload) {
    return SendMessage(target, Msg, wParam, AsLParam<Msg>(payload));
}

// The payload a received message carries; null when the parameter is 0.
template <unsigned Msg>
const typename WParamPayload<Msg>::Type* WParamData(WPARAM wParam) {
    return reinterpret_cast<const typename WParamPayload<Msg>::Type*>(wParam);
}
template <unsigned Msg>
const typename LParamPayload<Msg>::Type* LParamData(LPARAM lParam) {
    return reinterpret_cast<const typename LParamPayload<Msg>::Type*>(lParam);
}

}  // namespace quenlix
