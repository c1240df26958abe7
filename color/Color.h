#pragma once

#include <array>

#define QUENLIX_COLOR_API __attribute__((visibility("default")))

// CIE 1931 chromaticity coordinates x, y of an emission spectrum, from the
// 2° observer's colour-matching functions at every whole nanometre from 380
// to 780 nm (linear between the published 5-nm values).
class QUENLIX_COLOR_API CColor {
public:
    CColor();
    virtual ~CColor();

    // Samples with 380 < wavelength < 780 nm count; each falls in the 1-nm
    // bin of its whole nanometre, and a bin with several samples counts with
    // their mean, so sampling density does not weigh in. Bins are formed
    // whatever the order of the samples.
    //
    // The intensities of samples strictly between 750 and 770 nm are set to
    // 5000 in the caller's array before they count.
    //
    // x = y = 0 when nothing counts, the intensities in range sum to zero, or
    // the arrays are missing (null, count ≤ 0).
    void CalcColorCoordinates(const double* wavelength, double* intensity, int count, double& x,
                              double& y) const;

private:
    static constexpr int kFirstNm = 380;
    static constexpr int kLastNm = 780;

    // Row r: x̄, ȳ, z̄ at 380 + r nm.
    std::array<std::array<double, 3>, kLastNm - kFirstNm + 1> table_;
};
