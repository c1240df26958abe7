#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "SettingsFiles.h"

using namespace quenlix;

namespace {

void Put(const std::string& name, const std::string& bytes) {
    std::filesystem::create_directories("config");
    std::ofstream("config/" + name, std::ios::binary) << bytes;
}

std::string Get(const std::string& name) {
    std::ifstream in("config/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

}  // namespace

TEST(LanguageFile, CodesWithOrWithoutTheirNulSelectTheLanguage) {
    EXPECT_EQ(ReadLanguageFile(2), 2) << "missing file";
    Put("language.bin", "Cht");
    EXPECT_EQ(ReadLanguageFile(2), 1);
    Put("language.bin", std::string("Cht\0", 4));
    EXPECT_EQ(ReadLanguageFile(2), 1);
    Put("language.bin", std::string("Chs\0junk", 8));
    EXPECT_EQ(ReadLanguageFile(2), 0) << "the NUL ends the code";
    Put("language.bin", "cht");
    EXPECT_EQ(ReadLanguageFile(2), 2) << "codes are case-sensitive";
    Put("language.bin", "Chtxxxxxxxxxxxxxxxxxxx");
    EXPECT_EQ(ReadLanguageFile(2), 2);
    Put("language.bin", "");
    EXPECT_EQ(ReadLanguageFile(3), 3);
}

TEST(LanguageFile, IsRewrittenAsTheCodeAndOneNul) {
    WriteLanguageFile(1);
    EXPECT_EQ(Get("language.bin"), std::string("Cht\0", 4));
    WriteLanguageFile(3);
    EXPECT_EQ(Get("language.bin"), std::string("Jap\0", 4));
    WriteLanguageFile(7);  // no such language: the file stays
    EXPECT_EQ(Get("language.bin"), std::string("Jap\0", 4));
}

TEST(ExcitationWavelengthFile, HoldsExactlyOneLittleEndianDouble) {
    EXPECT_EQ(ReadExcitationWavelengthFile(785.0), 785.0);
    WriteExcitationWavelengthFile(532.25);
    // 532.25 = 0x4080A20000000000
    EXPECT_EQ(Get("Excitation Wavelength.bin"), std::string("\0\0\0\0\0\xA2\x80\x40", 8));
    EXPECT_EQ(ReadExcitationWavelengthFile(785.0), 532.25);

    Put("Excitation Wavelength.bin", std::string("\0\0\0\0\0\xA2\x80", 7));
    EXPECT_EQ(ReadExcitationWavelengthFile(785.0), 785.0) << "short file";
    Put("Excitation Wavelength.bin", std::string("\0\0\0\0\0\xA2\x80\x40\x01", 9));
    EXPECT_EQ(ReadExcitationWavelengthFile(785.0), 785.0) << "long file";
    Put("Excitation Wavelength.bin", std::string("\0\0\0\0\0\0\xF8\x7F", 8));
    EXPECT_EQ(ReadExcitationWavelengthFile(785.0), 785.0) << "NaN";
}

TEST(IntegralTimeFile, TakesTheFirstNumberAsMilliseconds) {
    EXPECT_EQ(ReadIntegralTimeFile(), 100.0);
    Put("integral time.bin", "  250.5 junk");
    EXPECT_EQ(ReadIntegralTimeFile(), 250.5);
    Put("integral time.bin", "2e3");
    EXPECT_EQ(ReadIntegralTimeFile(), 2000.0);
    for (const char* bad : {"", "abc", "-5", "0", "nan"}) {
        Put("integral time.bin", bad);
        EXPECT_EQ(ReadIntegralTimeFile(), 100.0) << bad;
    }
    Put("integral time.bin", std::string(100, ' ') + "42");
    EXPECT_EQ(ReadIntegralTimeFile(), 100.0) << "only the first 100 bytes are read";

    WriteIntegralTimeFile(2500);
    EXPECT_EQ(Get("integral time.bin"), "2500");
    WriteIntegralTimeFile(12.5);
    EXPECT_EQ(Get("integral time.bin"), "12.5");
}
