#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "usb/UsbDeviceList.h"

namespace kestrion::testing {
namespace {

constexpr UsbId kSpectrometer{0x1a2b, 0x3c4d};
constexpr UsbId kOther{0x04b4, 0x8613};

TEST(UsbDeviceListEdit, KeepsCommentsAndLineEndsCommentsOutRemovedPairsAndAddsEachPairOnce) {
    const std::string text =
        "# lab spectrometers\r\n"
        "04B4:8613  # the old one\r\n"
        "\r\n"
        "junk line\r\n"
        "1a2b:3c4d";  // no line end at the end
    EXPECT_EQ(EditUsbDeviceList(text, {kSpectrometer, {0xffff, 0x0001}, {0xffff, 0x0001}}, {kOther}),
              "# lab spectrometers\r\n"
              "# 04B4:8613  # the old one\r\n"
              "\r\n"
              "junk line\r\n"
              "1a2b:3c4d\r\n"
              "ffff:0001\r\n");
    // A pair listed twice is commented out on both lines; nothing to add leaves the text alone.
    EXPECT_EQ(EditUsbDeviceList("1a2b:3c4d\n1A2B:3C4D\n", {}, {kSpectrometer}), "# 1a2b:3c4d\n# 1A2B:3C4D\n");
    EXPECT_EQ(EditUsbDeviceList("1a2b:3c4d\n", {kSpectrometer}, {}), "1a2b:3c4d\n");
    EXPECT_EQ(EditUsbDeviceList("", {kOther}, {}), "04b4:8613\n");

    std::istringstream edited(EditUsbDeviceList(text, {}, {kOther}));
    EXPECT_EQ(ParseUsbDeviceList(edited), std::vector<UsbId>{kSpectrometer})
        << "what is unlisted stays unlisted";
}

TEST(UsbDeviceListEdit, TextIsEmptyWithoutAFileAndRefusedWhenItCannotBeReadWhole) {
    EXPECT_EQ(ReadUsbDeviceListText(), std::string());
    std::filesystem::create_directories("config");
    std::ofstream(kUsbDeviceListFile, std::ios::binary) << "# mine\r\n1a2b:3c4d\r\n";
    EXPECT_EQ(ReadUsbDeviceListText(), std::string("# mine\r\n1a2b:3c4d\r\n"));

    std::ofstream(kUsbDeviceListFile, std::ios::binary) << std::string(65 * 1024, '#');
    EXPECT_EQ(ReadUsbDeviceListText(), std::nullopt) << "an edit would drop what it could not read";
    std::filesystem::remove(kUsbDeviceListFile);
    std::filesystem::create_directory(kUsbDeviceListFile);
    EXPECT_EQ(ReadUsbDeviceListText(), std::nullopt);
}

}  // namespace
}  // namespace kestrion::testing
