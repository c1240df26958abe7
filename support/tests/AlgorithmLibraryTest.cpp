#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

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

// An installed tree keeps the library in lib/quenlix, not beside the
// executable: a copy of this test program placed in such a tree's bin/ must
// find it there. Without the library the copy must fail, or the check would
// prove nothing.
TEST(AlgorithmLibrary, FoundInTheInstalledTreeOfTheExecutable) {
    namespace fs = std::filesystem;
    const fs::path self = fs::read_symlink("/proc/self/exe");
    const fs::path tree = fs::current_path() / "installed";
    fs::create_directories(tree / "bin");
    fs::copy_file(self, tree / "bin" / "support_tests");
    // The copy starts only with the settings library it links, found beside it as in the build.
    fs::copy_file(self.parent_path() / "libquenlix_settings.so", tree / "bin" / "libquenlix_settings.so");
    const std::string run = (tree / "bin" / "support_tests").string() +
                            " --gtest_filter=AlgorithmLibrary.LoadsByFileNameAndCallsRoutine >/dev/null 2>&1";
    const int withoutLibrary = std::system(run.c_str());
    ASSERT_TRUE(WIFEXITED(withoutLibrary));
    EXPECT_EQ(WEXITSTATUS(withoutLibrary), 1) << "found a library that is not in the tree, or did not start";

    fs::create_directories(tree / QUENLIX_PRIVATE_LIBDIR);
    fs::copy_file(self.parent_path() / quenlix::AlgorithmLibrary::kFileName,
                  tree / QUENLIX_PRIVATE_LIBDIR / quenlix::AlgorithmLibrary::kFileName);
    EXPECT_EQ(std::system(run.c_str()), 0) << "not found in " << QUENLIX_PRIVATE_LIBDIR;
}

}  // namespace
