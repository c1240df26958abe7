#pragma once

// The smooth base under a spectrum, in time linear in the point count whatever
// the window.
//
// The spectrum is averaged over a quarter of the window, so noise does not
// drag the base down to its troughs; before that it is cut a noise deviation
// above its opening over the quarter, so lines closer together than the
// quarter do not lift the mean off the floor between them. Of the mean the
// lower envelope is taken: it is opened (rolling minimum, then rolling
// maximum, both over the window), which cuts away every peak narrower than
// the window and keeps a straight or convex base, and the result is averaged
// over the window.
//
// Two faults of a plain opening are mended. On a sloping base it fills each
// peak up to the base level at the peak's uphill foot, so the envelope is
// taken a second time of what is left above the first and added to it: that
// remainder is nearly level and the second envelope nearly exact. Near an end
// on the uphill side a clipped window would hold the envelope level, so the
// spectrum is extended past each end by the larger of its point and mirror
// reflections, which continues a straight base exactly and never dips below
// the end value when a peak lies near the end.

namespace peaksearch {

// out[i] = mean of in over [i − k, i + k] with k = min(half, i, n − 1 − i):
// the window shrinks symmetrically at the ends, so a straight line is kept
// exactly up to the first and last point. prefix holds n + 1 values. out may
// be in.
void CentredMean(const double* in, int n, int half, double* prefix, double* out);

// Work space for ComputeBaseline with halfWindow h: smooth holds n values,
// padded and eroded n + 2h, prefix n + 2h + 1, runs 4h + 2.
struct BaselineBuffers {
    double* smooth;
    double* padded;
    double* eroded;
    double* prefix;
    double* runs;
};

// The base under the spectrum y, handed in as lightlySmoothed (y with its
// noise eased, as SmoothLightly gives it) with noiseSigma the deviation of the
// noise of y. base receives n values.
void ComputeBaseline(const double* lightlySmoothed, double noiseSigma, int n, int halfWindow, double* base,
                     const BaselineBuffers& work);

}  // namespace peaksearch
