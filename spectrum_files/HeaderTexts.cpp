#include "HeaderTexts.h"

namespace scrivona {
namespace {

constexpr const wchar_t* kRule = L"------------------------------";

// One row per file line, one column per language.
constexpr const wchar_t* kLabels[kFileLineCount][kLanguageCount] = {
    {L"光谱仪数据", L"光譜儀數據", L"Spectrometer Data", L"日语"},
    {L"CHS", L"CHT", L"EN", L"JPN"},
    {kRule, kRule, kRule, kRule},
    {L"保存时间:", L"保存時間:", L"Saving Time:", L"日语:"},
    {L"设备名称:", L"設備名稱:", L"Device Name:", L"日语:"},
    {L"版本信息:", L"版本信息:", L"Version Info:", L"日语:"},
    {L"序列号:", L"序列號:", L"Serial Number:", L"日语:"},
    {L"积分时间(\u03bcs):", L"積分時間(\u03bcs):", L"Integral Time(\u03bcs):", L"日语:"},
    {L"平均次数:", L"平均次數:", L"Avg Count:", L"日语:"},
    {L"平滑度:", L"平滑度:", L"Smoothness:", L"日语:"},
    {L"数据类型:", L"數據類型:", L"Data Type:", L"日语:"},
    {L"X轴单位:", L"X軸單位:", L"X-Axis Unit:", L"日语:"},
    {L"Y轴单位:", L"Y軸單位:", L"Y-Axis Unit:", L"日语:"},
    {L"像素数量:", L"像素數量:", L"Pixel Count:", L"日语:"},
    {L"保留0:", L"保留0:", L"Reserve0:", L"日语:"},
    {L"其它描述:", L"其它描述:", L"Other Description:", L"日语:"},
    {L"+++++光谱数据起始+++++", L"+++++光譜數據起始+++++", L"+++++Begin Spectral Data+++++", L"日语:"},
    {L"+++++光谱数据结束+++++", L"+++++光譜數據結束+++++", L"+++++End Spectral Data+++++", L"日语:"},
};

constexpr const wchar_t* kXTypeNames[kTypeCount][kLanguageCount] = {
    {L"波长", L"波長", L"Wavelength", L"日语"},  {L"波长", L"波長", L"Wavelength", L"日语"},
    {L"像素", L"像素", L"Pixel", L"日语"},       {L"频率", L"頻率", L"Frequency", L"日语"},
    {L"波数", L"波數", L"Wave Number", L"日语"}, {L"拉曼位移", L"拉曼位移", L"Raman Shift", L"日语"},
};

constexpr const wchar_t* kYTypeNames[kTypeCount][kLanguageCount] = {
    {L"原始光谱", L"原始光譜", L"Original Spectreum", L"日语"},
    {L"扣除暗光谱", L"扣除暗光譜", L"Delete Dark", L"日语"},
    {L"透过率", L"透過率", L"Transmissivity", L"日语"},
    {L"反射率", L"反射率", L"Reflection", L"日语"},
    {L"吸光度", L"吸光度", L"Absorbance", L"日语"},
    {L"分贝", L"分貝", L"Decibel", L"デシベル"},
};

constexpr const wchar_t* kXUnits[kTypeCount] = {L"nm", L"\u03bcm", L"pixel", L"GHz", L"cm-1", L"cm-1"};
constexpr const wchar_t* kYUnits[kTypeCount] = {L"counts", L"counts", L"%", L"%", L"OD", L"dB"};

}  // namespace

const wchar_t* LineLabel(int language, int line) { return kLabels[line][language]; }
const wchar_t* XTypeName(int language, int code) { return kXTypeNames[code][language]; }
const wchar_t* YTypeName(int language, int code) { return kYTypeNames[code][language]; }
const wchar_t* XUnitText(int code) { return kXUnits[code]; }
const wchar_t* YUnitText(int code) { return kYUnits[code]; }

}  // namespace scrivona
