#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <vector>

#include "DataFileLoad.h"

namespace fs = std::filesystem;

namespace {

// Broken files kept in the corpus, and fuzz findings kept as regression
// inputs: each must be refused or read whole, never crash or overrun.
TEST(BrokenFiles, AreRefusedOrReadCleanly) {
    const std::set<std::string> readable = {"long-lines.txt", "bad-data-type.txt", "utf16-odd-length.txt"};
    int files = 0;
    for (const auto& entry : fs::directory_iterator(SCRIVONA_CORPUS_DIR)) {
        const std::string name = entry.path().filename().string();
        SCOPED_TRACE(name);
        ++files;
        CDataFileLoad load;
        const std::string path = entry.path().string();
        const int result = load.SetLoadingSingleDataFilePath(std::wstring(path.begin(), path.end()));
        if (name.starts_with("fuzz-")) {
            if (result == 0) continue;
        } else if (!readable.contains(name)) {
            EXPECT_EQ(result, 0);
            EXPECT_EQ(load.GetPixelCount(), 0);
            continue;
        }
        ASSERT_EQ(result, 1);
        ASSERT_GT(load.GetPixelCount(), 0);
        std::vector<double> x(load.GetPixelCount()), y(load.GetPixelCount());
        EXPECT_EQ(load.LoadSingleData(x.data(), y.data()), 1);
        int xType = -1, yType = -1;
        load.GetDataType(xType, yType);
        EXPECT_TRUE(xType >= 0 && xType <= 5 && yType >= 0 && yType <= 5);
    }
    EXPECT_GE(files, 15);
}

TEST(BrokenFiles, ReadableOnesKeepWhatTheyHold) {
    CDataFileLoad load;
    ASSERT_EQ(load.SetLoadingSingleDataFilePath(SCRIVONA_CORPUS_WDIR L"/long-lines.txt"), 1);
    EXPECT_EQ(load.GetDeviceName(), std::wstring(50000, L'D'));
    EXPECT_EQ(load.GetPixelCount(), 3);
    EXPECT_EQ(load.GetReverse0(), 250);
}

}  // namespace
