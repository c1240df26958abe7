#pragma once

#include <cmath>
#include <random>
#include <vector>

// Spectra of known peaks on a known base, for checking the search against.

enum class Shape { Gaussian, Lorentzian };

struct TruePeak {
    double centre;  // sample index
    double height;
    double fwhm;  // samples
};

struct Spectrum {
    std::vector<double> x, y;
    int size() const { return static_cast<int>(y.size()); }
};

inline double Profile(Shape shape, double offset, double fwhm) {
    if (shape == Shape::Gaussian) {
        return std::exp(-4.0 * std::log(2.0) * offset * offset / (fwhm * fwhm));
    }
    const double u = 2.0 * offset / fwhm;
    return 1.0 / (1.0 + u * u);
}

// n points at x = x0 + step·i carrying base(i) + the peaks + Gaussian noise of
// deviation sigma (a fixed seed, so a failure repeats).
template <class Base>
Spectrum Make(int n, double x0, double step, Base base, Shape shape, const std::vector<TruePeak>& peaks,
              double sigma = 0.0, unsigned seed = 7) {
    Spectrum s;
    s.x.resize(n);
    s.y.resize(n);
    std::mt19937 random(seed);
    std::normal_distribution<double> noise(0.0, sigma > 0.0 ? sigma : 1.0);
    for (int i = 0; i < n; ++i) {
        s.x[i] = x0 + step * i;
        s.y[i] = base(i);
        for (const TruePeak& p : peaks) s.y[i] += p.height * Profile(shape, i - p.centre, p.fwhm);
        if (sigma > 0.0) s.y[i] += noise(random);
    }
    return s;
}
