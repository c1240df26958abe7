#include <gtest/gtest.h>

#include <charconv>
#include <clocale>
#include <cmath>
#include <filesystem>
#include <limits>
#include <map>
#include <random>

#include "SpectrumExport.h"
#include "TestFiles.h"

using namespace scrivona;
using namespace scrivona_test;

namespace {

// A reader written apart from the writers: it knows the formats, not the code.
double Number(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    double value = std::numeric_limits<double>::quiet_NaN();
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    EXPECT_TRUE(result.ec == std::errc() && result.ptr == text.data() + text.size()) << "not a number: " << text;
    return value;
}

std::vector<std::string> SplitLines(const std::string& text, const std::string& end) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t stop; (stop = text.find(end, start)) != std::string::npos; start = stop + end.size())
        lines.push_back(text.substr(start, stop - start));
    EXPECT_EQ(start, text.size()) << "the last line has its end";
    return lines;
}

struct ReadBack {
    std::vector<std::pair<std::string, std::string>> labels;  // in file order
    std::vector<double> x, y;
    std::string Label(const std::string& name) const {
        for (const auto& [label, value] : labels)
            if (label == name) return value;
        ADD_FAILURE() << "no label " << name;
        return {};
    }
};

void ReadPair(const std::string& line, char separator, ReadBack& file) {
    const size_t split = line.find(separator);
    ASSERT_NE(split, std::string::npos) << line;
    file.x.push_back(Number(std::string_view(line).substr(0, split)));
    file.y.push_back(Number(std::string_view(line).substr(split + 1)));
}

ReadBack ReadCsv(const std::string& text) {
    ReadBack file;
    for (const std::string& line : SplitLines(text, "\n")) {
        if (line.rfind("# ", 0) == 0) {
            const size_t colon = line.find(": ");
            EXPECT_NE(colon, std::string::npos) << line;
            file.labels.emplace_back(line.substr(2, colon - 2), line.substr(colon + 2));
        } else {
            ReadPair(line, ',', file);
        }
    }
    return file;
}

// Reads a JCAMP-DX file and checks it against the format's rules as it goes.
ReadBack ReadJcampDx(const std::string& text) {
    ReadBack file;
    bool inTable = false;
    for (const std::string& line : SplitLines(text, "\r\n")) {
        EXPECT_LE(line.size(), 80u) << line;
        for (const char c : line) EXPECT_TRUE(c >= 0x20 && c < 0x7F) << "not printable ASCII: " << line;
        if (line.rfind("##", 0) == 0) {
            const size_t equals = line.find('=');
            EXPECT_NE(equals, std::string::npos) << line;
            file.labels.emplace_back(line.substr(2, equals - 2), line.substr(equals + 1));
            inTable = file.labels.back().first == "XYPOINTS";
        } else {
            EXPECT_TRUE(inTable) << "data outside the table: " << line;
            ReadPair(line, ',', file);
        }
    }
    return file;
}

// The labels a reader needs, in this order; others may come between them.
void ExpectRequiredLabelsInOrder(const ReadBack& file) {
    const std::vector<std::string> required = {
        "TITLE",  "JCAMP-DX", "DATA TYPE", "ORIGIN",  "OWNER",   "LONGDATE", "XUNITS",   "YUNITS",
        "FIRSTX", "LASTX",    "NPOINTS",   "XFACTOR", "YFACTOR", "XYPOINTS", "END"};
    ASSERT_FALSE(file.labels.empty());
    EXPECT_EQ(file.labels.front().first, "TITLE");
    EXPECT_EQ(file.labels.back().first, "END");
    size_t next = 0;
    for (const auto& label : file.labels)
        if (next < required.size() && label.first == required[next]) ++next;
    EXPECT_EQ(next, required.size()) << "missing or out of order: " << required[std::min(next, required.size() - 1)];
}

