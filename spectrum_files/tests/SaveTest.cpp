#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <map>
#include <random>

#include "DataFileSave.h"
#include "TestFiles.h"

using namespace scrivona_test;

namespace {

const double kX[] = {500, 501, 502};
const double kY[] = {1, 2, 3};

// The writer set up as the view host sets it up for an English save.
void SetUpEnglishExample(CDataFileSave& save) {
    ASSERT_EQ(save.SetUsingLanguage(2), 1);
    ASSERT_EQ(save.SetPixelCount(3), 1);
    ASSERT_EQ(save.SetDataType(0, 0), 1);
    ASSERT_EQ(save.SetDeviceInfo(L"D", L"V1", L"S1"), 1);
    ASSERT_EQ(save.SetSpectrumInfo(100000, 1, 0), 1);
    save.SetReverse0(250);
}

// Checks lines of a written file by their number.
void ExpectLines(const std::vector<std::string>& lines, const std::map<size_t, std::string>& expected) {
    for (const auto& [number, text] : expected) {
        ASSERT_LT(number, lines.size());
        EXPECT_EQ(lines[number], text) << "line " << number;
    }
}

std::string SaveAndRead(CDataFileSave& save, const std::string& name = "s.txt") {
    EXPECT_EQ(save.SaveSingleData(std::wstring(name.begin(), name.end()), kX, kY), 1);
    return ReadBytes(name);
}

TEST(SaveSingleData, WritesTheEnglishExampleByteForByte) {
    CDataFileSave save;
    SetUpEnglishExample(save);
    const std::vector<std::string> lines = Lines(SaveAndRead(save));
    const std::vector<std::string> expected = {"Spectrometer Data",
                                               "EN",
                                               std::string(30, '-'),
                                               "",
                                               "Device Name:D",
                                               "Version Info:V1",
                                               "Serial Number:S1",
                                               "Integral Time(\u03bcs):100000",
                                               "Avg Count:1",
                                               "Smoothness:0",
                                               "Data Type:(0 0)Wavelength-Original Spectreum",
                                               "X-Axis Unit:nm",
                                               "Y-Axis Unit:counts",
                                               "Pixel Count:3",
                                               "Reserve0:250",
                                               "Other Description:",
                                               "+++++Begin Spectral Data+++++",
                                               "500.000\t1.000",
                                               "501.000\t2.000",
                                               "502.000\t3.000",
                                               "+++++End Spectral Data+++++"};
    ASSERT_EQ(lines.size(), expected.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i == 3) {
            EXPECT_TRUE(HasShape(lines[i], "Saving Time:Aaa, Aaa 99, 9999 99:99:99")) << lines[i];
        } else {
            EXPECT_EQ(lines[i], expected[i]) << "line " << i;
        }
    }
    EXPECT_EQ(ReadBytes("s.txt")[0], 'S') << "no byte-order mark expected";
}

TEST(SaveSingleData, DecimalCountsShapeTheDataLines) {
    CDataFileSave save;
    SetUpEnglishExample(save);
    EXPECT_EQ(save.SetDecimalCount(1, 0), 1);
    EXPECT_EQ(Lines(SaveAndRead(save))[17], "500.0\t1");
    EXPECT_EQ(save.SetDecimalCount(10, 2), -1);  // X keeps its last count
    EXPECT_EQ(Lines(SaveAndRead(save))[17], "500.0\t1.00");
    EXPECT_EQ(save.SetDecimalCount(-1, 12), -3);
}

