#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "DataFileLoad.h"
#include "DataFileSave.h"
#include "LocalTime.h"
#include "TestFiles.h"

using namespace scrivona_test;
namespace fs = std::filesystem;

namespace {

const double kX[] = {500, 501, 502};
const double kY[] = {1, 2, 3};

std::vector<std::string> FileNames(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// A series writer into runs/ with prefix S, ready to save.
class SeriesTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directory("runs");
        save_.SetUsingLanguage(2);
        save_.SetPixelCount(3);
        std::wstring dir = L"runs";
        ASSERT_EQ(save_.SetSavingSeqDataFileNameInfo(dir, L"S", 3), 1);
    }

    std::uint32_t now_ = 5000;
    CDataFileSave save_{[this] { return now_; }};
};

TEST_F(SeriesTest, SerialNumbersArePaddedToTheFillCountAndNeverCut) {
    ASSERT_EQ(save_.ResetSerNum(998), 1);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(save_.SaveSeqData(kX, kY), 1);
    EXPECT_EQ(FileNames("runs"), (std::vector<std::string>{"S1000.txt", "S998.txt", "S999.txt"}));
    EXPECT_EQ(ReadBytes("runs/S999.txt").substr(0, 19), "Spectrometer Data\r\n");
    EXPECT_EQ(save_.ResetSerNum(-1), 0);

    fs::remove_all("runs");
    fs::create_directory("runs");
    ASSERT_EQ(save_.ResetSerNum(7), 1);
    save_.SaveSeqData(kX, kY);
    EXPECT_EQ(FileNames("runs"), std::vector<std::string>{"S007.txt"});
}

TEST_F(SeriesTest, SetupRefusesBadFillCountsAndDirectories) {
    std::wstring dir = L"runs/";
    EXPECT_EQ(save_.SetSavingSeqDataFileNameInfo(dir, L"T", 0), -2);
    EXPECT_EQ(save_.SetSavingSeqDataFileNameInfo(dir, L"T", 10), -2);
    EXPECT_EQ(dir, L"runs/");
    save_.ResetSerNum(4);
    save_.SaveSeqData(kX, kY);  // prefix T stored, fill count 3 kept
    EXPECT_TRUE(fs::exists("runs/T004.txt"));

    std::wstring empty, missing = L"nowhere/", file = L"runs/T004.txt", twice = L"runs//";
    EXPECT_EQ(save_.SetSavingSeqDataFileNameInfo(empty, L"S", 5), -1);
    EXPECT_EQ(save_.SetSavingSeqDataFileNameInfo(missing, L"S", 5), -1);
    EXPECT_EQ(missing, L"nowhere/");
    EXPECT_EQ(save_.SetSavingSeqDataFileNameInfo(file, L"S", 5), -1);
    EXPECT_EQ(save_.SetSavingSeqDataFileNameInfo(twice, L"S", 5), 1);
    EXPECT_EQ(twice, L"runs/");
    EXPECT_FALSE(fs::exists("nowhere"));
}

TEST_F(SeriesTest, NamesCarryTheTimeOfSavingWhenAsked) {
    save_.SetSavingSeqDataFileNameIncludeTime(true, false);
    save_.SaveSeqData(kX, kY);
    save_.SetSavingSeqDataFileNameIncludeTime(true, true);
    save_.SaveSeqData(kX, kY);
    save_.SetSavingSeqDataFileNameIncludeTime(false, true);
    save_.SaveSeqData(kX, kY);
    const auto names = FileNames("runs");
    ASSERT_EQ(names.size(), 3u);
    EXPECT_TRUE(HasShape(names[0], "S000_999999.txt")) << names[0];
    EXPECT_TRUE(HasShape(names[1], "S001_999999(999).txt")) << names[1];
    EXPECT_EQ(names[2], "S002.txt");
}

TEST_F(SeriesTest, IntervalCountSavesOneFrameAfterEverySkippedRun) {
    ASSERT_EQ(save_.SetSavingByIntervalCount(-1), 0);
    ASSERT_EQ(save_.SetSavingByIntervalCount(2), 1);
    std::vector<int> results;
    for (int frame = 1; frame <= 6; ++frame) results.push_back(save_.SaveSeqData(kX, kY));
    EXPECT_EQ(results, (std::vector<int>{0, 0, 1, 0, 0, 1}));
    EXPECT_EQ(FileNames("runs"), (std::vector<std::string>{"S000.txt", "S001.txt"}));
}

TEST_F(SeriesTest, IntervalTimeSavesAtMostOneFramePerInterval) {
    ASSERT_EQ(save_.SetSavingByIntervalTime(9), 0);
    ASSERT_EQ(save_.SetSavingByIntervalTime(1000), 1);
    std::vector<int> results;
    for (std::uint32_t at : {0u, 400u, 900u, 1000u, 1999u, 2000u}) {
        now_ = 5000 + at;
        results.push_back(save_.SaveSeqData(kX, kY));
    }
    EXPECT_EQ(results, (std::vector<int>{1, 0, 0, 1, 0, 1}));

    // The millisecond tick wraps around after 49 days.
    now_ = 0xFFFFFF00u;
    ASSERT_EQ(save_.SetSavingByIntervalTime(1000), 1);
    EXPECT_EQ(save_.SaveSeqData(kX, kY), 1);
    now_ = 0xFFFFFF00u + 999u;
    EXPECT_EQ(save_.SaveSeqData(kX, kY), 0);
    now_ = 0xFFFFFF00u + 1000u;
    EXPECT_EQ(save_.SaveSeqData(kX, kY), 1);
    save_.SetSavingEveryFrame();
    EXPECT_EQ(save_.SaveSeqData(kX, kY), 1);
}

