#pragma once

#include <optional>

namespace quenlix {

// The ruby R1 line's wavelength at ambient pressure, λ0, in nm, where the
// user has not set one.
inline constexpr double kDefaultRubyReferenceNm = 694.22;

// The pressure in GPa that a ruby R1 line at lambdaNm indicates on the Mao
// scale with reference line lambda0Nm; none where the scale gives no finite
// number, as for a line at or below 0 nm.
std::optional<double> MaoPressure(double lambdaNm, double lambda0Nm);

// λ0 the user keeps in the settings file "config/i0.bin" (one line with the
// number); none unless the file's first line starts with a finite number
// above 0.
std::optional<double> ReadRubyReferenceWavelength();
// Writes λ0 there with two decimals; false when the file was not written.
bool WriteRubyReferenceWavelength(double lambda0Nm);

}  // namespace quenlix
