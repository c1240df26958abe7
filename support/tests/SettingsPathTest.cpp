#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "SettingsPath.h"

namespace {

TEST(SettingsPath, BackslashAndCapitalisedNamesMeanOneFolder) {
    EXPECT_EQ(quenlix::SettingsPath("config\\language.bin"), "config/language.bin");
    EXPECT_EQ(quenlix::SettingsPath("Config\\Excitation Wavelength.bin"), "config/Excitation Wavelength.bin");
    EXPECT_EQ(quenlix::SettingsPath("Config/laser port"), "config/laser port");
    EXPECT_EQ(quenlix::SettingsPath("config/last coords1%d.bin"), "config/last coords1%d.bin");
    EXPECT_EQ(quenlix::SettingsPath("i0.bin"), "config/i0.bin");
    EXPECT_FALSE(std::filesystem::exists("config"));
}

TEST(SettingsPath, WritePathCreatesTheFolder) {
    const std::string path = quenlix::SettingsPathForWrite("Config\\Standard Wavelength.bin");
    EXPECT_TRUE(std::filesystem::is_directory("config"));
    std::ofstream(path) << "x";
    EXPECT_TRUE(std::filesystem::exists("config/Standard Wavelength.bin"));
}

}  // namespace