// Data lines must read exactly as the C library's "%.*f" writes them, ties
// and huge values included, whatever the decimals.
TEST(SaveSingleData, DataLinesMatchPrintfExactly) {
    const double inf = std::numeric_limits<double>::infinity();
    std::vector<double> values = {
        0.5,  1.5,    2.5,         0.125,   0.0005, 1.0005, -0.0001, -0.0,
        1e15, 4.5e15, 1e300,       -1e-300, 2.675,  1.005,  0.045,   123456789.987654321,
        inf,  -inf,   std::nan("")};
    std::mt19937_64 random(7);
    for (int i = 0; i < 2000; ++i) {
        values.push_back(std::uniform_real_distribution<double>(-70000, 70000)(random));
        values.push_back(std::round(values.back() * 1000) / 1000 + 0.0005);  // near-ties at 3 decimals
    }
    CDataFileSave save;
    save.SetDataOnly(true);
    ASSERT_EQ(save.SetPixelCount(static_cast<int>(values.size())), 1);
    for (int decimals : {0, 1, 3, 9}) {
        SCOPED_TRACE(decimals);
        ASSERT_EQ(save.SetDecimalCount(decimals, 9 - decimals), 1);
        ASSERT_EQ(save.SaveSingleData(L"d.txt", values.data(), values.data()), 1);
        std::string expected;
        for (double v : values) {
            char line[800];
            std::snprintf(line, sizeof line, "%.*f\t%.*f\r\n", decimals, v, 9 - decimals, v);
            expected += line;
        }
        EXPECT_EQ(ReadBytes("d.txt"), expected);
    }
}

TEST(SaveSingleData, RefusedSpectrumInfoLeavesItsLines) {
    CDataFileSave save;
    SetUpEnglishExample(save);
    EXPECT_EQ(save.SetSpectrumInfo(-1, 4, -1), -5);
    EXPECT_EQ(save.SetDataType(6, 1), -1);
    EXPECT_EQ(save.SetDataType(-1, 9), -3);
    EXPECT_EQ(save.SetPixelCount(0), 0);
    EXPECT_EQ(save.SetUsingLanguage(4), 0);
    EXPECT_EQ(save.SetIOType(1), 0);
    EXPECT_EQ(save.SetIOType(0), 1);
    const auto lines = Lines(SaveAndRead(save));
    ExpectLines(lines, {{1, "EN"},
                        {7, "Integral Time(\u03bcs):100000"},
                        {8, "Avg Count:4"},
                        {9, "Smoothness:0"},
                        {10, "Data Type:(0 1)Wavelength-Delete Dark"},
                        {13, "Pixel Count:3"}});
}

TEST(SaveSingleData, LanguageChangeRewritesEveryLineWithTheSameValues) {
    CDataFileSave save;
    SetUpEnglishExample(save);
    save.SetDataType(5, 4);
    save.SetOtherInfo(L"ruby");
    ASSERT_EQ(save.SetUsingLanguage(1), 1);
    const auto lines = Lines(SaveAndRead(save));
    ExpectLines(lines, {{0, "光譜儀數據"},
                        {1, "CHT"},
                        {4, "設備名稱:D"},
                        {7, "積分時間(\u03bcs):100000"},
                        {10, "數據類型:(5 4)拉曼位移-吸光度"},
                        {11, "X軸單位:cm-1"},
                        {12, "Y軸單位:OD"},
                        {14, "保留0:250"},
                        {15, "其它描述:ruby"}});
    EXPECT_EQ(lines.back(), "+++++光譜數據結束+++++");
}

TEST(SaveSingleData, DefaultWriterLeavesValuesNotGivenAsBareLabels) {
    CDataFileSave save;
    ASSERT_EQ(save.SetPixelCount(3), 1);
    const auto lines = Lines(SaveAndRead(save));
    ExpectLines(
        lines,
        {{1, "CHS"}, {7, "积分时间(\u03bcs):"}, {10, "数据类型:(0 0)波长-原始光谱"}, {14, "保留0:150"}});
}

TEST(SaveSingleData, DataOnlyWritesPixelCountLinesAndNothingElse) {
    CDataFileSave save;
    SetUpEnglishExample(save);
    save.SetDataOnly(true);
    EXPECT_EQ(SaveAndRead(save), "500.000\t1.000\r\n501.000\t2.000\r\n502.000\t3.000\r\n");
}

