#include <gtest/gtest.h>

#include <QFile>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "PlotaraTestAccess.h"

namespace {

namespace fs = std::filesystem;

std::string Head(const std::string& path, std::size_t n) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes(n, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(n));
    return bytes.substr(0, static_cast<std::size_t>(in.gcount()));
}

class ImageExport : public ::testing::Test {
protected:
    void SetUp() override {
        SetUpChart(chart);
        const double x[3] = {0, 5, 10}, y[3] = {1, 9, 2};
        chart.AddFileLine(0, 3, x, y, L"line");
    }
    CPlotara chart;
};

TEST_F(ImageExport, FormatFollowsTheExtensionWhateverItsCase) {
    const struct {
        const wchar_t* path;
        std::string magic;
    } cases[] = {{L"a.png", "\x89PNG"}, {L"OUT.PNG", "\x89PNG"}, {L"b.jpg", "\xFF\xD8\xFF"},
                 {L"c.JPEG", "\xFF\xD8\xFF"}, {L"d.bmp", "BM"}};
    for (const auto& c : cases) {
        chart.SaveImage(c.path);
        Render(chart);
        const std::string path = fs::path(c.path).string();
        EXPECT_EQ(Head(path, c.magic.size()), c.magic) << path;
    }
    // The file holds exactly the picture drawn.
    chart.SaveImage(L"chart.png");
    const QImage drawn = Render(chart);
    EXPECT_EQ(QImage(QStringLiteral("chart.png")).convertToFormat(QImage::Format_RGB32), drawn);
}

TEST_F(ImageExport, WritesOnlyAtTheNextDrawingAndOnlyTheLastRequest) {
    chart.SaveImage(L"first.png");
    chart.SaveImage(L"second.png");
    EXPECT_FALSE(fs::exists("second.png"));
    Render(chart);
    EXPECT_FALSE(fs::exists("first.png"));
    EXPECT_TRUE(fs::exists("second.png"));
    fs::remove("second.png");
    Render(chart);  // the request was used up
    EXPECT_FALSE(fs::exists("second.png"));
}

TEST_F(ImageExport, UnknownExtensionWritesNothingAndLeavesThePictureAlone) {
    const QImage plain = Render(chart);
    chart.SaveImage(L"notes.txt");
    EXPECT_EQ(Render(chart), plain);
    chart.SaveImage(L"noextension");
    Render(chart);
    EXPECT_TRUE(fs::is_empty(fs::current_path()));
}

// Every save attempt is reported, so the view can tell a failure; a device
// or a missing folder is never written or replaced.
TEST_F(ImageExport, TheListenerHearsEveryOutcome) {
    std::vector<std::pair<std::wstring, bool>> heard;
    chart.SetImageSavedListener([&](const std::wstring& path, bool written) { heard.emplace_back(path, written); });
    for (const wchar_t* path : {L"ok.png", L"gone/x.png", L"/dev/full", L"notes.txt"}) {
        chart.SaveImage(path);
        Render(chart);
    }
    const std::vector<std::pair<std::wstring, bool>> expected = {
        {L"ok.png", true}, {L"gone/x.png", false}, {L"/dev/full", false}, {L"notes.txt", false}};
    EXPECT_EQ(heard, expected);
    EXPECT_TRUE(fs::is_character_file("/dev/full"));
}

}  // namespace
