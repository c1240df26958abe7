#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>

#include "MessagePayloads.h"
#include "ProcessValues.h"
#include "SetCoordsRegionDlg.h"

using namespace quenlix;

namespace {

std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::filesystem::create_directories("config");
    std::ofstream(path, std::ios::binary) << bytes;
}

// Two little-endian doubles, as the last-range files hold them.
std::string RangeBytes(double min, double max) {
    std::string bytes(16, '\0');
    const auto put = [&](std::size_t at, double value) {
        auto bits = std::bit_cast<std::uint64_t>(value);
        for (std::size_t i = 0; i < 8; ++i, bits >>= 8) bytes[at + i] = static_cast<char>(bits & 0xFF);
    };
    put(0, min);
    put(8, max);
    return bytes;
}

// Stands in for the view: keeps the regions it is sent.
class RegionView : public Window {
public:
    std::vector<std::array<double, 4>> regions;
    LRESULT OnMessage(unsigned msg, WPARAM, LPARAM l) override {
        if (msg == WM_SET_AXIS_REGION) regions.push_back(*LParamData<WM_SET_AXIS_REGION>(l));
        return 1;
    }
};

class CoordsDialog : public ::testing::Test {
protected:
    void SetUp() override { languageIndex = 2; }

    // A dialog opened on a chart showing 400..800 by 0..4000 in these types.
    std::unique_ptr<CSetCoordsRegionDlg> Open(int xType, int yType) {
        auto dialog = std::make_unique<CSetCoordsRegionDlg>(nullptr);
        dialog->SetRegion(400, 800, 0, 4000);
        dialog->SetAxisTypes(xType, yType);
        dialog->SetTarget(&view);
        dialog->show();
        return dialog;
    }
    static QStringList Fields(const CSetCoordsRegionDlg& d) {
        return {d.XMinBox()->text(), d.XMaxBox()->text(), d.YMinBox()->text(), d.YMaxBox()->text()};
    }
    static void Enter(CSetCoordsRegionDlg& d, const QStringList& values) {
        QLineEdit* boxes[] = {d.XMinBox(), d.XMaxBox(), d.YMinBox(), d.YMaxBox()};
        for (int i = 0; i < 4; ++i) boxes[i]->setText(values[i]);
        d.ModifyButton()->click();
    }

    RegionView view;
};

}  // namespace

TEST_F(CoordsDialog, RefusedEntryIsRememberedAndShownNextTime) {
    auto dialog = Open(0, 0);
    EXPECT_EQ(dialog->Mode(), 1);
    EXPECT_TRUE(dialog->LastRangesChoice()->isChecked());
    EXPECT_EQ(Fields(*dialog), (QStringList{"400.00", "800.00", "0.0", "4000.0"})) << "nothing stored yet";

    Enter(*dialog, {"500", "500.1", "10", "20"});
    EXPECT_TRUE(view.regions.empty()) << "500.1 - 500 is not above 0.2";
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(FileBytes("config/last coords10.bin"), RangeBytes(500, 500.1));
    EXPECT_EQ(FileBytes("config/last coords20.bin"), RangeBytes(10, 20));
    dialog.reset();

    dialog = Open(0, 0);
    EXPECT_EQ(Fields(*dialog), (QStringList{"500.00", "500.10", "10.0", "20.0"}));
    Enter(*dialog, {"450", "650.5", "10", "20"});
    ASSERT_EQ(view.regions.size(), 1u);
    EXPECT_EQ(view.regions[0], (std::array<double, 4>{450, 650.5, 10, 20}));
    EXPECT_TRUE(dialog->isVisible()) << "Modify leaves the dialog open";
    dialog->CloseButton()->click();
    EXPECT_FALSE(dialog->isVisible());

    // A pair with an unreadable or infinite field is refused and not stored.
    dialog = Open(0, 0);
    Enter(*dialog, {"abc", "700", "inf", "30"});
    Enter(*dialog, {"450", "", "5", "nan"});
    EXPECT_EQ(view.regions.size(), 1u);
    EXPECT_EQ(FileBytes("config/last coords10.bin"), RangeBytes(450, 650.5));
    EXPECT_EQ(FileBytes("config/last coords20.bin"), RangeBytes(10, 20));
}

