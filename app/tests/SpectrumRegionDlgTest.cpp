#include <gtest/gtest.h>

#include <QPushButton>
#include <QResizeEvent>

#include "AppTestSupport.h"
#include "ChooseDeviceDlg1.h"
#include "Lexora.h"
#include "MessagePayloads.h"
#include "Prompts.h"
#include "SpectrumDisplayDlg.h"

using namespace quenlix;
using namespace quenlix::testing;

namespace {

class Region : public SimulatedDevicesTest {
protected:
    TestPage* Page(std::size_t i) { return static_cast<TestPage*>(region.Records().at(i).page.get()); }
    std::vector<QString> Titles() const {
        std::vector<QString> titles;
        for (int i = 0; i < region.Tabs()->count(); ++i) titles.push_back(region.Tabs()->tabText(i));
        return titles;
    }
    std::vector<int> Ids() const {
        std::vector<int> ids;
        for (const TabRecord& r : region.Records()) ids.push_back(r.id);
        return ids;
    }
    LRESULT Open(int kind = ID_NEW_SPECTRUM_CHART) { return SendMessage(&region, WM_OPEN_TAB, kind, 0); }

    TestRegion region;
};

// Answers the device choice by pressing one of its buttons.
class PressButton : public Prompts {
public:
    bool cancel = false;
    int RunModal(QDialog& dialog) override {
        auto& chooser = dynamic_cast<CChooseDeviceDlg1&>(dialog);
        if (cancel) {
            for (QPushButton* b : chooser.findChildren<QPushButton*>())
                if (b != chooser.OkButton()) b->click();
        } else {
            chooser.OkButton()->click();
        }
        return chooser.result();
    }
};

}  // namespace

TEST_F(Region, TabIdsAndTitlesAreNeverReused) {
    for (int i = 0; i < 3; ++i) EXPECT_EQ(Open(), 1);
    SendMessage(&region, WM_CLOSE_TAB, 1, 0);
    EXPECT_EQ(region.Tabs()->currentIndex(), 0) << "the tab before the closed one";
    Open();
    EXPECT_EQ(Titles(), (std::vector<QString>{"Chart(0)", "Chart(2)", "Chart(3)"}));
    EXPECT_EQ(Ids(), (std::vector<int>{0, 2, 3}));
    EXPECT_EQ(region.Tabs()->currentIndex(), 2);
    EXPECT_TRUE(Page(0)->isHidden());
    EXPECT_TRUE(Page(1)->isHidden());
    EXPECT_FALSE(Page(2)->isHidden());
    EXPECT_EQ(Page(2)->languageCalls, 1);
    EXPECT_EQ(Page(2)->geometry().topLeft(), QPoint(2, 22));

    SendMessage(&region, WM_CLOSE_TAB, 0, 0);
    EXPECT_EQ(Ids(), (std::vector<int>{2, 3}));
    EXPECT_EQ(region.Tabs()->currentIndex(), 0) << "closing the first tab selects the new first";
    EXPECT_FALSE(Page(0)->isHidden());
    SendMessage(&region, WM_CLOSE_TAB, 42, 0);  // no such tab
    EXPECT_EQ(region.Records().size(), 2u);
}

TEST_F(Region, TitlesKeepTheLanguageTheyWereMadeIn) {
    Open();
    languageIndex = 0;
    Open();
    EXPECT_EQ(Titles()[0], "Chart(0)");
    EXPECT_EQ(Titles()[1], QString::fromWCharArray(strMainDlg_SpecRegion_SpecTab_SpecChart[0]).replace("%d", "1"));
    const QString renamed = QStringLiteral("Ruby");
    SendWithLParam<WM_RENAME_TAB>(&region, 0, renamed);
    EXPECT_EQ(region.Tabs()->tabText(0), "Ruby");
    EXPECT_EQ(region.Records()[0].title, "Chart(0)") << "the stored title stays";
}

TEST_F(Region, CommandsReachTheSelectedPageOrEveryPage) {
    Open();
    Open();
    region.Tabs()->setCurrentIndex(0);
    EXPECT_TRUE(Page(1)->isHidden());
    EXPECT_FALSE(Page(0)->isHidden());

    SendMessage(&region, WM_SET_AXIS_UNIT, 0, 3);
    SendMessage(&region, WM_ACTIVE_TRIGGER, 100, 0);
    EXPECT_EQ(SendMessage(&region, WM_PAGE_COMMAND, 1, 5), 1);
    EXPECT_EQ(Page(0)->GetAvgCount(), 5);
    EXPECT_EQ(SendMessage(&region, WM_CHART_COLOR_CHANGED, 32851, 0), 1);
    EXPECT_EQ(Page(0)->messages,
              (std::vector<unsigned>{WM_SET_AXIS_UNIT, WM_ACTIVE_TRIGGER, WM_PAGE_PARAMETER, WM_CHART_COLOR_CHANGED}));
    EXPECT_EQ(Page(1)->messages, std::vector<unsigned>{WM_CHART_COLOR_CHANGED});

    SendMessage(&region, WM_RESCAN_DEVICES, 0, 0);
    SendMessage(&region, WM_RESCAN_DEVICES, 1, 0);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(Page(i)->before, 1);
        EXPECT_EQ(Page(i)->after, 1);
    }
    region.ApplyLanguage(1);
    EXPECT_EQ(Page(1)->languageCalls, 2);
}

TEST_F(Region, ChartCommandsOpenLivePagesAndUnknownKindsNothing) {
    CSpectrumRegionDlg plain;
    EXPECT_EQ(SendMessage(&plain, WM_OPEN_TAB, 12345, 0), 0);
    EXPECT_TRUE(plain.Records().empty());
    EXPECT_EQ(SendMessage(&plain, WM_PAGE_COMMAND, 1, 3), 0) << "nobody took the parameter";
    EXPECT_EQ(SendMessage(&plain, WM_OPEN_TAB, ID_NEW_SPECTRUM_CHART, 0), 1);
    ASSERT_EQ(plain.Records().size(), 1u);
    EXPECT_NE(dynamic_cast<CSpectrumDisplayDlg*>(plain.Records()[0].page.get()), nullptr);
    EXPECT_EQ(SendMessage(&plain, WM_PAGE_COMMAND, 1, 3), 1) << "the live page takes the averaging";
    EXPECT_EQ(SendMessage(&region, WM_OPEN_TAB, 12345, 0), 0);
    EXPECT_TRUE(region.Records().empty());
}

TEST_F(Region, CalibrationAsksForTheDeviceFirst) {
    AddUnit(0);
    DiscoverDevices();
    PressButton prompts;
    InstallPrompts(&prompts);
    prompts.cancel = true;
    Open(ID_NEW_WAVELENGTH_CALIBRATION);
    EXPECT_TRUE(region.Records().empty());
    prompts.cancel = false;
    Open(ID_NEW_WAVELENGTH_CALIBRATION);
    InstallPrompts(nullptr);
    ASSERT_EQ(region.Records().size(), 1u);
    EXPECT_EQ(Titles()[0], "Calibration(0)");
}

TEST_F(Region, TheStripNarrowsToOneRowOnWidePanels) {
    const std::pair<int, int> cases[] = {{400, 150}, {469, 150}, {470, 90}, {800, 90}, {829, 90}, {830, 60}, {900, 60}};
    for (const auto& [width, strip] : cases) {
        region.resize(width, 500);
        QResizeEvent event(region.size(), QSize());
        QCoreApplication::sendEvent(&region, &event);
        EXPECT_EQ(region.Strip()->height(), strip) << width;
    }
}