// The file without its saving-time line, which follows the clock.
std::string WithoutSavingTime(const std::string& bytes) {
    const size_t start = bytes.find("Saving Time:");
    return bytes.substr(0, start) + bytes.substr(bytes.find("\r\n", start));
}

// Only a saturated spectrum's file gets the line after the end line, so
// files of unsaturated spectra stay byte for byte as they were; data-only
// files never get it, nor do series files after the count went back to 0.
TEST(SaveSingleData, SaturatedPixelsFollowTheEndLineOnlyWhenThereAreAny) {
    CDataFileSave save;
    SetUpEnglishExample(save);
    const std::string plain = WithoutSavingTime(SaveAndRead(save, "plain.txt"));
    save.SetSaturatedPixels(0);
    EXPECT_EQ(WithoutSavingTime(SaveAndRead(save, "zero.txt")), plain);
    save.SetSaturatedPixels(-3);
    EXPECT_EQ(WithoutSavingTime(SaveAndRead(save, "negative.txt")), plain);
    save.SetSaturatedPixels(1207);
    EXPECT_EQ(WithoutSavingTime(SaveAndRead(save, "clipped.txt")), plain + "# saturated pixels: 1207\r\n");
    save.SetDataOnly(true);
    EXPECT_EQ(SaveAndRead(save, "data.txt"), "500.000\t1.000\r\n501.000\t2.000\r\n502.000\t3.000\r\n");

    save.SetDataOnly(false);
    std::filesystem::create_directory("runs");
    std::wstring dir = L"runs";
    ASSERT_EQ(save.SetSavingSeqDataFileNameInfo(dir, L"S", 3), 1);
    ASSERT_EQ(save.SaveSeqData(kX, kY), 1);
    save.SetSaturatedPixels(0);
    ASSERT_EQ(save.SaveSeqData(kX, kY), 1);
    EXPECT_EQ(WithoutSavingTime(ReadBytes("runs/S000.txt")), plain + "# saturated pixels: 1207\r\n");
    EXPECT_EQ(WithoutSavingTime(ReadBytes("runs/S001.txt")), plain);
}

// A line break in a text value used to shift every header line after it.
TEST(SaveSingleData, TextValuesStayOnTheirLine) {
    CDataFileSave save;
    SetUpEnglishExample(save);
    save.SetOtherInfo(L"first\r\nsecond");
    EXPECT_EQ(Lines(SaveAndRead(save))[15], "Other Description:first  second");
}

TEST(SaveSingleData, RefusesWhatItCannotWriteAndLeavesNoPartialFile) {
    CDataFileSave save;
    EXPECT_EQ(save.SaveSingleData(L"s.txt", kX, kY), 0) << "no pixel count given";
    SetUpEnglishExample(save);
    EXPECT_EQ(save.SaveSingleData(L"missing/s.txt", kX, kY), 0);
    EXPECT_FALSE(std::filesystem::exists("missing"));
    WriteBytes("plain", "x");
    EXPECT_EQ(save.SaveSingleData(L"plain/s.txt", kX, kY), 0) << "directory part is a file";

    // The file cannot be created under its name: a directory stands there.
    std::filesystem::create_directory("taken.txt");
    EXPECT_EQ(save.SaveSingleData(L"taken.txt", kX, kY), 0);
    EXPECT_TRUE(std::filesystem::is_directory("taken.txt"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("."), {}), 2) << "leftover temporary file";

    // An existing file is replaced whole, in a subdirectory as in the working one.
    std::filesystem::create_directory("sub");
    WriteBytes("sub/s.txt", std::string(100000, 'z'));
    EXPECT_EQ(save.SaveSingleData(L"sub/s.txt", kX, kY), 1);
    EXPECT_EQ(ReadBytes("sub/s.txt").find('z'), std::string::npos);
}

}  // namespace
