#include "Algorithm.h"

#include <cstddef>
#include <vector>

using std::size_t;

namespace {

// x^k by square-and-multiply over the bits of k; x^0 is 1, also for x = 0.
double IntegerPower(double x, int k) {
    double result = 1.0;
    double square = x;
    for (unsigned bits = static_cast<unsigned>(k); bits != 0; bits >>= 1) {
        if (bits & 1u) result *= square;
        square *= square;
    }
    return result;
}

}  // namespace

int DoolittleSolveEquations(const double* a, const double* b, int n, double* x) {
    if (n <= 0 || a == nullptr || b == nullptr || x == nullptr) return 1;
    const size_t size = static_cast<size_t>(n);
    std::vector<double> lower(size * size, 0.0), upper(size * size, 0.0), y(size, 0.0);
    auto L = [&](size_t i, size_t j) -> double& { return lower[i * size + j]; };
    auto U = [&](size_t i, size_t j) -> double& { return upper[i * size + j]; };
    auto A = [&](size_t i, size_t j) { return a[i * size + j]; };

    for (size_t i = 0; i < size; ++i) L(i, i) = 1.0;
    for (size_t i = 0; i < size; ++i) {
        U(0, i) = A(0, i) / L(0, 0);
        L(i, 0) = A(i, 0) / U(0, 0);
    }
    for (size_t i = 1; i < size; ++i) {
        for (size_t j = 1; j < i; ++j) {
            double sum = 0.0;
            for (size_t k = 0; k < j; ++k) sum += L(i, k) * U(k, j);
            L(i, j) = (A(i, j) - sum) / U(j, j);
        }
        for (size_t j = i; j < size; ++j) {
            double sum = 0.0;
            for (size_t k = 0; k < i; ++k) sum += L(i, k) * U(k, j);
            U(i, j) = A(i, j) - sum;
        }
    }
    for (size_t i = 0; i < size; ++i) {
        double sum = 0.0;
        for (size_t j = 0; j < i; ++j) sum += y[j] * L(i, j);
        y[i] = (b[i] - sum) / L(i, i);
    }
    for (size_t i = size; i-- > 0;) {
        double sum = 0.0;
        for (size_t j = size; j-- > i + 1;) sum += x[j] * U(i, j);
        x[i] = (y[i] - sum) / U(i, i);
    }
    return 1;
}

int CubicSplineInterpolation(const double* x, const double* y, int n, double firstSlope, double lastSlope,
                             const double* t, int m, double* result) {
    if (n < 2 || m <= 0 || x == nullptr || y == nullptr || t == nullptr || result == nullptr) return 1;
    const size_t size = static_cast<size_t>(n);
    std::vector<double> h(size, 0.0), s(size, 0.0), d(size, 0.0), matrix(size * size, 0.0), second(size, 0.0);
    for (size_t i = 1; i < size; ++i) {
        h[i] = x[i] - x[i - 1];
        s[i] = (y[i] - y[i - 1]) / h[i];
    }
    for (size_t i = 0; i < size; ++i) matrix[i * size + i] = 2.0;
    matrix[0 * size + 1] = 1.0;
    matrix[(size - 1) * size + (size - 2)] = 1.0;
    for (size_t i = 1; i + 1 < size; ++i) {
        const double mu = h[i] / (h[i] + h[i + 1]);
        matrix[i * size + (i - 1)] = mu;
        matrix[i * size + (i + 1)] = 1.0 - mu;
        d[i] = 6.0 / (h[i] + h[i + 1]) * (s[i + 1] - s[i]);
    }
    d[0] = 6.0 / h[1] * (s[1] - firstSlope);
    d[size - 1] = 6.0 / h[size - 1] * (lastSlope - s[size - 1]);
    DoolittleSolveEquations(matrix.data(), d.data(), n, second.data());

    // One running interval index, never reset: queries are taken in order.
    size_t j = 1;
    for (int q = 0; q < m; ++q) {
        const double v = t[q];
        while (x[j] < v && j < size - 1) ++j;
        const double H = h[j];
        const double left = x[j] - v;
        const double right = v - x[j - 1];
        double value = second[j - 1] * left * left * left / 6.0 / H;
        value += second[j] * right * right * right / 6.0 / H;
        value += (y[j - 1] - H * H * second[j - 1] / 6.0) * left / H;
        value += (y[j] - H * H * second[j] / 6.0) * right / H;
        result[q] = value;
    }
    return 1;
}

int LagrangeInterpolation(const double* x, const double* y, int order, const double* t, int m, double* result) {
    if (order != 1 && order != 2) return 0;
    if (m <= 0 || x == nullptr || y == nullptr || t == nullptr || result == nullptr) return 1;
    for (int q = 0; q < m; ++q) {
        const double v = t[q];
        if (order == 1) {
            result[q] = (v - x[1]) / (x[0] - x[1]) * y[0] + (v - x[0]) / (x[1] - x[0]) * y[1];
        } else {
            result[q] = (v - x[1]) * (v - x[2]) / (x[0] - x[1]) / (x[0] - x[2]) * y[0] +
                        (v - x[0]) * (v - x[2]) / (x[1] - x[0]) / (x[1] - x[2]) * y[1] +
                        (v - x[0]) * (v - x[1]) / (x[2] - x[0]) / (x[2] - x[1]) * y[2];
        }
    }
    return 1;
}

int LinearLeastSquareNoWeight(const double* x, const double* y, int n, double* c) {
    if (n <= 0 || x == nullptr || y == nullptr || c == nullptr) return 1;
    double sumX = 0.0, sumXX = 0.0, sumY = 0.0, sumXY = 0.0;
    for (int i = 0; i < n; ++i) {
        sumX += x[i];
        sumXX += x[i] * x[i];
        sumY += y[i];
        sumXY += x[i] * y[i];
    }
    const double normal[4] = {static_cast<double>(n), sumX, sumX, sumXX};
    const double rhs[2] = {sumY, sumXY};
    return DoolittleSolveEquations(normal, rhs, 2, c);
}

int MultiOrderLeastSquareNoWeight(const double* x, const double* y, int n, int order, double* c) {
    if (n <= 0 || order < 0 || x == nullptr || y == nullptr || c == nullptr) return 1;
    const size_t terms = static_cast<size_t>(order) + 1;
    std::vector<double> powerSums(2 * terms - 1, 0.0), moments(terms, 0.0), normal(terms * terms);
    for (int i = 0; i < n; ++i) {
        for (size_t k = 0; k < powerSums.size(); ++k) {
            const double power = IntegerPower(x[i], static_cast<int>(k));
            powerSums[k] += power;
            if (k < terms) moments[k] += power * y[i];
        }
    }
    for (size_t i = 0; i < terms; ++i)
        for (size_t j = 0; j < terms; ++j) normal[i * terms + j] = powerSums[i + j];
    return DoolittleSolveEquations(normal.data(), moments.data(), static_cast<int>(terms), c);
}
