#pragma once

#include "OwnText.h"

namespace quenlix {

// The texts of the USB spectrometer dialog, the permission message and the
// hotplug notes.

// One row a text, broken only between sentences.
// clang-format off

inline constexpr OwnTextRow usbMenu_Spectrometers = {L"USB 光谱仪…", L"USB 光譜儀…", L"USB Spectrometers…"};

inline constexpr OwnTextRow usbDlg_Title = {L"USB 光谱仪", L"USB 光譜儀", L"USB Spectrometers"};
// %1: the device list file.
inline constexpr OwnTextRow usbDlg_Intro = {
    L"勾选您的光谱仪。本程序只查找 %1 中列出的“厂商:产品”编号。",
    L"勾選您的光譜儀。本程式只尋找 %1 中列出的「廠商:產品」編號。",
    L"Tick your spectrometers. Quenlix looks only for the vendor:product pairs listed in %1."};
inline constexpr OwnTextRow usbDlg_ColumnPair = {L"厂商:产品", L"廠商:產品", L"Vendor:Product"};
inline constexpr OwnTextRow usbDlg_ColumnManufacturer = {L"制造商", L"製造商", L"Manufacturer"};
inline constexpr OwnTextRow usbDlg_ColumnProduct = {L"产品", L"產品", L"Product"};
inline constexpr OwnTextRow usbDlg_ColumnBus = {L"总线", L"匯流排", L"Bus"};
inline constexpr OwnTextRow usbDlg_ColumnAddress = {L"地址", L"位址", L"Address"};
inline constexpr OwnTextRow usbDlg_ColumnListed = {L"已列出", L"已列出", L"Listed"};
inline constexpr OwnTextRow usbDlg_Yes = {L"是", L"是", L"yes"};
inline constexpr OwnTextRow usbDlg_NoDevices = {L"未找到 USB 设备。", L"未找到 USB 裝置。", L"No USB device found."};
// %1: the rules file.
inline constexpr OwnTextRow usbDlg_RuleHeading = {
    L"要让普通用户打开勾选的设备，%1 中须有以下规则行；安装该文件并重新加载规则：",
    L"要讓一般使用者開啟勾選的裝置，%1 中須有以下規則行；安裝該檔案並重新載入規則：",
    L"For a normal user to open the ticked devices, %1 must hold these lines; install it and "
    L"reload the rules:"};
inline constexpr OwnTextRow usbDlg_RuleNone = {L"勾选设备后，这里显示它的 udev 规则。",
                                               L"勾選裝置後，這裡顯示它的 udev 規則。",
                                               L"Tick a device to see its udev rule here."};
inline constexpr OwnTextRow usbDlg_Replug = {L"然后拔下光谱仪再重新插上。", L"然後拔下光譜儀再重新插上。",
                                             L"Then unplug the spectrometer and plug it in again."};
inline constexpr OwnTextRow usbDlg_Save = {L"保存", L"儲存", L"Save"};
inline constexpr OwnTextRow usbDlg_SaveAndRescan = {L"保存并重新扫描", L"儲存並重新掃描", L"Save and Rescan"};
inline constexpr OwnTextRow usbDlg_Close = {L"关闭", L"關閉", L"Close"};
// %1: the device list file.
inline constexpr OwnTextRow usbDlg_SaveFailed = {
    L"无法写入 %1，列表未改变。",
    L"無法寫入 %1，清單未改變。",
    L"Could not write %1; the list is unchanged."};

inline constexpr OwnTextRow usbPermission_Caption = {L"USB 权限", L"USB 權限", L"USB permission"};
// %1: the devices, one a line; %2: the rules file; %3: the menu path of the
// dialog; %4: the commands.
inline constexpr OwnTextRow usbPermission_Text = {
    L"以下光谱仪已连接，但当前用户无权打开：\n%1\n\n"
    L"需要安装 udev 规则：在 %2 中为每个“厂商:产品”编号加一行（%3 会显示该行），然后安装并重新加载规则：\n\n"
    L"%4\n\n然后拔下光谱仪再重新插上。",
    L"以下光譜儀已連接，但目前使用者無權開啟：\n%1\n\n"
    L"需要安裝 udev 規則：在 %2 中為每個「廠商:產品」編號加一行（%3 會顯示該行），然後安裝並重新載入規則：\n\n"
    L"%4\n\n然後拔下光譜儀再重新插上。",
    L"These spectrometers are connected, but this user may not open them:\n%1\n\n"
    L"They need the udev rule: add a line for each vendor:product pair to %2 (%3 shows the line), "
    L"then install it and reload the rules:\n\n%4\n\nThen unplug the spectrometer and plug it in again."};

// %1 > %2: the menu path of the rescan command.
inline constexpr OwnTextRow usbNote_Connected = {L"光谱仪已连接：请使用“%1 > %2”", L"光譜儀已連接：請使用「%1 > %2」",
                                                 L"Spectrometer connected: use %1 > %2"};
inline constexpr OwnTextRow usbNote_Removed = {L"光谱仪已移除：请使用“%1 > %2”", L"光譜儀已移除：請使用「%1 > %2」",
                                               L"Spectrometer removed: use %1 > %2"};
// clang-format on

}  // namespace quenlix
