#pragma once

// The smooth base under a spectrum. The spectrum is first averaged over a
// quarter of the window, so noise does not drag the base down to its troughs;
// it is then opened (rolling minimum, then rolling maximum, both over the
// window), which cuts away every peak narrower than the window and leaves a
// straight or convex base untouched; the result is averaged over the window.
// Everything is linear in n whatever the window.

namespace peaksearch {

// out[i] = mean of in over [i − k, i + k] with k = min(half, i, n − 1 − i):
// the window shrinks symmetrically at the ends, so a straight line is kept
// exactly up to the first and last point. prefix holds n + 1 values. out may
// be in.
void CentredMean(const double* in, int n, int half, double* prefix, double* out);

// base receives n values. scratch and prefix hold n and n + 1 values, queue n.
void ComputeBaseline(const double* y, int n, int halfWindow, double* base, double* scratch, double* prefix,
                     int* queue);

}  // namespace peaksearch