TEST_F(SeriesTest, FrameNumberOverloadIgnoresARepeatedFrame) {
    save_.SetSavingByIntervalCount(1);
    EXPECT_EQ(save_.SaveSeqData(10L, kX, kY), 1);  // skipped by the interval rule, still accepted
    EXPECT_EQ(save_.SaveSeqData(10L, kX, kY), 0);
    EXPECT_EQ(save_.SaveSeqData(11L, kX, kY), 1);
    EXPECT_EQ(FileNames("runs"), std::vector<std::string>{"S000.txt"});
}

// A write that fails is reported, never counted as saved; its number is used up.
TEST_F(SeriesTest, FailedWriteIsReported) {
    EXPECT_EQ(save_.LastSeqFilePath(), L"");
    fs::create_directory("runs/S000.txt");
    EXPECT_EQ(save_.SaveSeqData(kX, kY), 0);
    EXPECT_EQ(save_.LastSeqFilePath(), L"runs/S000.txt");
    EXPECT_EQ(save_.SaveSeqData(kX, kY), 1);
    EXPECT_EQ(save_.LastSeqFilePath(), L"runs/S001.txt");
    EXPECT_TRUE(fs::is_regular_file("runs/S001.txt"));
    EXPECT_EQ(FileNames("runs").size(), 2u) << "leftover temporary file";
}

// Callers size their arrays by the first file of the directory: a later
// file with more pixels would write past them.
TEST_F(SeriesTest, DirectoryLoadingGoesByNameAndNeverOverrunsTheFirstFilesSize) {
    save_.SaveSeqData(kX, kY);
    const double y2[] = {4, 5, 6};
    save_.SaveSeqData(kX, y2);
    save_.SetPixelCount(5);
    const double x5[] = {1, 2, 3, 4, 5};
    save_.SaveSeqData(x5, x5);  // passed over
    save_.SetPixelCount(2);
    save_.SaveSeqData(x5, x5);
    WriteBytes("runs/S001b.txt", "not a spectrum");  // passed over
    WriteBytes("runs/notes.dat", "not listed");

    CDataFileLoad load;
    EXPECT_EQ(load.SetLoadingSeqDataFileDir(L"runs/"), 1);
    double x[4] = {}, y[4] = {};
    x[3] = y[3] = -99;
    ASSERT_EQ(load.LoadSeqData(x, y), 1);
    EXPECT_EQ(y[2], 3);
    ASSERT_EQ(load.LoadSeqData(nullptr, nullptr), 1);
    EXPECT_EQ(load.GetPixelCount(), 3);
    ASSERT_EQ(load.LoadSingleData(x, y), 1);
    EXPECT_EQ(y[2], 6);
    ASSERT_EQ(load.LoadSeqData(x, y), 1);
    EXPECT_EQ(load.GetPixelCount(), 2);
    EXPECT_EQ(y[1], 2);
    EXPECT_EQ(x[3], -99);
    EXPECT_EQ(y[3], -99);
    EXPECT_EQ(load.LoadSeqData(x, y), 0);
    EXPECT_EQ(load.LoadSeqData(x, y), 0);

    // A new directory search goes by its own first file.
    fs::create_directory("big");
    fs::copy_file("runs/S002.txt", "big/S002.txt");
    EXPECT_EQ(load.SetLoadingSeqDataFileDir(L"big"), 1);
    ASSERT_EQ(load.LoadSeqData(nullptr, nullptr), 1);
    EXPECT_EQ(load.GetPixelCount(), 5);

    fs::create_directory("none");
    EXPECT_EQ(load.SetLoadingSeqDataFileDir(L"none"), 0);
    EXPECT_EQ(load.SetLoadingSeqDataFileDir(L""), 0);
    EXPECT_EQ(load.SetLoadingSeqDataFileDir(L"runs/S000.txt"), 0);
    EXPECT_EQ(load.LoadSeqData(x, y), 0);
}

}  // namespace

// Series files record their saving time as text; the difference of two
// read back is the time between them, across a midnight, a month's end and
// a leap day.
TEST(SavingTime, ReadBackGivesTheSecondsBetweenFiles) {
    const auto before = scrivona::SavingTimeSeconds(L"Wed, Feb 28, 2024 23:59:58");
    const auto after = scrivona::SavingTimeSeconds(L"Fri, Mar 01, 2024 00:00:03");
    ASSERT_TRUE(before && after);
    EXPECT_EQ(*after - *before, 86400 + 5);
    EXPECT_EQ(scrivona::SavingTimeSeconds(L"Thu, Jan 01, 1970 00:00:00"), 0);
    EXPECT_EQ(scrivona::SavingTimeSeconds(L"Sat, Jun 20, 2020 14:03:05"), 1592661785);
    for (const wchar_t* bad : {L"", L"Sat, Jux 20, 2020 14:03:05", L"Sat, Jun 20, 2020 24:03:05",
                               L"Sat, Jun 20, 2020 14:03:05 extra", L"Sat, Jun 20 2020 14:03:05"})
        EXPECT_FALSE(scrivona::SavingTimeSeconds(bad)) << std::wstring(bad).size();
}
