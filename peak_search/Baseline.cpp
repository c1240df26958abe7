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

}  // namespace

void CentredMean(const double* in, int n, int half, double* prefix, double* out) {
    prefix[0] = 0.0;
    for (int i = 0; i < n; ++i) prefix[i + 1] = prefix[i] + in[i];
    for (int i = 0; i < n; ++i) {
        const int k = std::min({half, i, n - 1 - i});
        out[i] = (prefix[i + k + 1] - prefix[i - k]) / (2 * k + 1);
    }
}

void ComputeBaseline(const double* y, int n, int halfWindow, double* base, double* scratch, double* prefix,
                     int* queue) {
    CentredMean(y, n, halfWindow / 4, prefix, scratch);
    RollingExtreme(scratch, n, halfWindow, base, queue, [](double a, double b) { return a < b; });
    RollingExtreme(base, n, halfWindow, scratch, queue, [](double a, double b) { return a > b; });
    CentredMean(scratch, n, halfWindow, prefix, base);
}

}  // namespace peaksearch
