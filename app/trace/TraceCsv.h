#pragma once

#include <string>
#include <vector>

#include "BandQuantities.h"
#include "TraceRecord.h"

namespace quenlix {

// A column's name for band index (0-based) of the CSV: "band1_integral",
// "band2_centre_nm", "band3_ratio_band1", "band4_pressure_GPa". Centre and
// FWHM carry the X unit of xTypeCode (nm, um, pixel, GHz, 1/cm).
std::string TraceColumnName(int index, const TraceBand& band, int xTypeCode);

// The trace as CSV for spreadsheets and scripts: the line
// "time_s,frame,<one name per band>", then one line per point. Time has
// three decimals, values nine significant digits, '.' as decimal separator
// whatever the locale; a NaN value is an empty field. Lines end in LF. Bands
// beyond the record's band count are not written, nor record columns
// beyond the bands given.
std::string FormatTraceCsv(const std::vector<TraceBand>& bands, int xTypeCode, const TraceRecord& record);

// Written whole or not at all, through the temp + rename writer; false when
// not written.
bool WriteTraceCsv(const std::string& path, const std::vector<TraceBand>& bands, int xTypeCode,
                   const TraceRecord& record);

}  // namespace quenlix
