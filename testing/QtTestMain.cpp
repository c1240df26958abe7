#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "FreshDirectory.h"

// Qt tests run headless: test discovery runs this binary at build time, when
// no display may exist, so the offscreen platform is chosen unless set.
int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    quenlix::testing::InstallFreshDirectoryPerTest();
    return RUN_ALL_TESTS();
}
