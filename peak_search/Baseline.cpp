#include "Baseline.h"

#include <algorithm>

namespace peaksearch {

namespace {

// out[i] = the best of in over [i − half, i + half] (clipped at the ends), by a
// monotone queue of indexes: each index enters and leaves once.
template <class Better>
void RollingExtreme(const double* in, int n, int half, double* out, int* queue, Better better) {
    int head = 0;
    int tail = 0;
    for (int j = 0; j < n + half; ++j) {
        if (j < n) {
            while (tail > head && !better(in[queue[tail - 1]], in[j])) --tail;
            queue[tail++] = j;
        }
        const int i = j - half;
        if (i < 0) continue;
        while (queue[head] < i - half) ++head;
        out[i] = in[queue[head]];
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
    RollingExtreme(padded, m, h, work.eroded, work.queue, [](double a, double b) { return a < b; });
    RollingExtreme(work.eroded, m, h, padded, work.queue, [](double a, double b) { return a > b; });
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
