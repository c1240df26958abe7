#pragma once

namespace condira {

// Boxcar mean of in[0 .. n − 1] into out: pixel i is the plain mean of
// in[i − h .. i + h] with h = min(halfWidth, i, n − 1 − i), so the window
// stays symmetric and shrinks towards the ends (the end pixels are copied).
//
// The array is cut into blocks of one window length; every window then spans
// at most two blocks and its sum is the tail sum of one block plus the head
// sum of the next. Both partial sums add only values inside the window, so
// nothing is ever subtracted and rounding cannot drift from pixel to pixel,
// while the cost stays about 3n whatever the width. headSums and tailSums
// are n-value working arrays. in and out must not overlap.
void BoxcarMean(const double* in, int n, int halfWidth, double* out, double* headSums, double* tailSums);

}  // namespace condira
