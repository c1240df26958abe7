#include "Boxcar.h"

#include <algorithm>

namespace condira {

void BoxcarMean(const double* in, int n, int halfWidth, double* out, double* headSums, double* tailSums) {
    // No pixel can have a wider window than the middle one.
    const int s = std::min(std::max(halfWidth, 0), (n - 1) / 2);
    if (s <= 0) {
        std::copy(in, in + std::max(n, 0), out);
        return;
    }
    const int w = 2 * s + 1;

    // headSums[j]: sum from the start of j's block to j; tailSums[j]: from j
    // to the end of j's block. Both running sums in one loop keep two
    // independent addition chains in flight.
    for (int start = 0; start < n; start += w) {
        const int len = std::min(w, n - start);
        const int last = start + len - 1;
        double head = 0.0, tail = 0.0;
        for (int k = 0; k < len; ++k) {
            head += in[start + k];
            headSums[start + k] = head;
            tail += in[last - k];
            tailSums[last - k] = tail;
        }
    }

    // Rising edge: window 0 .. 2i lies in the first block.
    for (int i = 0; i < s; ++i) out[i] = headSums[2 * i] / (2 * i + 1);

    // Full windows a .. a + w − 1: a whole block when a starts one, else the
    // tail of a's block and the head of the next.
    for (int start = 0; start + w <= n; start += w) {
        out[start + s] = headSums[start + w - 1] / w;
        const int end = std::min(start + w, n - w + 1);
        for (int a = start + 1; a < end; ++a) out[a + s] = (tailSums[a] + headSums[a + w - 1]) / w;
    }

    // Falling edge: window a .. n − 1, inside the last block or reaching
    // into it from the one before.
    const int lastStart = (n - 1) / w * w;
    for (int i = n - s; i < n; ++i) {
        const int a = 2 * i - n + 1;
        const double sum = a >= lastStart ? tailSums[a] : tailSums[a] + headSums[n - 1];
        out[i] = sum / (2 * (n - 1 - i) + 1);
    }
}

}  // namespace condira
