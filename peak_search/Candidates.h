#pragma once

// Finding the maxima of a spectrum by the sign changes of its first
// derivative, after light smoothing, and merging the ones noise splits; and
// the shoulders the smoothing leaves of weak lines beside strong ones.

namespace peaksearch {

// A maximum (or shoulder) of the smoothed spectrum and the samples that bound
// its measurement: for a maximum the lowest smoothed samples between it and
// its neighbours.
struct Candidate {
    double index;   // where the derivative crosses zero, as a fractional sample index
    int top;        // the higher of the two samples around index
    int lowBound;   // lowest sample towards the previous maximum (or the first sample)
    int highBound;  // lowest sample towards the next maximum (or the last sample)
};

// smooth[i] = y smoothed by the binomial kernel 1 4 6 4 1 (1 2 1 next to the
// ends, the end samples as they are). The kernel has no negative weights, so
// the result never leaves the range of y.
void SmoothLightly(const double* y, int n, double* smooth);

// Standard deviation of the noise of y from the median absolute second
// difference, which a sloped or curved base and a minority of peak samples do
// not move. scratch holds n values. 0 for n < 3.
double NoiseSigma(const double* y, int n, double* scratch);

// Writes the maxima of smooth, in ascending index, into out (room for n / 2 + 1)
// and returns their number. A maximum is where d[i] = smooth[i + 1] − smooth[i − 1]
// goes from positive to negative, at the zero crossing of d interpolated
// linearly (the middle of a level top). Two maxima whose lower one rises less
// than minDip above the lowest sample between them are one peak: the higher
// is kept.
int FindCandidates(const double* smooth, int n, double minDip, Candidate* out);

// Standard deviation of the second difference of the smoothed spectrum for
// noise of deviation sigma on y (the kernel 1 2 −1 −4 −1 2 1 over 16).
double SmoothedCurvatureSigma(double sigma);

// Writes the shoulders of smooth into out (room for n / 2 + 1) and returns
// their number. Beside a line 20 or more times stronger, a weak line two or
// three widths away keeps no maximum of its own after smoothing, only a dip of
// the second difference c[i] = smooth[i − 1] − 2·smooth[i] + smooth[i + 1].
// A shoulder is a run of c ≤ 0 that holds none of the `count` maxima (as
// FindCandidates gives them), whose lowest c lies below −minCurvature and
// beside which c rises above 2·minCurvature, as it does on the flank of a
// line far stronger; runs are split where c is positive. Its
// index is the vertex of the parabola through c at the lowest sample and its
// neighbours, and its bounds are the top of the line it leans on and the
// valley on its other side.
int FindShoulders(const double* smooth, int n, double minCurvature, const Candidate* maxima, int count,
                  Candidate* out);

}  // namespace peaksearch
