#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "ReplaceFile.h"

namespace {

using quenlix::WriteFileReplacing;

std::string Content(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

TEST(ReplaceFile, ReplacesARegularFileWholeAndLeavesNoTemporary) {
    std::ofstream("data.txt") << "old and longer";
    ASSERT_TRUE(WriteFileReplacing("data.txt", "new"));
    EXPECT_EQ(Content("data.txt"), "new");
    EXPECT_FALSE(std::filesystem::exists(".data.txt.partial"));
}

// Saving over a device or a folder by mistake must fail, not put a regular
// file in its place (as root the rename would succeed).
TEST(ReplaceFile, RefusesADeviceOrAFolderAndLeavesThemAsTheyWere) {
    EXPECT_FALSE(WriteFileReplacing("/dev/full", "x"));
    struct stat device {};
    ASSERT_EQ(::stat("/dev/full", &device), 0);
    EXPECT_TRUE(S_ISCHR(device.st_mode));
    EXPECT_FALSE(std::filesystem::exists("/dev/.full.partial"));

    std::filesystem::create_directory("folder");
    EXPECT_FALSE(WriteFileReplacing("folder", "x"));
    EXPECT_TRUE(std::filesystem::is_directory("folder"));
}

TEST(ReplaceFile, AMissingFolderIsAFailure) { EXPECT_FALSE(WriteFileReplacing("gone/data.txt", "x")); }

}  // namespace
