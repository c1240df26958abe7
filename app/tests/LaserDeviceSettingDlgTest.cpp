#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "LaserSettings.h"

using namespace quenlix;

namespace {

const char* const kLaserFile = "config/libs-laser.bin";

void WriteFile(const std::string& path, const std::string& bytes) {
    std::filesystem::create_directories("config");
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// A settings file in the layout the dialog writes, from name/value pairs.
std::string SettingsText(std::initializer_list<std::pair<const char*, const char*>> rows) {
    std::string text;
    for (const auto& [name, value] : rows) text += std::string(name) + "\r\n" + value + "\r\n";
    return text;
}

}  // namespace

// Reading brings every value into its range; lines that are no number leave
// the initial value; a file that is no settings file at all gives the
// initial values, which are written back in the 22-line layout.
TEST(LaserSettingsFile, IsReadIntoRangeAndWrittenAsCrLfLines) {
    const std::string initial = SettingsText({{"BOpenLaserControl", "1"},
                                              {"ControlMode", "1"},
                                              {"CommPort", "1"},
                                              {"PulseWidthUsec", "10"},
                                              {"HZ", "20"},
                                              {"Delay0Ns", "30"},
                                              {"Delay1Ns", "40"},
                                              {"DelayStepNs", "50"},
                                              {"GrabCount", "60"},
                                              {"BKeepStrongestSpec", "0"},
                                              {"TrigMode", "0"}});
    EXPECT_TRUE(WriteLaserSettingsFile(ReadLaserSettingsFile()));  // no file yet
    EXPECT_EQ(FileBytes(kLaserFile), initial);

    WriteFile(kLaserFile,
              "junk\nCommPort\r\n1001\r\nTrigMode\n5\nHZ\n0\nBOpenLaserControl\nno\nControlMode\n3\n"
              "PulseWidthUsec\n-7\nDelay0Ns\nabc\nGrabCount\n99999999999\nBKeepStrongestSpec\nyes\n"
              "Delay1Ns\n  +45 ns\nDelayStepNs");  // the last name has no value line
    LaserSettings s = ReadLaserSettingsFile();
    EXPECT_EQ(s.CommPort, 1);
    EXPECT_EQ(s.TrigMode, 1);
    EXPECT_EQ(s.HZ, 1);
    EXPECT_TRUE(s.BOpenLaserControl);  // only "0" turns control off
    EXPECT_EQ(s.ControlMode, 1);
    EXPECT_EQ(s.PulseWidthUsec, 1);
    EXPECT_EQ(s.Delay0Ns, 30);
    EXPECT_EQ(s.GrabCount, 60);
    EXPECT_FALSE(s.BKeepStrongestSpec);  // only "1" keeps the strongest spectrum
    EXPECT_EQ(s.Delay1Ns, 45);
    EXPECT_EQ(s.DelayStepNs, 50);

    // Oversized, binary or a folder in its place: the initial values.
    for (const std::string& damaged : {std::string(5000, 'x') + "\nHZ\n7\n", std::string("HZ\0\xff\n7", 6)}) {
        WriteFile(kLaserFile, damaged);
        EXPECT_EQ(ReadLaserSettingsFile().HZ, 20);
    }
    std::filesystem::remove(kLaserFile);
    std::filesystem::create_directories(kLaserFile);
    EXPECT_EQ(ReadLaserSettingsFile().HZ, 20);
}
