#include "LineColorList.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

namespace {

using Colors = std::list<uint32_t>;

const Colors kDefaults = {255, 16711680, 15736992, 25600, 5737262};  // red, blue, purple, dark green, sea green

void WriteFile(const std::string& bytes) {
    std::filesystem::create_directories("config");
    std::ofstream("config/spec color.bin", std::ios::binary) << bytes;
}

std::string ReadFile() {
    std::ifstream file("config/spec color.bin", std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

Colors Load(const Colors& colors = {}) {
    lineColorList.clear();
    LoadLineColorList(colors);
    return lineColorList;
}

TEST(LineColorList, MissingOrColourlessFileGivesTheDefaults) {
    EXPECT_EQ(Load(), kDefaults);
    // A file that holds no colour at all would leave the list empty.
    WriteFile("");
    EXPECT_EQ(Load(), kDefaults);
    WriteFile("red\r\n\r\n");
    EXPECT_EQ(Load(), kDefaults);
}

TEST(LineColorList, SavedColoursReadBackInOrderAsCrLfLines) {
    ASSERT_TRUE(SaveLineColorList({16711680, 0, 255}));
    EXPECT_EQ(ReadFile(), "16711680l\r\n0l\r\n255l\r\n");
    EXPECT_EQ(Load(), (Colors{16711680, 0, 255}));

    // Saving again truncates: two colours leave two lines.
    ASSERT_TRUE(SaveLineColorList({25600, 5737262}));
    EXPECT_EQ(ReadFile(), "25600l\r\n5737262l\r\n");
}

TEST(LineColorList, ReadsCrLfAndLfLinesAndSkipsLinesWithoutAColour) {
    WriteFile("255l\r\ngarbage\r\n 25600l\r\n-1l\r\n16777216l\r\n16711680l");
    EXPECT_EQ(Load(), (Colors{255, 25600, 16711680}));
    WriteFile("255l\n\n15736992l\n");
    EXPECT_EQ(Load(), (Colors{255, 15736992}));
}

TEST(LineColorList, LongLinesAndLongFilesStayBounded) {
    // A long garbage line costs one line; the number after it still counts.
    WriteFile("7" + std::string(5000, 'x') + "\r\n42l\r\n");
    EXPECT_EQ(Load(), (Colors{7, 42}));
    std::ostringstream many;
    for (int i = 0; i < 25; ++i) many << i << "l\r\n";
    WriteFile(many.str());
    EXPECT_EQ(Load().size(), kMaxLineColors);
    EXPECT_EQ(lineColorList.back(), 9u);
}

TEST(LineColorList, GivenColoursAreAppendedWithoutReadingTheFile) {
    WriteFile("255l\r\n");
    lineColorList = {1};
    LoadLineColorList({2, 3});
    EXPECT_EQ(lineColorList, (Colors{1, 2, 3}));
}

TEST(LineColorList, UnwritableFileIsReported) {
    std::filesystem::create_directories("config/spec color.bin");  // a folder in the file's place
    EXPECT_FALSE(SaveLineColorList({255}));
}

}  // namespace
