#pragma once

// Numeric routines of the spectrometer software. They are loaded at run time
// by file name (libalgorithm.so) and looked up under these undecorated names.
// Matrices are flat row-major arrays; callers own every array. No routine
// checks its input numerically (no pivoting: a zero pivot gives infinities or
// NaNs in the result); callers that need to know test the results. Counts of
// zero or less, and null arrays, write nothing.

#define QUENLIX_ALGORITHM_API extern "C" __attribute__((visibility("default")))

// Solves A·x = b by LU factorisation without pivoting. Always 1.
QUENLIX_ALGORITHM_API int DoolittleSolveEquations(const double* a, const double* b, int n, double* x);

// Clamped cubic spline through (x, y), x strictly ascending, n ≥ 2, evaluated
// at non-decreasing queries t (points outside the knots extrapolate the end
// intervals). Always 1.
QUENLIX_ALGORITHM_API int CubicSplineInterpolation(const double* x, const double* y, int n, double firstSlope,
                                                   double lastSlope, const double* t, int m, double* result);

// Lagrange interpolation through 2 (order 1) or 3 (order 2) nodes. 0 with
// nothing written for any other order.
QUENLIX_ALGORITHM_API int LagrangeInterpolation(const double* x, const double* y, int order, const double* t,
                                                int m, double* result);

// Straight-line fit y = c[0] + c[1]·x. Always 1.
QUENLIX_ALGORITHM_API int LinearLeastSquareNoWeight(const double* x, const double* y, int n, double* c);

// Polynomial fit y = Σ c[k]·x^k, k = 0 … order, by the normal equations. Always 1.
QUENLIX_ALGORITHM_API int MultiOrderLeastSquareNoWeight(const double* x, const double* y, int n, int order,
                                                        double* c);

// The routines' signatures, for callers that look them up by name.
using DoolittleSolveEquationsFn = int(const double*, const double*, int, double*);
using CubicSplineInterpolationFn = int(const double*, const double*, int, double, double, const double*, int,
                                       double*);
using LagrangeInterpolationFn = int(const double*, const double*, int, const double*, int, double*);
using LinearLeastSquareNoWeightFn = int(const double*, const double*, int, double*);
using MultiOrderLeastSquareNoWeightFn = int(const double*, const double*, int, int, double*);
