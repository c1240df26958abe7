#include "Baseline.h"

#include <algorithm>

namespace peaksearch {

namespace {

// out[i] = the best of in over [i − half, i + half] (clipped at the ends).
// The spectrum is cut into blocks of one window: a full window spans at most
// two blocks, so its best is that of the tail of one block (suffix) and the
// head of the next. No comparison decides a branch, so the cost per point does
// not depend on the noise in the data.
template <class Better>
void RollingExtreme(const double* in, int n, int half, double* out, double* suffix, Better better) {
    const auto best = [better](double a, double b) { return better(b, a) ? b : a; };
    const int window = 2 * half + 1;
    for (int start = 0; start < n; start += window) {
        int j = std::min(start + window, n) - 1;
        suffix[j] = in[j];
        for (--j; j >= start; --j) suffix[j] = best(in[j], suffix[j + 1]);
    }
    for (int start = 0; start < n; start += window) {
        const int end = std::min(start + window, n);
        double head = in[start];
        for (int j = start; j < end; ++j) {
            head = best(head, in[j]);
            const int i = j - half;
            if (i >= half) {
                out[i] = best(suffix[i - half], head);
            } else if (i >= 0) {
                out[i] = head;  // clipped at the start: the window lies in the first block
            }
        }
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
    RollingExtreme(padded, m, h, work.eroded, work.suffix, [](double a, double b) { return a < b; });
    RollingExtreme(work.eroded, m, h, padded, work.suffix, [](double a, double b) { return a > b; });
    CentredMean(padded + h, n, meanHalf, work.prefix, padded + h);
}

}  // namespace

void CentredMean(const double* in, int n, int half, double* prefix, double* out) {
    prefix[0] = 0.0;
    for (int i = 0; i < n; ++i) prefix[i + 1] = prefix[i] + in[i];
    for (int i = 0; i < n; ++i) {
        const int k = std::min({half, i, n - 1 - i});
        out[i] = (prefix[i + k + 1] - prefix[i - k]) / (2 * k + 1);
    }
}

void ComputeBaseline(const double* y, int n, int h, double* base, const BaselineBuffers& work) {
    double* smooth = work.smooth;
    CentredMean(y, n, h / 4, work.prefix, smooth);
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
