#pragma once

// Finding the maxima of a spectrum by the sign changes of its first
// derivative, after light smoothing, and merging the ones noise splits.

namespace peaksearch {

// A maximum of the smoothed spectrum and the lowest smoothed samples between
// it and its neighbours, which bound its measurement.
struct Candidate {
    double index;   // where the derivative crosses zero, as a fractional sample index
    int top;        // the sample nearest to index
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

}  // namespace peaksearch
