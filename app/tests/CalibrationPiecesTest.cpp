// The calibration page's pieces without a window: reading the pairs, the
// fit, the standard wavelength file, the history and the table's rules.

#include <gtest/gtest.h>

#include <QFile>
#include <filesystem>

#include "BoundedFile.h"
#include "CalibrationFit.h"
#include "CalibrationHistory.h"
#include "CalibrationTableModel.h"
#include "SettingsPath.h"
#include "ShippedFile.h"
#include "StandardWavelengths.h"
#include "Utf16File.h"

namespace quenlix {
namespace {

std::vector<CalibrationRowText> Rows(std::initializer_list<std::pair<const wchar_t*, const wchar_t*>> cells) {
    std::vector<CalibrationRowText> rows;
    for (const auto& [pixel, wavelength] : cells) rows.push_back({pixel, wavelength});
    return rows;
}

TEST(CalibrationPairs, FiveFilledRowsAreNeededAndTheFirstProblemRowStopsTheReading) {
    EXPECT_EQ(ReadCalibrationPairs(Rows({{L"1", L"1"}, {L"2", L"2"}, {L"3", L"3"}, {L"4", L"4"}})).status,
              CalibrationPairs::Status::TooFew);
    const CalibrationPairs five =
        ReadCalibrationPairs(Rows({{L"1", L"1.5"}, {L"2", L"2"}, {L"3", L"3"}, {L"4", L"4"}, {L"5", L"5e2"}}));
    ASSERT_EQ(five.status, CalibrationPairs::Status::Ok);
    EXPECT_EQ(five.pixels, (std::vector<double>{1, 2, 3, 4, 5}));
    EXPECT_EQ(five.wavelengths, (std::vector<double>{1.5, 2, 3, 4, 500}));

    const struct {
        std::vector<CalibrationRowText> rows;
        CalibrationPairs::Status status;
        int row;
    } cases[] = {
        {Rows({{L"1", L"1"}, {L"2", L""}, {L"3", L"abc"}, {L"4", L"4"}, {L"5", L"5"}}),
         CalibrationPairs::Status::NotFilled, 1},
        {Rows({{L"1", L"1"}, {L"2", L"2"}, {L"3", L"abc"}, {L"4", L""}, {L"5", L"5"}}),
         CalibrationPairs::Status::Wrong, 2},
        // Within a row the wavelength's problem is the one told.
        {Rows({{L"x", L""}, {L"2", L"2"}, {L"3", L"3"}, {L"4", L"4"}, {L"5", L"5"}}),
         CalibrationPairs::Status::NotFilled, 0},
        {Rows({{L"", L"1 2"}, {L"2", L"2"}, {L"3", L"3"}, {L"4", L"4"}, {L"5", L"5"}}),
         CalibrationPairs::Status::Wrong, 0},
    };
    for (const auto& c : cases) {
        const CalibrationPairs pairs = ReadCalibrationPairs(c.rows);
        EXPECT_EQ(pairs.status, c.status);
        EXPECT_EQ(pairs.problemRow, c.row);
        EXPECT_TRUE(pairs.pixels.empty());
    }
}

TEST(CalibrationPairs, OneNumberIsOneNumber) {
    double v = 0;
    EXPECT_TRUE(ReadOneNumber(L" 1.5e-6 ", v));
    EXPECT_DOUBLE_EQ(v, 1.5e-6);
    for (const wchar_t* text : {L"", L"  ", L"1 2", L"1,5", L"abc", L"nan", L"inf", L"3x"})
        EXPECT_FALSE(ReadOneNumber(text, v)) << QString::fromWCharArray(text).toStdString();
}

TEST(CalibrationFit, FivePairsOnACubicGiveItsCoefficientsAndRSquaredOne) {
    const CubicCoefficients truth = {200.0, 0.26, -5e-6, 1e-10};
    std::vector<double> pixels = {100, 700, 1500, 2300, 3400}, wavelengths;
    for (double p : pixels) wavelengths.push_back(truth[0] + truth[1] * p + truth[2] * p * p + truth[3] * p * p * p);
    const CubicFit fit = FitCalibrationCubic(pixels, wavelengths);
    ASSERT_EQ(fit.status, CubicFit::Status::Ok);
    for (int k = 0; k < 4; ++k) EXPECT_NEAR(fit.coefficients[k], truth[k], std::abs(truth[k]) * 1e-6) << k;
    EXPECT_NEAR(fit.rSquared, 1.0, 1e-12);
}

TEST(CalibrationFit, RSquaredMeasuresTheSpreadOfTheMeasuredWavelengths) {
    // A flat line through a zigzag explains none of it: 0, where the spread
    // of the fitted values (none) would divide by zero.
    const std::vector<double> pixels = {0, 1, 2, 3}, wavelengths = {0, 1, 0, 1};
    EXPECT_DOUBLE_EQ(CoefficientOfDetermination({0.5, 0, 0, 0}, pixels, wavelengths), 0.0);
    EXPECT_DOUBLE_EQ(CoefficientOfDetermination({0, 1.0 / 3, 0, 0}, {0, 3}, {0, 1}), 1.0);
    EXPECT_DOUBLE_EQ(CoefficientOfDetermination({5, 0, 0, 0}, {1, 2}, {5, 5}), 1.0);
    EXPECT_DOUBLE_EQ(CoefficientOfDetermination({4, 0, 0, 0}, {1, 2}, {5, 5}), 0.0);
}

TEST(StandardWavelengths, RunsOfDigitsAndPointsAreTheEntriesInFileOrder) {
    EXPECT_EQ(ScanStandardWavelengths(QStringLiteral("100.23 400.56\n700.89\n")),
              (QStringList{"100.23", "400.56", "700.89"}));
    EXPECT_EQ(ScanStandardWavelengths(QStringLiteral("404.656,435.833")), (QStringList{"404.656", "435.833"}));
    EXPECT_EQ(ScanStandardWavelengths(QStringLiteral("Hg: 1..2 nm; -3")), (QStringList{"1..2", "3"}));
    EXPECT_TRUE(ScanStandardWavelengths(QString()).isEmpty());
}

// The example list is copied beside the program (and this test) at build time.
TEST(StandardWavelengths, TheShippedExampleStandsInUntilAListIsSaved) {
    const ShippedFileSearch example = FindShippedFile(kStandardWavelengthExample, ShippedKind::Data);
    ASSERT_FALSE(example.found.empty()) << "not beside the test: " << example.looked.at(1);
    const QString text = ReadStandardWavelengthText();
    const QStringList lines = ScanStandardWavelengths(text);
    EXPECT_EQ(lines.size(), 29);
    EXPECT_EQ(lines.value(0), "253.652");
    for (const char* line : {"404.656", "435.833", "546.074", "696.543", "763.511", "811.531", "912.297"})
        EXPECT_TRUE(lines.contains(line)) << line;
    EXPECT_EQ(ReadBoundedFile(example.found, 4096).bytes, Utf16FileBytes(text)) << "the program's own format";
    EXPECT_FALSE(std::filesystem::exists(SettingsPath(kStandardWavelengthFile))) << "reading copies nothing";

    ASSERT_TRUE(WriteStandardWavelengthText("546.074"));
    EXPECT_EQ(ReadStandardWavelengthText(), "546.074");
    // A saved list that cannot be read is not silently swapped for the example.
    std::filesystem::remove(SettingsPath(kStandardWavelengthFile));
    std::filesystem::create_directory(SettingsPath(kStandardWavelengthFile));
    EXPECT_TRUE(ReadStandardWavelengthText().isEmpty());
}

TEST(StandardWavelengths, TheFileIsUtf16WithItsMarkAndNeedsIt) {
    const QString text = QStringLiteral("汞 404.656\r\n435.833");
    ASSERT_TRUE(WriteStandardWavelengthText(text));
    const std::string bytes = ReadBoundedFile(SettingsPath(kStandardWavelengthFile), 4096).bytes;
    ASSERT_GE(bytes.size(), 4u);
    EXPECT_EQ(bytes.substr(0, 4), std::string("\xFF\xFE\x5E\x6C", 4));
    EXPECT_EQ(bytes.size(), 2 + 2 * static_cast<std::size_t>(text.size()));
    EXPECT_EQ(ReadStandardWavelengthText(), text);

    QFile plain(QString::fromStdString(SettingsPath(kStandardWavelengthFile)));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly | QIODevice::Truncate));
    plain.write("404.656 435.833");
    plain.close();
    EXPECT_TRUE(ReadStandardWavelengthText().isEmpty()) << "no mark, no list";
}

