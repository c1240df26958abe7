#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "PeakSearch.h"
#include "SyntheticSpectrum.h"

// Every allocation of this test program, the library's included, passes here.
namespace {
std::atomic<long> allocations{0};
}

void* operator new(std::size_t size) {
    ++allocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
// GCC cannot see that the matching operator new above takes from malloc.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
#pragma GCC diagnostic pop

namespace {

// The chart searches on every repaint; after the first search of a spectrum
// of a given length no further search of that length (or a shorter one)
// allocates.
TEST(PeakSearchAllocation, RepeatedSearchesAllocateNothing) {
    std::vector<TruePeak> lines;
    for (int k = 0; k < 30; ++k) lines.push_back({50.0 + 130.0 * k, 300.0 + 20.0 * k, 6.0});
    const Spectrum s = Make(4096, 0.0, 1.0, [](int i) { return 100.0 + 0.01 * i; }, Shape::Gaussian, lines, 2.0);
    std::vector<double> out(s.size());
    PeakInfo info;
    AotuSearchPeakByFD(s.size(), s.x.data(), s.y.data(), 50.0, &info, out.data(), nullptr);
    ASSERT_EQ(info.count, 30);

    const long before = allocations;
    for (int n : {4096, 4096, 1000}) {
        AotuSearchPeakByFD(n, s.x.data(), s.y.data(), 50.0, &info, out.data(), nullptr);
    }
    EXPECT_EQ(allocations - before, 0);
}

}  // namespace
