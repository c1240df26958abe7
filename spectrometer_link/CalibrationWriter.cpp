// Writing the wavelength calibration into a spectrometer through a started link.

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>
#include <vector>

#include "Algorithm.h"
#include "AlgorithmLibrary.h"
#include "ByteOrder.h"
#include "DeviceProtocol.h"
#include "Kestrion.h"

namespace p = kestrion::protocol;

namespace {

// The device needs this long to store one coefficient.
constexpr auto kWritePause = std::chrono::milliseconds(50);

}  // namespace

int WriteDemarcateData(void* link, const double* coefficients, int count) {
    if (link == nullptr || coefficients == nullptr || count < 1 || count > p::kCoefficientCount) return 0;
    auto* kestrion = static_cast<CKestrion*>(link);
    bool allWritten = true;
    for (int i = 0; i < count; ++i) {
        uint8_t bytes[p::kCoefficientLength];
        kestrion::StoreDouble(bytes, coefficients[i]);
        {
            std::lock_guard io(kestrion->ioMutex_);
            allWritten &= kestrion->VendorWrite(p::kWriteCoefficient, static_cast<uint16_t>(i), bytes,
                                                p::kCoefficientLength) == kestrion::UsbStatus::Completed;
        }
        std::this_thread::sleep_for(kWritePause);
    }
    if (!allWritten) return 0;
    std::lock_guard io(kestrion->ioMutex_);
    {
        std::lock_guard state(kestrion->stateMutex_);
        std::copy(coefficients, coefficients + count, kestrion->calibCoeffs);
    }
    // The X axis callers read is a copy: make it from the new coefficients.
    kestrion->ComputeXAxis();
    return 1;
}

int WriteDemarcateData(void* link, const double* wavelengths, const double* pixels, int count) {
    constexpr int kOrder = 3;
    if (link == nullptr || wavelengths == nullptr || pixels == nullptr || count < kOrder + 1) return 0;
    double c[kOrder + 1] = {};
    {
        quenlix::AlgorithmLibrary library;
        auto* fit = library.Routine<MultiOrderLeastSquareNoWeightFn>("MultiOrderLeastSquareNoWeight");
        if (fit == nullptr) return -1;
        fit(pixels, wavelengths, count, kOrder, c);
    }
    // Pixels that cannot determine a cubic (all alike, say) give no finite
    // fit; writing that would spoil the device's calibration.
    if (!std::all_of(std::begin(c), std::end(c), [](double v) { return std::isfinite(v); })) return 0;
    return WriteDemarcateData(link, c, kOrder + 1);
}

int WriteDemarcateData(void* link, const double* wavelengths, const int* pixels, int count) {
    if (pixels == nullptr || count < 0) return 0;
    const std::vector<double> asDoubles(pixels, pixels + count);
    return WriteDemarcateData(link, wavelengths, asDoubles.data(), count);
}

int WriteCorrectData(void*, const int*, const double*, int) { return 1; }

int WriteConSpecFaultPixel(void*, const int*, int) { return 1; }