TEST(CalibrationHistory, RecordsAreAddedAndNeverReplaceTheFile) {
    CalibrationRecord first{QStringLiteral("2201SIM00000"), QDateTime(QDate(2026, 12, 8), QTime(10, 0)),
                            {200.0, 0.26, -5e-6, 1e-10}, {202.5, 0.261, -5e-6, 1e-10}, 0.99999};
    ASSERT_TRUE(AppendCalibrationRecord(first));
    CalibrationRecord second = first;
    second.rSquared.reset();
    ASSERT_TRUE(AppendCalibrationRecord(second));
    const std::string text = ReadBoundedFile(SettingsPath(kCalibrationHistoryFile), 1 << 16).bytes;
    EXPECT_EQ(text, (FormatCalibrationRecord(first) + FormatCalibrationRecord(second)).toStdString());
    EXPECT_NE(text.find("before:  I = 200.0000000000   C1 = 0.2600000000   C2 = -5.0000000000e-06"), std::string::npos);
    EXPECT_NE(text.find("R^2 = 0.9999900000"), std::string::npos);
    EXPECT_NE(text.find("2026-12-08T10:00:00   serial number 2201SIM00000"), std::string::npos);

    // A history that cannot be read is kept as it is, not started afresh.
    std::filesystem::remove(SettingsPath(kCalibrationHistoryFile));
    std::filesystem::create_directory(SettingsPath(kCalibrationHistoryFile));
    EXPECT_FALSE(AppendCalibrationRecord(first));
    EXPECT_TRUE(std::filesystem::is_directory(SettingsPath(kCalibrationHistoryFile)));
}

