#include "Baseline.h"

#include <algorithm>

namespace peaksearch {

namespace {

// Where the spectrum is cut before it is averaged, in noise deviations of y
// above its opening. The opening lies some 0.8 deviations under the floor, so
// the cut takes little of the noise, and the lines cut there lift the mean
// between dense lines by a fraction of a deviation.
constexpr double kCutAboveOpening = 1.0;

// out[i] = the best of in over [i − half, i + half] (clipped at the ends).
// The spectrum is cut at anchors one window apart, so each full window holds
// exactly one anchor c: its best is that of the run [i − half, c], taken from
// c backwards, and of the run [c, i + half], taken from c forwards. The
// backward runs of the next anchor are taken in the same loop as the forward
// runs of this one, so the buffer of runs stays small and their two chains
// of comparisons overlap. No comparison decides a branch, so the cost per
// point does not depend on the noise in the data. runs holds 2·(2·half + 1)
// values.
template <class Better>
void RollingExtreme(const double* in, int n, int half, double* out, double* runs, Better better) {
    const auto best = [better](double a, double b) { return better(b, a) ? b : a; };
    const int window = 2 * half + 1;
    double* back = runs;             // back[k] = best of in over [c − k, c]
    double* nextBack = runs + window;  // the same for the next anchor
    back[0] = in[0];
    for (int c = 0; c < n; c += window) {
        const int end = std::min(c + window, n);
        const bool more = end < n;
        double forward = in[c];
        double backward = more ? in[end] : 0.0;
        for (int j = c; j < end; ++j) {
            forward = best(forward, in[j]);
            // Near the start the window is clipped to [0, j], all of it forwards of c = 0.
            if (j >= half) out[j - half] = best(back[std::min(c + 2 * half - j, c)], forward);
            if (more) {
                backward = best(backward, in[end - (j - c)]);
                nextBack[j - c] = backward;
            }
        }
        std::swap(back, nextBack);
    }
    // Windows clipped at the end, growing backwards from the last point.
    double tail = in[n - 1];
    for (int j = n - 2; j > n - 1 - half && j >= 0; --j) tail = best(tail, in[j]);
    for (int i = n - 1; i >= std::max(n - half, 0); --i) {
        if (i - half >= 0) tail = best(tail, in[i - half]);
        out[i] = tail;
    }
}

// The lower envelope of in (n values), opened over 2h + 1 points and averaged
// over 2·meanHalf + 1, left in work.padded[h … h + n). The extension only feeds
// the opening; the mean stays inside the spectrum, where its shrinking window
// keeps a straight base exactly.
void LowerEnvelope(const double* in, int n, int h, int meanHalf, const BaselineBuffers& work) {
    double* padded = work.padded;
    for (int i = 0; i < n; ++i) padded[h + i] = in[i];
    for (int k = 1; k <= h; ++k) {
        const int inside = std::min(k, n - 1);
        padded[h - k] = std::max(in[inside], 2.0 * in[0] - in[inside]);
        padded[h + n - 1 + k] = std::max(in[n - 1 - inside], 2.0 * in[n - 1] - in[n - 1 - inside]);
    }
    const int m = n + 2 * h;
    RollingExtreme(padded, m, h, work.eroded, work.runs, [](double a, double b) { return a < b; });
    RollingExtreme(work.eroded, m, h, padded, work.runs, [](double a, double b) { return a > b; });
    if (meanHalf > 0) CentredMean(padded + h, n, meanHalf, work.prefix, padded + h);
}

}  // namespace

void CentredMean(const double* in, int n, int half, double* prefix, double* out) {
    prefix[0] = 0.0;
    for (int i = 0; i < n; ++i) prefix[i + 1] = prefix[i] + in[i];
    const auto mean = [prefix](int i, int k) { return (prefix[i + k + 1] - prefix[i - k]) / (2 * k + 1); };
    // Full windows, by a multiplication: a division per point would cost more than the rest.
    const int first = std::min(half, n);
    const int last = std::max(n - half, first);
    const double full = 1.0 / (2 * half + 1);
    for (int i = first; i < last; ++i) out[i] = (prefix[i + half + 1] - prefix[i - half]) * full;
    for (int i = 0; i < first; ++i) out[i] = mean(i, std::min(i, n - 1 - i));
    for (int i = last; i < n; ++i) out[i] = mean(i, std::min(i, n - 1 - i));
}

void ComputeBaseline(const double* lightlySmoothed, double noiseSigma, int n, int h, double* base,
                     const BaselineBuffers& work) {
    double* smooth = work.smooth;
    // Where lines stand closer than the averaging window, every window holds
    // some of them and the mean rides above the floor. So the lines are cut
    // off first, a little above the opening over the same window, which
    // reaches down into the gaps between them.
    const int meanHalf = h / 4;
    LowerEnvelope(lightlySmoothed, n, meanHalf, 0, work);
    const double* opened = work.padded + meanHalf;
    for (int i = 0; i < n; ++i) smooth[i] = std::min(lightlySmoothed[i], opened[i] + kCutAboveOpening * noiseSigma);
    CentredMean(smooth, n, meanHalf, work.prefix, smooth);
    LowerEnvelope(smooth, n, h, h, work);
    const double* envelope = work.padded + h;
    for (int i = 0; i < n; ++i) {
        base[i] = envelope[i];
        smooth[i] -= envelope[i];
    }
    // The remainder is level, so the second envelope needs only a light mean;
    // a full one would spread its corrections over the neighbours.
    LowerEnvelope(smooth, n, h, h / 8, work);
    for (int i = 0; i < n; ++i) base[i] += envelope[i];
}

}  // namespace peaksearch