TEST_F(CoordsDialog, RangesPerTypeAndTheStartingMode) {
    const QStringList chart{"400.00", "800.00", "0.0", "4000.0"};
    Enter(*Open(0, 0), {"500", "600", "100", "200"});
    auto wavenumber = Open(4, 5);
    EXPECT_EQ(Fields(*wavenumber), chart);
    Enter(*wavenumber, {"1000", "2000", "-10", "3"});
    EXPECT_EQ(Fields(*Open(0, 0)), (QStringList{"500.00", "600.00", "100.0", "200.0"}));

    // Mode 2 starts from the chart's axes, at once and in later dialogs.
    auto dialog = Open(4, 5);
    dialog->ChartAxesChoice()->click();
    EXPECT_EQ(FileBytes("config/set coords mode.bin"), std::string("\x02\0\0\0", 4));
    EXPECT_EQ(Fields(*dialog), chart);
    dialog = Open(4, 5);
    EXPECT_TRUE(dialog->ChartAxesChoice()->isChecked());
    EXPECT_EQ(Fields(*dialog), chart);
    dialog->LastRangesChoice()->click();
    EXPECT_EQ(FileBytes("config/set coords mode.bin"), std::string("\x01\0\0\0", 4));
    EXPECT_EQ(Fields(*dialog), (QStringList{"1000.00", "2000.00", "-10.0", "3.0"}));
}

// The narrowest range follows the unit: ordinary zooms in µm, in % and in
// absorbance are accepted, narrower ones refused.
TEST_F(CoordsDialog, NarrowestRangeFollowsTheUnit) {
    struct Case {
        int xType, yType;
        QStringList entry;
        bool applied;
    };
    const Case cases[] = {
        {1, 0, {"0.5", "0.5003", "0", "100"}, true},     {1, 0, {"0.5", "0.5001", "0", "100"}, false},
        {0, 4, {"500", "501", "0.1", "0.102"}, true},    {0, 4, {"500", "501", "0.1", "0.1006"}, false},
        {0, 2, {"500", "501", "50", "50.02"}, true},     {0, 3, {"500", "501", "50", "50.005"}, false},
        {0, 0, {"500", "501", "100", "100.1"}, false},   {2, 5, {"100", "100.3", "-3", "-2.7"}, true},
        {5, 1, {"1000", "1000.1", "-3", "-2"}, false},
    };
    for (const Case& c : cases) {
        view.regions.clear();
        Enter(*Open(c.xType, c.yType), c.entry);
        EXPECT_EQ(view.regions.size(), c.applied ? 1u : 0u) << c.entry.join(' ').toStdString();
    }
    // The fields show such ranges whole (the last ones entered, refused or not).
    EXPECT_EQ(Fields(*Open(1, 4)), (QStringList{"0.50000", "0.50010", "0.1000", "0.1006"}));
    EXPECT_EQ(Fields(*Open(0, 2)), (QStringList{"500.00", "501.00", "50.000", "50.020"}));
}

TEST_F(CoordsDialog, DamagedFilesGiveTheDefaults) {
    const QStringList chart{"400.00", "800.00", "0.0", "4000.0"};
    const std::string damagedModes[] = {std::string("\x02\0\0", 3), std::string("\x02\0\0\0\0", 5),
                                        std::string("\x07\0\0\0", 4), std::string(5000, '\x02')};
    for (const std::string& mode : damagedModes) {
        WriteBytes("config/set coords mode.bin", mode);
        EXPECT_EQ(Open(0, 0)->Mode(), 1);
    }
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const std::string damagedRanges[] = {RangeBytes(1, 2).substr(0, 15), RangeBytes(1, 2) + "x",
                                         RangeBytes(nan, 2), RangeBytes(1, inf), ""};
    for (const std::string& range : damagedRanges) {
        WriteBytes("config/last coords10.bin", range);
        WriteBytes("config/last coords20.bin", range);
        EXPECT_EQ(Fields(*Open(0, 0)), chart);
    }
    std::filesystem::remove("config/set coords mode.bin");
    std::filesystem::remove("config/last coords10.bin");
    std::filesystem::create_directories("config/set coords mode.bin");
    std::filesystem::create_directories("config/last coords10.bin");
    auto dialog = Open(0, 0);
    EXPECT_EQ(dialog->Mode(), 1);
    EXPECT_EQ(Fields(*dialog), chart);
    // Files that cannot be written are skipped; the entry still applies.
    dialog->ChartAxesChoice()->click();
    Enter(*dialog, {"450", "650", "1", "2"});
    EXPECT_EQ(view.regions.size(), 1u);
}
