#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

#include "Deadline.h"
#include "LineColorList.h"
#include "SettingsFiles.h"
#include "SettingsPath.h"
#include "usb/UsbDeviceList.h"

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

namespace {

// What once stood in a settings file's place: a folder or a link to
// /dev/zero hung start-up at full CPU, a FIFO blocked it.
enum class Stand { Folder, LinkToDevZero, Fifo, Oversize };

void PlaceInstead(const std::string& name, Stand stand, const std::string& oversize) {
    const std::string path = "config/" + name;
    std::filesystem::create_directories("config");
    std::filesystem::remove_all(path);
    switch (stand) {
        case Stand::Folder:
            std::filesystem::create_directory(path);
            break;
        case Stand::LinkToDevZero:
            std::filesystem::create_symlink("/dev/zero", path);
            break;
        case Stand::Fifo:
            ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
            break;
        case Stand::Oversize:
            Put(name, oversize);
            break;
    }
}

struct Reader {
    const char* file;
    std::string oversize;  // valid content made too large to be a settings file
    std::function<bool()> givesDefault;
};

}  // namespace

TEST(SettingsReaders, OnlyRegularFilesOfSettingsSizeAreRead) {
    const Reader readers[] = {
        {"language.bin", "Cht" + std::string(5000, '\0'), [] { return ReadLanguageFile(2) == 2; }},
        {"Excitation Wavelength.bin", std::string(5000, '\x40'),
         [] { return ReadExcitationWavelengthFile(785.0) == 785.0; }},
        {"integral time.bin", "25" + std::string(5000, ' '), [] { return ReadIntegralTimeFile() == 100.0; }},
        {"spec color.bin", "0l\r\n" + std::string(20000, '\n'),
         [] {
             lineColorList.clear();
             LoadLineColorList();
             return lineColorList.size() == 5 && lineColorList.front() == 255;
         }},
        {"usb devices.txt", "1234:5678\n" + std::string(70000, '#'),
         [] { return kestrion::ReadUsbDeviceList().empty(); }},
    };
    for (const Reader& reader : readers) {
        for (Stand stand : {Stand::Folder, Stand::LinkToDevZero, Stand::Fifo, Stand::Oversize}) {
            SCOPED_TRACE(std::string(reader.file) + " as stand-in " + std::to_string(static_cast<int>(stand)));
            PlaceInstead(reader.file, stand, reader.oversize);
            const auto defaulted = quenlix::testing::ResultWithin(std::chrono::milliseconds(2000), reader.givesDefault);
            ASSERT_TRUE(defaulted.has_value()) << "no answer within 2 s";
            EXPECT_TRUE(*defaulted);
        }
    }
}

TEST(SettingsReaders, UsbDeviceListUpTo64KiBIsReadAndA50MBOneRefusedAtOnce) {
    Put("usb devices.txt", "1234:5678\n" + std::string(60000, '#'));
    EXPECT_EQ(kestrion::ReadUsbDeviceList().size(), 1u);
    Put("usb devices.txt", "1234:5678\n");
    std::filesystem::resize_file("config/usb devices.txt", 50u << 20);
    const auto ids = quenlix::testing::ResultWithin(std::chrono::milliseconds(500),
                                                    [] { return kestrion::ReadUsbDeviceList(); });
    ASSERT_TRUE(ids.has_value()) << "a large list took more than 0.5 s";
    EXPECT_TRUE(ids->empty());
}

// Settings are written whole under a temporary name and renamed into place: a
// write that cannot finish says so and leaves what was there, and no
// temporary file stays behind.
TEST(SettingsWriters, AWriteThatCannotFinishSaysSoAndLeavesNoPartialFile) {
    ASSERT_TRUE(quenlix::WriteIntegralTimeFile(12.5));
    std::filesystem::create_directories("config/language.bin/blocked");  // a folder in the file's place
    EXPECT_FALSE(quenlix::WriteLanguageFile(2));
    EXPECT_TRUE(std::filesystem::is_directory("config/language.bin"));
    std::filesystem::create_directories("config/spec color.bin/blocked");
    EXPECT_FALSE(SaveLineColorList({255, 65280}));
    EXPECT_EQ(quenlix::ReadIntegralTimeFile(), 12.5);
    for (const auto& entry : std::filesystem::directory_iterator("config")) {
        const std::string name = entry.path().filename().string();
        EXPECT_TRUE(name == "language.bin" || name == "spec color.bin" || name == "integral time.bin") << name;
    }
}

// The shared libraries that read settings (the USB device list in
// libkestrion.so) carry their own copy of the settings-folder code; the
// folder the program chose must be the one they read from too.
TEST(SettingsFolder, TheLibrariesReadFromTheFolderTheProgramChose) {
    std::filesystem::create_directories("chosen");
    std::ofstream("chosen/usb devices.txt", std::ios::binary) << "1234:5678\n";
    Put("usb devices.txt", "aaaa:bbbb\n");
    ChooseSettingsFolder("chosen");
    EXPECT_EQ(kestrion::ReadUsbDeviceListText(), "1234:5678\n");
    ChooseSettingsFolder();
    EXPECT_EQ(kestrion::ReadUsbDeviceListText(), "aaaa:bbbb\n");
}