class Export : public ::testing::Test {
protected:
    Export() {
        std::mt19937 random(7);
        std::uniform_real_distribution<double> counts(-200, 65535);
        for (int i = 0; i < 2048; ++i) {
            x.push_back(340 + i * 0.3712345678);
            y.push_back(counts(random));
        }
        spectrum.deviceName = L"Velmora";
        spectrum.serialNumber = L"VM2041187";
        spectrum.versionInfo = L"3.2.1";
        spectrum.integrationMs = 12.7;
        spectrum.avgCount = 4;
        spectrum.smoothness = 2;
        spectrum.yType = 1;
        spectrum.isoDateTime = "2026-12-08T10:00:05+01:00";
        spectrum.x = x.data();
        spectrum.y = y.data();
        spectrum.count = static_cast<int>(x.size());
    }

    // Every value back to the three decimals of the file (and no further).
    void ExpectValues(const ReadBack& file, double xStep, double yStep, double yScale = 1) const {
        ASSERT_EQ(file.x.size(), x.size());
        ASSERT_EQ(file.y.size(), y.size());
        for (size_t i = 0; i < x.size(); ++i) {
            ASSERT_NEAR(file.x[i], x[i], xStep / 2 * (1 + 1e-9)) << i;
            ASSERT_NEAR(file.y[i], y[i] * yScale, yStep / 2 * (1 + 1e-9)) << i;
        }
    }

    std::vector<double> x, y;
    ExportedSpectrum spectrum;
};

TEST_F(Export, CsvHeaderSaysWhatTheDeviceDidAndTheValuesReadBack) {
    const ReadBack file = ReadCsv(FormatCsv(spectrum));
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"device", "Velmora"},      {"serial number", "VM2041187"},
        {"firmware", "3.2.1"},      {"integration time (ms)", "12.7"},
        {"averaging", "4"},         {"smoothing", "2"},
        {"x", "wavelength"},        {"x unit", "nm"},
        {"y", "dark-subtracted counts"}, {"y unit", "counts"},
        {"date", "2026-12-08T10:00:05+01:00"}};
    EXPECT_EQ(file.labels, expected);
    ExpectValues(file, 1e-3, 1e-3);

    spectrum.xType = 5;
    spectrum.excitationNm = 532.1;
    EXPECT_EQ(ReadCsv(FormatCsv(spectrum)).Label("excitation (nm)"), "532.1");
    spectrum.deviceName = L"two\r\nlines";
    EXPECT_EQ(ReadCsv(FormatCsv(spectrum)).Label("device"), "two  lines");
}

TEST_F(Export, JcampDxFollowsTheRulesLineByLineAndTheValuesReadBack) {
    const std::string text = FormatJcampDx(spectrum);
    const ReadBack file = ReadJcampDx(text);
    ExpectRequiredLabelsInOrder(file);
    EXPECT_EQ(file.Label("TITLE"), "Velmora VM2041187: dark-subtracted counts");
    EXPECT_EQ(file.Label("JCAMP-DX"), "5.01");
    EXPECT_EQ(file.Label("DATA TYPE"), "UV/VIS SPECTRUM");
    EXPECT_EQ(file.Label("DATE"), "26/12/08");
    EXPECT_EQ(file.Label("LONGDATE"), "2026/12/08 10:00:05");
    EXPECT_EQ(file.Label("XUNITS"), "NANOMETERS");
    EXPECT_EQ(file.Label("YUNITS"), "COUNTS");
    EXPECT_EQ(file.Label("$QUENLIX INTEGRATION TIME (MS)"), "12.7");
    EXPECT_EQ(file.Label("$QUENLIX AVERAGE COUNT"), "4");
    EXPECT_EQ(file.Label("$QUENLIX SMOOTHNESS"), "2");
    EXPECT_EQ(file.Label("$QUENLIX SERIAL NUMBER"), "VM2041187");
    EXPECT_EQ(file.Label("XYPOINTS"), "(XY..XY)");
    EXPECT_EQ(file.Label("XFACTOR"), "1");
    EXPECT_EQ(file.Label("YFACTOR"), "1");
    EXPECT_EQ(Number(file.Label("NPOINTS")), static_cast<double>(file.x.size()));
    EXPECT_EQ(Number(file.Label("FIRSTX")), file.x.front());
    EXPECT_EQ(Number(file.Label("LASTX")), file.x.back());
    ExpectValues(file, 1e-3, 1e-3);
}