class CalibrationTable : public ::testing::Test {
protected:
    QStringList Pixels() const {
        QStringList pixels;
        for (int r = 0; r < table.Rows(); ++r) pixels += table.PixelText(r);
        return pixels;
    }
    QStringList Ids() const {
        QStringList ids;
        for (int r = 0; r < table.Rows(); ++r) ids += table.data(table.index(r, 0), Qt::DisplayRole).toString();
        return ids;
    }
    void Sync(const std::vector<double>& marks) { table.SyncWithMarkings(marks, marks); }

    CalibrationTableModel table;
};

TEST_F(CalibrationTable, InsertPutsAPixelInItsPlaceOrGivesAnExistingOneItsWavelength) {
    EXPECT_TRUE(table.Insert(100, "100", "400"));
    EXPECT_TRUE(table.Insert(200, "200", ""));
    EXPECT_TRUE(table.Insert(150, "150", "500"));
    EXPECT_EQ(Pixels(), (QStringList{"100", "150", "200"}));
    EXPECT_EQ(Ids(), (QStringList{"0", "1", "2"}));
    EXPECT_FALSE(table.Insert(150, "150", "501")) << "no second row, no second marking";
    EXPECT_EQ(Pixels(), (QStringList{"100", "150", "200"}));
    EXPECT_EQ(table.WavelengthText(1), "501");
    EXPECT_EQ(table.WavelengthText(0), "400");
}

TEST_F(CalibrationTable, SyncFollowsTheMarkingsAndKeepsWavelengthsWithTheirPixels) {
    Sync({100, 200, 300});
    EXPECT_EQ(Pixels(), (QStringList{"100", "200", "300"}));
    table.SetWavelength(0, "404.656");
    table.SetWavelength(2, "546.074");

    // The last row's marking moved left of the others.
    Sync({50, 100, 200});
    EXPECT_EQ(Pixels(), (QStringList{"50", "100", "200"}));
    EXPECT_EQ(Ids(), (QStringList{"0", "1", "2"}));
    EXPECT_EQ(table.WavelengthText(1), "404.656");
    EXPECT_EQ(table.WavelengthText(2), "") << "the moved marking's wavelength is not carried along";

    Sync({100, 150, 200, 250, 260});
    EXPECT_EQ(Pixels(), (QStringList{"100", "150", "200", "250", "260"}));
    EXPECT_EQ(table.WavelengthText(0), "404.656");
    Sync({});
    EXPECT_EQ(table.Rows(), 0);
}

TEST_F(CalibrationTable, RowsShowLineCentresButBelongToTheMarkingsPoint) {
    // A centre shows where its text still leads back to its marking's point.
    table.SyncWithMarkings({799, 923, 960}, {799.23, 923.61, 960.799});
    EXPECT_EQ(Pixels(), (QStringList{"799.23", "923.61", "960.79"}));
    EXPECT_DOUBLE_EQ(table.Pixel(1), 923.61);
    table.SyncWithMarkings({799, 923}, {799.23, 923.61});
    table.SetWavelength(1, "435.833");
    // The same markings again, and one beside them: the rows stay.
    table.SyncWithMarkings({799, 923, 924}, {799, 923, 924});
    EXPECT_EQ(Pixels(), (QStringList{"799.23", "923.61", "924"}));
    EXPECT_EQ(table.WavelengthText(1), "435.833");
}

}  // namespace
}  // namespace quenlix
