#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "DeviceParamsSettingDlg.h"
#include "Lexora.h"
#include "MessagePayloads.h"
#include "ProcessValues.h"
#include "Prompts.h"

using namespace quenlix;

namespace {

// Stands in for the region panel: records every command the strip sends and
// answers with `accept`.
class FakeRegion : public Window {
public:
    struct Command { int kind; double value; };
    std::vector<Command> commands;
    bool accept = true;

    LRESULT OnMessage(unsigned msg, WPARAM w, LPARAM l) override {
        if (msg != WM_PAGE_COMMAND) return 0;
        const double value = w == 0 ? *LParamData<WM_PAGE_COMMAND>(l) : static_cast<double>(l);
        commands.push_back({static_cast<int>(w), value});
        return accept ? 1 : 0;
    }
};

std::string IntegralTimeFile() {
    std::ifstream in("config/integral time.bin", std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void Enter(QLineEdit* box, const QString& text) {
    box->setText(text);
    emit box->returnPressed();
}

class Strip : public ::testing::Test {
protected:
    void SetUp() override { languageIndex = 2; }
    FakeRegion region;
};

}  // namespace

TEST_F(Strip, StartsFromTheFileOrOneHundredMilliseconds) {
    CDeviceParamsSettingDlg fresh(&region);
    EXPECT_EQ(fresh.TimeBox()->text(), "100");
    EXPECT_EQ(fresh.UnitBox()->currentText(), "ms");
    EXPECT_EQ(fresh.AvgBox()->text(), "1");
    EXPECT_EQ(fresh.SmoothBox()->text(), "0");
    EXPECT_EQ(fresh.TriggerBox()->currentText(), "Int Trig");
    EXPECT_EQ(messageTargets.parameterStrip, &fresh);

    std::filesystem::create_directories("config");
    std::ofstream("config/integral time.bin") << "35";
    CDeviceParamsSettingDlg fromFile(&region);
    EXPECT_EQ(fromFile.TimeBox()->text(), "35");
    EXPECT_TRUE(region.commands.empty());
}

TEST_F(Strip, EnterInSecondsAppliesMillisecondsAndStoresThem) {
    CDeviceParamsSettingDlg strip(&region);
    strip.UnitBox()->setCurrentIndex(1);
    EXPECT_EQ(strip.TimeBox()->text(), "0.100");
    Enter(strip.TimeBox(), "2.5");
    ASSERT_EQ(region.commands.size(), 1u);
    EXPECT_EQ(region.commands[0].kind, 0);
    EXPECT_EQ(region.commands[0].value, 2500.0);
    EXPECT_EQ(strip.IntegralTimeMS(), 2500.0);
    EXPECT_EQ(IntegralTimeFile(), "2500") << "the file holds ms whatever the unit";
}

TEST_F(Strip, RefusedOrUnreadableTimes) {
    CDeviceParamsSettingDlg strip(&region);
    Enter(strip.TimeBox(), "abc");
    Enter(strip.TimeBox(), "-3");
    EXPECT_TRUE(region.commands.empty());
    EXPECT_FALSE(std::filesystem::exists("config/integral time.bin"));

    // A refusal puts back the time the devices run at, in the box's unit.
    region.accept = false;
    strip.UnitBox()->setCurrentIndex(1);
    Enter(strip.TimeBox(), "20");
    EXPECT_EQ(region.commands.back().value, 20000.0);
    EXPECT_EQ(strip.TimeBox()->text(), "0.100");
    EXPECT_EQ(IntegralTimeFile(), "100");
}

TEST_F(Strip, DevicesTimeShownOnRequest) {
    CDeviceParamsSettingDlg strip(&region);
    const double clamped = 10000;
    EXPECT_EQ(SendWithLParam<WM_INTEGRATION_TIME_SHOWN>(&strip, 0, clamped), 1);
    EXPECT_EQ(strip.TimeBox()->text(), "10000");
    EXPECT_EQ(strip.IntegralTimeMS(), 10000.0);
    strip.UnitBox()->setCurrentIndex(1);
    EXPECT_EQ(strip.TimeBox()->text(), "10.000");
    const double other = 7;
    EXPECT_EQ(SendWithLParam<WM_INTEGRATION_TIME_SHOWN>(&strip, 1, other), 1);
    EXPECT_EQ(strip.IntegralTimeMS(), 10000.0) << "only wParam 0 shows a time";
}

TEST_F(Strip, TimeArrowsStepByTheUnit) {
    CDeviceParamsSettingDlg strip(&region);
    strip.TimeArrows()->Up()->click();
    EXPECT_EQ(region.commands.back().value, 101.0);
    EXPECT_EQ(strip.TimeBox()->text(), "101");
    strip.UnitBox()->setCurrentIndex(1);
    strip.TimeArrows()->Up()->click();
    EXPECT_EQ(region.commands.back().value, 1101.0);
    EXPECT_EQ(strip.TimeBox()->text(), "1.101");

    region.accept = false;
    region.commands.clear();
    strip.TimeArrows()->Down()->click();
    ASSERT_EQ(region.commands.size(), 2u) << "a refused step sends the current time again";
    EXPECT_EQ(region.commands[0].value, 101.0);
    EXPECT_EQ(region.commands[1].value, 1101.0);
    EXPECT_EQ(strip.TimeBox()->text(), "1.101");
    EXPECT_FALSE(std::filesystem::exists("config/integral time.bin"));
}

TEST_F(Strip, AveragingAndSmoothingStopAtTheirLimits) {
    CDeviceParamsSettingDlg strip(&region);
    strip.AvgArrows()->Down()->click();
    strip.SmoothArrows()->Down()->click();
    EXPECT_TRUE(region.commands.empty()) << "1 and 0 are the lower limits";

    Enter(strip.AvgBox(), "99999");
    strip.AvgArrows()->Up()->click();
    EXPECT_EQ(strip.AvgBox()->text(), "100000");
    strip.AvgArrows()->Up()->click();
    EXPECT_EQ(region.commands.back().kind, 1);
    EXPECT_EQ(region.commands.back().value, 100000.0);
    EXPECT_EQ(strip.AvgBox()->text(), "100000");

    Enter(strip.SmoothBox(), "1000");
    region.commands.clear();
    strip.SmoothArrows()->Up()->click();
    EXPECT_TRUE(region.commands.empty());
    strip.SmoothArrows()->Down()->click();
    EXPECT_EQ(strip.SmoothBox()->text(), "999");

    // Counts below the lower limits, or beyond an int, are refused like
    // unreadable text; typed counts above the arrows' limits are applied.
    region.commands.clear();
    Enter(strip.AvgBox(), "0");
    Enter(strip.SmoothBox(), "-1");
    Enter(strip.AvgBox(), "99999999999");
    EXPECT_TRUE(region.commands.empty());
    EXPECT_EQ(strip.AvgBox()->text(), "100000");
    EXPECT_EQ(strip.SmoothBox()->text(), "999");
    Enter(strip.SmoothBox(), "1500");
    Enter(strip.AvgBox(), "200000");
    ASSERT_EQ(region.commands.size(), 2u);
    EXPECT_EQ(region.commands[0].value, 1500.0);
    EXPECT_EQ(region.commands[1].value, 200000.0);
    strip.SmoothArrows()->Up()->click();
    EXPECT_EQ(region.commands.size(), 2u) << "the arrows still stop at 1000";
    strip.AvgArrows()->Down()->click();
    EXPECT_EQ(region.commands.size(), 2u) << "199999 is beyond the arrows' limit too";
}

TEST_F(Strip, ExternalTriggerGreysTheTimeControls) {
    CDeviceParamsSettingDlg strip(&region);
    strip.TriggerBox()->setCurrentIndex(1);
    EXPECT_EQ(region.commands.back().kind, 3);
    EXPECT_EQ(region.commands.back().value, 1.0);
    EXPECT_FALSE(strip.TimeBox()->isEnabled());
    EXPECT_FALSE(strip.TimeArrows()->isEnabled());
    EXPECT_FALSE(strip.UnitBox()->isEnabled());
    strip.TriggerBox()->setCurrentIndex(0);
    EXPECT_TRUE(strip.TimeBox()->isEnabled());
    EXPECT_TRUE(strip.UnitBox()->isEnabled());

    region.accept = false;
    strip.TriggerBox()->setCurrentIndex(1);
    EXPECT_EQ(strip.TriggerBox()->currentIndex(), 0) << "a refused choice is put back";
    EXPECT_TRUE(strip.TimeBox()->isEnabled());
}

TEST_F(Strip, LanguageRelabelsAndKeepsTheChoices) {
    CDeviceParamsSettingDlg strip(&region);
    strip.UnitBox()->setCurrentIndex(1);
    strip.TriggerBox()->setCurrentIndex(1);
    const std::size_t sent = region.commands.size();
    languageIndex = 0;
    strip.ApplyLanguage(0);
    EXPECT_EQ(strip.UnitBox()->currentIndex(), 1);
    EXPECT_EQ(strip.TriggerBox()->currentText(),
              QString::fromWCharArray(strMainDlg_SpecRegion_DevParams_TrigModeExt[0]));
    EXPECT_EQ(region.commands.size(), sent) << "relabelling sends nothing";
    languageIndex = 2;
}

namespace {

class RecordingBoxes : public Prompts {
public:
    Answer MessageBox(QWidget*, const QString& text, const QString&, Buttons) override {
        texts.push_back(text);
        return Answer::Ok;
    }
    std::vector<QString> texts;
};

}  // namespace

// The time is applied, but the file that keeps it cannot be written: the
// person at the screen is told, naming the file.
TEST_F(Strip, ATimeThatCannotBeSavedIsTold) {
    RecordingBoxes boxes;
    InstallPrompts(&boxes);
    CDeviceParamsSettingDlg strip(&region);
    std::filesystem::create_directories("config/integral time.bin/blocked");
    Enter(strip.TimeBox(), "250");
    InstallPrompts(nullptr);
    EXPECT_EQ(strip.IntegralTimeMS(), 250.0);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_TRUE(boxes.texts[0].startsWith("Save failure!")) << boxes.texts[0].toStdString();
    EXPECT_TRUE(boxes.texts[0].endsWith("config/integral time.bin"));
}
