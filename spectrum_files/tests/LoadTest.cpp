#include <gtest/gtest.h>
#include <iconv.h>
#include <sys/stat.h>

#include <filesystem>
#include <vector>

#include "DataFileLoad.h"
#include "DataFileSave.h"
#include "Deadline.h"
#include "TestFiles.h"

using namespace scrivona_test;

namespace {

const double kX[] = {500.125, 501.5, 502.75, 503};
const double kY[] = {1, -2.5, 3000.25, 0};

void SaveSample(int language, const std::wstring& path, int saturatedPixels = 0) {
    CDataFileSave save;
    save.SetSaturatedPixels(saturatedPixels);
    save.SetUsingLanguage(language);
    save.SetPixelCount(4);
    save.SetDataType(2, 4);
    save.SetDeviceInfo(L"Nova 设备", L"V1.2", L"SN-42");
    save.SetSpectrumInfo(2500, 8, 3);
    save.SetReverse0(-7);
    save.SetOtherInfo(L"ruby: R1");
    ASSERT_EQ(save.SaveSingleData(path, kX, kY), 1);
}

std::string Convert(const std::string& utf8, const char* encoding) {
    iconv_t cd = iconv_open(encoding, "UTF-8");
    std::string out(utf8.size() * 4, '\0');
    char* in = const_cast<char*>(utf8.data());
    char* to = out.data();
    size_t inLeft = utf8.size(), outLeft = out.size();
    EXPECT_NE(iconv(cd, &in, &inLeft, &to, &outLeft), static_cast<size_t>(-1));
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    return out;
}

void ExpectSample(const std::wstring& path) {
    SCOPED_TRACE(std::string(path.begin(), path.end()));
    CDataFileLoad load;
    ASSERT_EQ(load.SetLoadingSingleDataFilePath(path), 1);
    ASSERT_EQ(load.GetPixelCount(), 4);
    int xType = -1, yType = -1;
    load.GetDataType(xType, yType);
    EXPECT_EQ(xType, 2);
    EXPECT_EQ(yType, 4);
    EXPECT_EQ(load.GetDeviceName(), L"Nova 设备");
    EXPECT_EQ(load.GetVersionInfo(), L"V1.2");
    EXPECT_EQ(load.GetSerialNumber(), L"SN-42");
    EXPECT_EQ(load.GetOtherInfo(), L"ruby: R1");
    EXPECT_EQ(load.GetSavingTime().size(), 26u);
    EXPECT_EQ(load.GetIntegralTimeMus(), 2500);
    EXPECT_EQ(load.GetAvgCount(), 8);
    EXPECT_EQ(load.GetSmoothness(), 3);
    EXPECT_EQ(load.GetReverse0(), -7);
    std::vector<double> x(4), y(4);
    EXPECT_EQ(load.LoadSingleData(x.data(), y.data()), 1);
    // Three decimals are written: the values come back rounded to them.
    EXPECT_EQ(x, (std::vector<double>{500.125, 501.5, 502.75, 503}));
    EXPECT_EQ(y, (std::vector<double>{1, -2.5, 3000.25, 0}));
}

TEST(LoadSingleData, ReadsTheSameSpectrumInEveryHeaderLanguageAndEncoding) {
    SaveSample(2, L"english.txt");
    SaveSample(0, L"chinese.txt");
    SaveSample(3, L"japanese.txt");
    const std::string chinese = ReadBytes("chinese.txt");
    WriteBytes("gb18030.txt", Convert(chinese, "GB18030"));
    WriteBytes("utf16.txt", "\xFF\xFE" + Convert(chinese, "UTF-16LE"));
    ASSERT_NE(ReadBytes("gb18030.txt"), chinese) << "the sample must hold non-ASCII text";
    for (const wchar_t* path :
         {L"english.txt", L"chinese.txt", L"japanese.txt", L"gb18030.txt", L"utf16.txt"}) {
        ExpectSample(path);
    }
}

// The line a saturated spectrum's file carries after the end line is no
// data and no header: single and series loading read such files as the same
// file without it, in every language and encoding.
TEST(LoadSingleData, TheSaturationLineAfterTheEndChangesNothingRead) {
    SaveSample(2, L"english.txt", 35);
    SaveSample(0, L"chinese.txt", 35);
    const std::string chinese = ReadBytes("chinese.txt");
    ASSERT_EQ(chinese.substr(chinese.size() - 24), "# saturated pixels: 35\r\n");
    WriteBytes("gb18030.txt", Convert(chinese, "GB18030"));
    WriteBytes("utf16.txt", "\xFF\xFE" + Convert(chinese, "UTF-16LE"));
    for (const wchar_t* path : {L"english.txt", L"chinese.txt", L"gb18030.txt", L"utf16.txt"}) ExpectSample(path);

    std::filesystem::create_directory("series");
    SaveSample(2, L"series/S000.txt");
    SaveSample(0, L"series/S001.txt", 1);
    SaveSample(2, L"series/S002.txt", 4);
    CDataFileLoad load;
    ASSERT_EQ(load.SetLoadingSeqDataFileDir(L"series"), 1);
    for (int file = 0; file < 3; ++file) {
        SCOPED_TRACE(file);
        std::vector<double> x(4), y(4);
        ASSERT_EQ(load.LoadSeqData(x.data(), y.data()), 1) << "a saturated file is no less a spectrum";
        EXPECT_EQ(load.GetPixelCount(), 4);
        EXPECT_EQ(load.GetReverse0(), -7);
        EXPECT_EQ(x, (std::vector<double>{500.125, 501.5, 502.75, 503}));
        EXPECT_EQ(y, (std::vector<double>{1, -2.5, 3000.25, 0}));
    }
    EXPECT_EQ(load.LoadSeqData(nullptr, nullptr), 0);
}

TEST(LoadSingleData, TakesTypeCodesWithCommaOrBlankAndToleratesOddSpacing) {
    SaveSample(2, L"s.txt");
    std::string text = ReadBytes("s.txt");
    text.replace(text.find("(2 4)"), 5, "(3,5)");
    // Blank lines and LF-only ends, as hand-edited files have them.
    text.replace(text.find("\r\nVersion"), 2, "\n\r\n\n");
    WriteBytes("comma.txt", text);
    CDataFileLoad load;
    ASSERT_EQ(load.SetLoadingSingleDataFilePath(L"comma.txt"), 1);
    int xType = 0, yType = 0;
    load.GetDataType(xType, yType);
    EXPECT_EQ(xType, 3);
    EXPECT_EQ(yType, 5);
    EXPECT_EQ(load.GetVersionInfo(), L"V1.2");
}

TEST(LoadSingleData, UnscannableValuesKeepThePreviousOnes) {
    SaveSample(2, L"s.txt");
    std::string text = ReadBytes("s.txt");
    text.replace(text.find("Avg Count:8"), 11, "Avg Count:many");
    text.replace(text.find("(2 4)"), 5, "(9 9)");  // no such type codes
    text.replace(text.find("Serial Number:"), 14, "Serial Number ");
    WriteBytes("odd.txt", text);
    CDataFileLoad load;
    ASSERT_EQ(load.SetLoadingSingleDataFilePath(L"odd.txt"), 1);
    EXPECT_EQ(load.GetAvgCount(), 0);
    EXPECT_EQ(load.GetSerialNumber(), L"");
    int xType = -1, yType = -1;
    load.GetDataType(xType, yType);
    EXPECT_EQ(xType, 0);
    EXPECT_EQ(yType, 0);

    ASSERT_EQ(load.SetLoadingSingleDataFilePath(L"s.txt"), 1);
    ASSERT_EQ(load.SetLoadingSingleDataFilePath(L"odd.txt"), 1);
    EXPECT_EQ(load.GetAvgCount(), 8);
    EXPECT_EQ(load.GetSerialNumber(), L"SN-42");
}

TEST(LoadSingleData, RefusalLeavesTheLastSpectrum) {
    CDataFileLoad load;
    double x[4] = {}, y[4] = {};
    EXPECT_EQ(load.SetLoadingSingleDataFilePath(L"absent.txt"), 0);
    EXPECT_EQ(load.LoadSingleData(x, y), 0) << "nothing read yet";
    EXPECT_EQ(load.GetReverse0(), 150);

    SaveSample(2, L"s.txt");
    ASSERT_EQ(load.SetLoadingSingleDataFilePath(L"s.txt"), 1);
    CDataFileSave dataOnly;
    dataOnly.SetPixelCount(30);
    dataOnly.SetDataOnly(true);
    std::vector<double> many(30, 7.0);
    ASSERT_EQ(dataOnly.SaveSingleData(L"data.txt", many.data(), many.data()), 1);
    EXPECT_EQ(load.SetLoadingSingleDataFilePath(L"data.txt"), 0) << "a data-only file has no header";
    EXPECT_EQ(load.SetLoadingSingleDataFilePath(L"."), 0) << "a directory";
    EXPECT_EQ(load.GetPixelCount(), 4);
    EXPECT_EQ(load.GetDeviceName(), L"Nova 设备");
    EXPECT_EQ(load.LoadSingleData(x, y), 1);
    EXPECT_EQ(y[2], 3000.25);
}

// A FIFO blocked the open and /dev/zero was read until the size limit.
TEST(LoadSingleData, FifosAndDevicesAreRefusedAtOnce) {
    ASSERT_EQ(::mkfifo("pipe.txt", 0600), 0);
    std::filesystem::create_symlink("/dev/zero", "zeros.txt");
    for (const wchar_t* path : {L"pipe.txt", L"zeros.txt"}) {
        const auto result = quenlix::testing::ResultWithin(std::chrono::milliseconds(2000), [path] {
            CDataFileLoad load;
            return load.SetLoadingSingleDataFilePath(path);
        });
        ASSERT_TRUE(result.has_value()) << "still reading after 2 s";
        EXPECT_EQ(*result, 0);
    }
}

}  // namespace