// Each axis code has its unit; micrometres keep the nanometre step, per cent
// becomes a fraction and the natural absorbance a decadic one.
// Saturated pixels join the metadata only when there are any, so exports of
// unsaturated spectra stay as they were.
TEST_F(Export, SaturatedPixelsAreToldOnlyWhenThereAreAny) {
    const std::string csv = FormatCsv(spectrum);
    const std::string jcamp = FormatJcampDx(spectrum);
    EXPECT_EQ(csv.find("saturated"), std::string::npos);
    EXPECT_EQ(jcamp.find("SATURATED"), std::string::npos);
    spectrum.saturatedPixels = 35;
    const ReadBack csvFile = ReadCsv(FormatCsv(spectrum));
    EXPECT_EQ(csvFile.Label("saturated pixels"), "35");
    EXPECT_EQ(csvFile.labels.size(), ReadCsv(csv).labels.size() + 1);
    ExpectValues(csvFile, 1e-3, 1e-3);
    const ReadBack jcampFile = ReadJcampDx(FormatJcampDx(spectrum));
    ExpectRequiredLabelsInOrder(jcampFile);
    EXPECT_EQ(jcampFile.Label("$QUENLIX SATURATED PIXELS"), "35");
    ExpectValues(jcampFile, 1e-3, 1e-3);
}

TEST_F(Export, EveryAxisCodeHasItsUnitsAndKeepsItsPrecision) {
    const char* xUnits[] = {"NANOMETERS", "MICROMETERS", "PIXELS", "GHZ", "1/CM", "1/CM"};
    const char* yUnits[] = {"COUNTS", "COUNTS", "TRANSMITTANCE", "REFLECTANCE", "ABSORBANCE", "DECIBELS"};
    for (int type = 0; type < 6; ++type) {
        spectrum.xType = spectrum.yType = type;
        const ReadBack file = ReadJcampDx(FormatJcampDx(spectrum));
        EXPECT_EQ(file.Label("XUNITS"), xUnits[type]);
        EXPECT_EQ(file.Label("YUNITS"), yUnits[type]);
        EXPECT_EQ(file.Label("DATA TYPE"), type == 5 ? "RAMAN SPECTRUM" : "UV/VIS SPECTRUM");
        const bool perCent = type == 2 || type == 3;
        const double yScale = perCent ? 0.01 : type == 4 ? 1 / std::log(10.0) : 1;
        ExpectValues(file, type == 1 ? 1e-6 : 1e-3, perCent ? 1e-5 : type == 4 ? 1e-4 : 1e-3, yScale);
        ExpectValues(ReadCsv(FormatCsv(spectrum)), type == 1 ? 1e-6 : 1e-3, 1e-3);
    }
}

// The files do not change with the user's decimal comma.
TEST_F(Export, NumbersUseAPointUnderACommaLocale) {
    const std::string csv = FormatCsv(spectrum), jcamp = FormatJcampDx(spectrum);
    const std::string before = std::setlocale(LC_NUMERIC, nullptr);
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) GTEST_SKIP() << "no de_DE.UTF-8 locale here";
    char probe[8];
    std::snprintf(probe, sizeof probe, "%.1f", 1.5);
    const std::string commaCsv = FormatCsv(spectrum), commaJcamp = FormatJcampDx(spectrum);
    std::setlocale(LC_NUMERIC, before.c_str());
    ASSERT_STREQ(probe, "1,5") << "the locale does use a comma";
    EXPECT_EQ(commaCsv, csv);
    EXPECT_EQ(commaJcamp, jcamp);
}

