#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "BandQuantities.h"

namespace quenlix {

// The bands of a time trace and the X unit their edges are in.
struct TraceBandSet {
    int xTypeCode = 0;
    std::vector<TraceBand> bands;

    bool operator==(const TraceBandSet&) const = default;
};

// The settings file that keeps the bands between runs.
inline constexpr const char* kTraceBandsFile = "config/trace bands.txt";

// The file's text: "x-unit <code>", then one line per band,
// "<quantity> <xFrom> <xTo> <ratioOf>" with quantity one of integral,
// height, centre, fwhm, ratio, pressure and the edges in their shortest
// exact form ('.' whatever the locale). Lines end in LF.
std::string FormatTraceBands(const TraceBandSet& set);
// The set of such a text; none when any line is damaged, the X unit is not
// 0..5 or the bands are not valid ones (ValidTraceBands).
std::optional<TraceBandSet> ParseTraceBands(std::string_view text);

// From the settings folder, through the bounded reader: an empty set (no
// bands) when the file is missing, too large or damaged.
TraceBandSet LoadTraceBands();
// Into the settings folder; false when the file was not written.
bool SaveTraceBands(const TraceBandSet& set);

}  // namespace quenlix
