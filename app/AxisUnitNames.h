#pragma once

#include <QString>

namespace quenlix {

// The names the interface gives the axis unit codes, in the current language.
// X: 0 nanometre, 1 micrometre, 2 pixel, 3 GHz, 4 wavenumber, 5 Raman shift
// (nanometre for any other code).
QString XUnitName(int code);
// Y: 2 transmissivity, 3 reflectivity, 4 absorbance, 5 decibel; intensity for
// 0 and 1 (raw and dark-subtracted) and any other code.
QString YUnitName(int code);

}  // namespace quenlix
