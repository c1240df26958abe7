#pragma once

#include <string>

#include "ScrivonaExport.h"

// Spectra written for other programs: CSV for spreadsheets and scripts,
// JCAMP-DX 5.01 for spectroscopy software.
//
// Numbers are written in fixed point with '.' whatever the locale: X with
// three decimals (six for micrometres, the same 0.001 nm step), Y with three,
// as the program's own text files keep them. Values of 1e15 or more, and
// values that are not finite, are written in their shortest exact form
// ("1e+20", "inf", "nan"); JCAMP-DX writes "?" for a value that is not finite.
//
// Bad input: a count of 0 or less, or a null x or y, gives a file whose
// header says 0 points and that has no data lines. Axis codes outside 0..5
// are refused: the Format functions return empty text and the Write
// functions write nothing and return false.

namespace scrivona {

// One spectrum with what the export formats say about it.
struct ExportedSpectrum {
    std::wstring deviceName;  // model name, e.g. L"Velmora"
    std::wstring serialNumber;
    std::wstring versionInfo;  // firmware
    double integrationMs = 0;
    int avgCount = 1;
    int smoothness = 0;
    int xType = 0;  // preprocessor X codes: 0 nm, 1 um, 2 pixel, 3 GHz, 4 wavenumber 1/cm, 5 Raman shift 1/cm
    int yType = 0;  // preprocessor Y codes: 0 counts, 1 dark-subtracted counts, 2 transmission %, 3 reflection %, 4 absorbance, 5 dB
    double excitationNm = 0;  // for Raman shift
    int saturatedPixels = 0;  // pixels that reached full scale; told only when above 0
    std::string isoDateTime;  // ISO 8601 with offset, e.g. "2026-12-08T10:00:00+01:00"
    const double* x = nullptr;  // count values each, in the order given
    const double* y = nullptr;
    int count = 0;
};

// The whole file text. Numbers always with '.' as decimal separator, whatever the locale.
//
// CSV: "# key: value" comment lines (device, serial number, firmware,
// integration time, averaging, smoothing, X and Y quantity and unit, the
// excitation for Raman shift, date, saturated pixels when any), then one "x,y" line per point; lines end
// in LF, text is UTF-8.
SCRIVONA_API std::string FormatCsv(const ExportedSpectrum& spectrum);
// JCAMP-DX 5.01, one spectrum as (XY..XY) pairs in AFFN, one pair per line,
// lines of at most 80 ASCII characters ending in CR LF. Transmission and
// reflection are written as fractions (TRANSMITTANCE, REFLECTANCE: 0..1) with
// five decimals, absorbance as -log10(T) with four (the program's is -ln T).
// The device's settings, and the saturated pixels when any, are kept in
// "##$QUENLIX …" labels.
SCRIVONA_API std::string FormatJcampDx(const ExportedSpectrum& spectrum);

// Written through the project's temp + rename writer; false when not written.
SCRIVONA_API bool WriteCsvFile(const std::wstring& path, const ExportedSpectrum& spectrum);
SCRIVONA_API bool WriteJcampDxFile(const std::wstring& path, const ExportedSpectrum& spectrum);

}  // namespace scrivona
