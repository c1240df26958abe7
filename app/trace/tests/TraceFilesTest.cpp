#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "TraceBandFile.h"
#include "TraceCsv.h"
#include "TraceRecord.h"

using namespace quenlix;

namespace {

std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace

TEST(TraceCsv, HeaderNamesEachBandAndRowsKeepTheirDigits) {
    const std::vector<TraceBand> bands = {{690, 700, BandQuantity::Integral},
                                          {692, 697, BandQuantity::PeakCentre},
                                          {1, 2, BandQuantity::Ratio, 0},
                                          {692, 697, BandQuantity::RubyPressure}};
    TraceRecord record(4);
    const double first[] = {123456.789012, 694.2512345678, 0.5, NAN};
    const double second[] = {1e10, 694.3, -2.25e-7, 12.3456789123};
    record.Append(0, 17, first);
    record.Append(3600.12349, 18, second);
    const std::string csv = FormatTraceCsv(bands, 0, record);
    EXPECT_EQ(csv,
              "time_s,frame,band1_integral,band2_centre_nm,band3_ratio_band1,band4_pressure_GPa\n"
              "0.000,17,123456.789,694.251235,0.5,\n"
              "3600.123,18,1e+10,694.3,-2.25e-07,12.3456789\n");

    // Micrometres name their unit; a record with fewer columns than bands
    // writes only the columns it has.
    TraceRecord one(1);
    one.Append(1.5, 2, first);
    EXPECT_EQ(FormatTraceCsv({{0.69, 0.7, BandQuantity::Fwhm}, bands[0]}, 1, one),
              "time_s,frame,band1_fwhm_um\n1.500,2,123456.789\n");

    ASSERT_TRUE(WriteTraceCsv("trace.csv", bands, 0, record));
    EXPECT_EQ(FileBytes("trace.csv"), csv);
    EXPECT_FALSE(WriteTraceCsv("no such folder/trace.csv", bands, 0, record));
}

// Growing past what was reserved must keep every column whole and in step.
TEST(TraceRecord, KeepsEveryPointThroughGrowthAndStartsAfreshOnReset) {
    TraceRecord record(2);
    constexpr int kPoints = 40000;
    for (int i = 0; i < kPoints; ++i) {
        const double values[] = {i * 2.0, -i * 1.0};
        record.Append(i * 0.1, i + 5, values);
    }
    ASSERT_EQ(record.Size(), static_cast<std::size_t>(kPoints));
    for (int i : {0, 16383, 16384, kPoints - 1}) {
        const auto at = static_cast<std::size_t>(i);
        EXPECT_EQ(record.Frames()[at], i + 5);
        EXPECT_DOUBLE_EQ(record.Seconds()[at], i * 0.1);
        EXPECT_EQ(record.Values(0)[at], i * 2.0);
        EXPECT_EQ(record.Values(1)[at], -i * 1.0);
    }
    record.Reset(9);
    EXPECT_EQ(record.Size(), 0u);
    EXPECT_EQ(record.BandCount(), kMaxTraceBands);
    EXPECT_TRUE(record.Values(1).empty());
}

TEST(TraceBandFile, BandsComeBackAsTheyWereSaved) {
    const TraceBandSet set{4, {{1000, 1200.5, BandQuantity::Integral},
                               {0.1, 0.30000000000000004, BandQuantity::PeakHeight},
                               {-5, 7, BandQuantity::Ratio, 0},
                               {1e-7, 2e20, BandQuantity::RubyPressure}}};
    ASSERT_TRUE(SaveTraceBands(set));
    EXPECT_EQ(FileBytes("config/trace bands.txt"),
              "x-unit 4\n"
              "integral 1000 1200.5 -1\n"
              "height 0.1 0.30000000000000004 -1\n"
              "ratio -5 7 0\n"
              "pressure 1e-07 2e+20 -1\n");
    EXPECT_EQ(LoadTraceBands(), set);

    // Lines ending in CR LF, and blank lines, read the same.
    WriteBytes("config/trace bands.txt", "x-unit 0\r\n\r\ncentre 690 700 -1\r\nfwhm 1 2 -1\r\n");
    EXPECT_EQ(LoadTraceBands(), (TraceBandSet{0, {{690, 700, BandQuantity::PeakCentre}, {1, 2, BandQuantity::Fwhm}}}));
}

TEST(TraceBandFile, AMissingOrDamagedFileGivesNoBands) {
    EXPECT_TRUE(LoadTraceBands().bands.empty()) << "missing";
    const char* damaged[] = {
        "",
        "integral 1 2 -1\n",                         // no unit line
        "x-unit 6\nintegral 1 2 -1\n",               // unknown unit
        "x-unit 0\nintegral 1 2\n",                  // a field short
        "x-unit 0\nintegral 1 2 -1 9\n",             // a field too many
        "x-unit 0\nintegral 1,5 2 -1\n",             // a comma decimal
        "x-unit 0\narea 1 2 -1\n",                   // unknown quantity
        "x-unit 0\nintegral 2 1 -1\n",               // reversed
        "x-unit 0\nintegral nan 1 -1\n",             // not a number
        "x-unit 0\nratio 1 2 0\n",                   // ratio to itself
        "x-unit 0\nintegral 1 2 -1\nintegral 1 2 -1\nintegral 1 2 -1\nintegral 1 2 -1\nintegral 1 2 -1\n",
        "x-unit 0\nx-unit 0\nintegral 1 2 -1\n",     // a second unit line
    };
    for (const char* text : damaged) {
        WriteBytes("config/trace bands.txt", text);
        EXPECT_TRUE(LoadTraceBands().bands.empty()) << text;
    }
    WriteBytes("config/trace bands.txt", "x-unit 0\nintegral 1 2 -1\n" + std::string(8000, '\n'));
    EXPECT_TRUE(LoadTraceBands().bands.empty()) << "larger than any band file";
    std::filesystem::remove("config/trace bands.txt");
    std::filesystem::create_directories("config/trace bands.txt");
    EXPECT_TRUE(LoadTraceBands().bands.empty()) << "a folder";
}
