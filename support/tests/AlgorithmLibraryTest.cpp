#include <gtest/gtest.h>

#include "Algorithm.h"
#include "AlgorithmLibrary.h"

namespace {

TEST(AlgorithmLibrary, LoadsByFileNameAndCallsRoutine) {
    quenlix::AlgorithmLibrary library;
    ASSERT_TRUE(library.IsLoaded());
    auto* fit = library.Routine<LinearLeastSquareNoWeightFn>("LinearLeastSquareNoWeight");
    ASSERT_NE(fit, nullptr);
    const double x[3] = {0, 1, 2};
    const double y[3] = {1, 3, 5};
    double c[2] = {};
    EXPECT_EQ(fit(x, y, 3, c), 1);
    EXPECT_NEAR(c[0], 1.0, 1e-12);
    EXPECT_NEAR(c[1], 2.0, 1e-12);
}

TEST(AlgorithmLibrary, UnknownRoutineIsNullNotACrash) {
    quenlix::AlgorithmLibrary library;
    EXPECT_EQ(library.Routine<LinearLeastSquareNoWeightFn>("NoSuchRoutine"), nullptr);
    // Decorated names are not exported.
    EXPECT_EQ(library.Routine<LinearLeastSquareNoWeightFn>("_Z25LinearLeastSquareNoWeightPKdS0_iPd"), nullptr);
}

}  // namespace