TEST_F(Export, FilesAreWrittenWholeOrNotAtAll) {
    ASSERT_TRUE(WriteCsvFile(L"s.csv", spectrum));
    EXPECT_EQ(ReadBytes("s.csv"), FormatCsv(spectrum));
    ASSERT_TRUE(WriteJcampDxFile(L"s.jdx", spectrum));
    EXPECT_EQ(ReadBytes("s.jdx"), FormatJcampDx(spectrum));
    EXPECT_FALSE(WriteCsvFile(L"gone/s.csv", spectrum));
    EXPECT_FALSE(WriteJcampDxFile(L"gone/s.jdx", spectrum));
    EXPECT_FALSE(std::filesystem::exists("gone"));
}

// Nothing to write gives a file with no data lines; unknown axis codes
// are refused; odd texts and values keep the JCAMP-DX rules.
TEST_F(Export, BadInputGivesEmptyTablesRefusalsOrMarkedValues) {
    struct Points {
        const double* x;
        const double* y;
        int count;
    };
    for (const Points& points : {Points{x.data(), y.data(), 0}, Points{x.data(), y.data(), -5},
                                 Points{nullptr, y.data(), 10}, Points{x.data(), nullptr, 10}}) {
        spectrum.x = points.x;
        spectrum.y = points.y;
        spectrum.count = points.count;
        const ReadBack jcamp = ReadJcampDx(FormatJcampDx(spectrum));
        ExpectRequiredLabelsInOrder(jcamp);
        EXPECT_EQ(jcamp.Label("NPOINTS"), "0");
        EXPECT_TRUE(jcamp.x.empty());
        EXPECT_TRUE(ReadCsv(FormatCsv(spectrum)).x.empty());
    }

    spectrum = ExportedSpectrum{};
    for (const auto& [xType, yType] : {std::pair{-1, 0}, std::pair{6, 0}, std::pair{0, -1}, std::pair{0, 6}}) {
        spectrum.xType = xType;
        spectrum.yType = yType;
        EXPECT_EQ(FormatCsv(spectrum), "");
        EXPECT_EQ(FormatJcampDx(spectrum), "");
        EXPECT_FALSE(WriteCsvFile(L"refused.csv", spectrum));
        EXPECT_FALSE(WriteJcampDxFile(L"refused.jdx", spectrum));
    }
    EXPECT_FALSE(std::filesystem::exists("refused.csv"));
    EXPECT_FALSE(std::filesystem::exists("refused.jdx"));

    spectrum = ExportedSpectrum{};
    spectrum.deviceName = std::wstring(100, L'V') + L"\u03bc\n";
    spectrum.isoDateTime = "yesterday";
    const double oddX[] = {1e300, 500, std::nan("")};
    const double oddY[] = {-std::numeric_limits<double>::infinity(), -1e20, 1};
    spectrum.x = oddX;
    spectrum.y = oddY;
    spectrum.count = 3;
    const std::string text = FormatJcampDx(spectrum);
    const std::vector<std::string> lines = SplitLines(text, "\r\n");
    for (const std::string& line : lines) {
        EXPECT_LE(line.size(), 80u) << line;
        for (const char c : line) EXPECT_TRUE(c >= 0x20 && c < 0x7F) << line;
    }
    EXPECT_NE(std::find(lines.begin(), lines.end(), "1e+300, ?"), lines.end()) << text;
    EXPECT_NE(std::find(lines.begin(), lines.end(), "500.000, -1e+20"), lines.end()) << text;
    EXPECT_NE(std::find(lines.begin(), lines.end(), "?, 1.000"), lines.end()) << text;
    EXPECT_NE(std::find(lines.begin(), lines.end(), "##LONGDATE="), lines.end()) << "no date of another shape";
    const std::string csv = FormatCsv(spectrum);
    EXPECT_NE(csv.find("\n1e+300,-inf\n500.000,-1e+20\nnan,1.000\n"), std::string::npos) << csv;
}

}  // namespace
