#include "AxisTitles.h"

namespace {

constexpr int kTypes = 6;
constexpr int kLanguages = 4;

const wchar_t* const kXTitles[kTypes][kLanguages] = {
    {L"波长(纳米，nm)", L"波長(納米，nm)", L"Wavelength(nm)", L"波長(納米，nm)"},
    {L"波长(微米，μm)", L"波長(微米，μm)", L"Wavelength(μm)", L"波長(ミクロン，μm)"},
    {L"像素(个)", L"像素(個)", L"Pixel", L"画素"},
    {L"频率(千兆赫兹，GHz)", L"頻率(千兆赫茲，GHz)", L"Frequency(GHz)", L"周波数(GHz)"},
    {L"波数(cm-1)", L"波數(cm-1)", L"Wavenumber(cm-1)", L"波数(cm-1)"},
    {L"拉曼位移(cm-1)", L"拉曼位移(cm-1)", L"Raman shift(cm-1)", L"ラマンシフト(cm-1)"},
};

const wchar_t* const kYTitles[kTypes][kLanguages] = {
    {L"强度(counts)", L"強度(counts)", L"Intensity(counts)", L"強度(counts)"},
    {L"强度(counts)", L"強度(counts)", L"Intensity(counts)", L"強度(counts)"},
    {L"透过率(%)", L"透過率(%)", L"Transmissivity(%)", L"透過率(%)"},
    {L"反射率(%)", L"反射率(%)", L"Reflectivity(%)", L"反射率(%)"},
    {L"吸光度(OD)", L"吸光度(OD)", L"Absorbance(OD)", L"吸光度(OD)"},
    {L"分贝(dB)", L"分貝(dB)", L"Decibel(dB)", L"デシベル(dB)"},
};

const wchar_t* Lookup(const wchar_t* const (&table)[kTypes][kLanguages], int type, int language) {
    if (type < 0 || type >= kTypes || language < 0 || language >= kLanguages) return nullptr;
    return table[type][language];
}

}  // namespace

const wchar_t* XAxisTitle(int type, int language) { return Lookup(kXTitles, type, language); }
const wchar_t* YAxisTitle(int type, int language) { return Lookup(kYTitles, type, language); }
