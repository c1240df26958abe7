#include <gtest/gtest.h>

#include "FreshDirectory.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    quenlix::testing::InstallFreshDirectoryPerTest();
    return RUN_ALL_TESTS();
}
