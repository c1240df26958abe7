#include <gtest/gtest.h>

#include <QTest>
#include <utility>
#include <vector>

#include "ProcessValues.h"
#include "SetPeakParamsDlg.h"

using namespace quenlix;

namespace {

using Setting = std::pair<int, int>;  // item, value

// Stands in for the view: records the peak settings it is sent.
class FakeView : public Window {
public:
    std::vector<Setting> settings;

    LRESULT OnMessage(unsigned msg, WPARAM w, LPARAM l) override {
        if (msg != WM_PEAK_SETTING) return 0;
        settings.emplace_back(static_cast<int>(w), static_cast<int>(l));
        return 1;
    }
};

class PeakPanel : public ::testing::Test {
protected:
    void SetUp() override {
        languageIndex = 2;
        view.resize(800, 700);
        panel = new CSetPeakParamsDlg(&view);
        panel->SetTarget(&view);
        view.show();
    }
    std::vector<Setting> Sent() { return std::exchange(view.settings, {}); }
    void Enter(const QString& text) {
        panel->ThresholdBox()->setText(text);
        QTest::keyClick(panel->ThresholdBox(), Qt::Key_Return);
    }
    void Step(QToolButton* arrow) { QTest::mouseClick(arrow, Qt::LeftButton); }

    FakeView view;
    CSetPeakParamsDlg* panel;  // owned by the view
};

}  // namespace

TEST_F(PeakPanel, StartsHiddenWithItsDocumentedSettingsAndSendsEachControlsItem) {
    EXPECT_FALSE(panel->isVisible()) << "the view shows it when the peak search starts";
    EXPECT_EQ(panel->ThresholdBox()->text(), "600");
    EXPECT_EQ(panel->Threshold(), 600);
    for (const auto& [item, checked] : {Setting{0, 1}, {1, 0}, {2, 0}, {5, 1}, {6, 0}, {7, 1}})
        EXPECT_EQ(panel->CheckBox(item)->isChecked(), checked == 1) << item;
    EXPECT_TRUE(panel->AngleButton(0)->isChecked());

    panel->show();
    for (const int item : {0, 1, 2, 5, 6, 7}) QTest::mouseClick(panel->CheckBox(item), Qt::LeftButton);
    EXPECT_EQ(Sent(), (std::vector<Setting>{{0, 0}, {1, 1}, {2, 1}, {5, 0}, {6, 1}, {7, 0}}));
    for (const int angle : {30, 60, 90, 0}) QTest::mouseClick(panel->AngleButton(angle), Qt::LeftButton);
    EXPECT_EQ(Sent(), (std::vector<Setting>{{4, 30}, {4, 60}, {4, 90}, {4, 0}}));
    EXPECT_TRUE(panel->AngleButton(0)->isChecked() && !panel->AngleButton(90)->isChecked());
}

TEST_F(PeakPanel, ThresholdStaysStrictlyBetweenZeroAndFiftyThousand) {
    panel->show();
    QToolButton* up = panel->ThresholdArrows()->Up();
    QToolButton* down = panel->ThresholdArrows()->Down();

    panel->SetThreshold(0);
    panel->SetThreshold(-3);
    EXPECT_EQ(panel->Threshold(), 600) << "no threshold at or below zero is taken";
    panel->SetThreshold(5);
    EXPECT_EQ(panel->ThresholdBox()->text(), "5");
    Step(down);
    EXPECT_EQ(panel->Threshold(), 5);
    EXPECT_EQ(Sent(), std::vector<Setting>{}) << "a spin down from 5 leaves 5";
    Step(up);
    EXPECT_EQ(Sent(), (std::vector<Setting>{{3, 15}}));
    EXPECT_EQ(panel->ThresholdBox()->text(), "15");

    panel->SetThreshold(49985);
    Step(up);
    Step(up);
    EXPECT_EQ(Sent(), (std::vector<Setting>{{3, 49995}})) << "50005 is out of range";
    EXPECT_EQ(panel->Threshold(), 49995);

    for (const char* ignored : {"0", "50000", "-7", "abc", ""}) Enter(ignored);
    EXPECT_EQ(Sent(), std::vector<Setting>{});
    EXPECT_EQ(panel->Threshold(), 49995);
    Enter("49999");
    Enter("120 counts");  // read as %d reads it
    EXPECT_EQ(Sent(), (std::vector<Setting>{{3, 49999}, {3, 120}}));
    EXPECT_EQ(panel->Threshold(), 120);
    Step(down);
    EXPECT_EQ(Sent(), (std::vector<Setting>{{3, 110}})) << "the arrows go on from the entered value";
}

TEST_F(PeakPanel, ClosingCollapsesItToTheTopLeftAndAClickOnTheBarRestoresIt) {
    panel->show();
    panel->move(300, 200);
    const QSize expanded = panel->size();
    QTest::mouseClick(panel->CloseBox(), Qt::LeftButton);
    EXPECT_TRUE(panel->isVisible()) << "closing only minimises";
    EXPECT_TRUE(panel->IsCollapsed());
    EXPECT_EQ(panel->pos(), QPoint(0, 0));
    EXPECT_EQ(panel->height(), panel->TitleBar()->height() + 2);
    EXPECT_LT(panel->width(), expanded.width());
    EXPECT_FALSE(panel->CloseBox()->isVisible());

    QTest::mouseClick(panel->TitleBar(), Qt::LeftButton, {}, QPoint(10, 5));
    EXPECT_FALSE(panel->IsCollapsed());
    EXPECT_EQ(panel->geometry(), QRect(QPoint(300, 200), expanded));

    // Dragging the title bar moves the panel, and only within the view.
    QTest::mousePress(panel->TitleBar(), Qt::LeftButton, {}, QPoint(10, 5));
    QTest::mouseMove(panel->TitleBar(), QPoint(60, 45));
    QTest::mouseRelease(panel->TitleBar(), Qt::LeftButton, {}, QPoint(60, 45));
    EXPECT_EQ(panel->pos(), QPoint(350, 240));
    EXPECT_FALSE(panel->IsCollapsed());
    QTest::mousePress(panel->TitleBar(), Qt::LeftButton, {}, QPoint(10, 5));
    QTest::mouseMove(panel->TitleBar(), QPoint(-2000, 3000));
    QTest::mouseRelease(panel->TitleBar(), Qt::LeftButton, {}, QPoint(-2000, 3000));
    EXPECT_EQ(panel->pos(), QPoint(0, view.height() - panel->height()));
}

TEST_F(PeakPanel, ApplyLanguageRelabelsEveryText) {
    languageIndex = 0;
    panel->ApplyLanguage(0);
    const auto text = [](const wchar_t* s) { return QString::fromWCharArray(s); };
    EXPECT_EQ(panel->TitleBar()->findChild<QLabel*>()->text(), text(L"设置寻峰参数"));
    EXPECT_EQ(panel->CheckBox(0)->text(), text(L"显示X坐标"));
    EXPECT_EQ(panel->CheckBox(6)->text(), text(L"显示扣除基线后的光谱"));
    EXPECT_EQ(panel->AngleButton(90)->text(), text(L"垂直"));
    std::vector<QString> groups;
    for (const QGroupBox* group : panel->findChildren<QGroupBox*>()) groups.push_back(group->title());
    EXPECT_EQ(groups, (std::vector<QString>{text(L"显示信息"), text(L"显示方式"), text(L"光谱")}));
    EXPECT_TRUE(panel->AngleButton(30)->text().isEmpty()) << "the slanted ones show an image";
    EXPECT_FALSE(panel->AngleButton(30)->icon().isNull());
}
