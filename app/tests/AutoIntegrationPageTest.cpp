#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QToolButton>
#include <vector>

#include "LivePageFixture.h"
#include "MessagePayloads.h"

using namespace quenlix;
using namespace quenlix::testing;

namespace {

// Stands in for the main window and the parameter strip: keeps the status
// notes and the times the strip was told to show.
class Frame : public Window {
public:
    std::vector<QString> notes;
    std::vector<double> shownTimes;

    LRESULT OnMessage(unsigned msg, WPARAM, LPARAM lParam) override {
        if (msg == WM_STATUS_NOTE) notes.push_back(*LParamData<WM_STATUS_NOTE>(lParam));
        if (msg == WM_INTEGRATION_TIME_SHOWN) shownTimes.push_back(*LParamData<WM_INTEGRATION_TIME_SHOWN>(lParam));
        return 1;
    }
};

class AutoIntegrationPage : public LivePageTest {
protected:
    // One simulated lamp of that brightness, the page on it running at 100 ms.
    std::shared_ptr<kestrion::SimulatedSpectrometer> OpenOnLamp(double brightness) {
        messageTargets.mainWindow = &frame;
        messageTargets.parameterStrip = &frame;
        kestrion::SimulatedUnitSetup setup = kestrion::DefaultSimulatedUnit(0);
        setup.brightness = brightness;
        auto unit = AddUnit(setup);
        DiscoverDevices();
        page = std::make_unique<CSpectrumDisplayDlg>();
        page->resize(1000, 700);
        page->show();
        double ms = 100;
        SendWithLParam<WM_PAGE_PARAMETER>(page.get(), 0, ms);
        EXPECT_TRUE(WaitForSpectra(1));
        return unit;
    }
    QToolButton* Button() const { return page->Toolbar()->Button(ID_BTN_AUTO_INTEGRATION); }
    bool WaitUntilEnded(int timeoutMs = 30000) {
        return QTest::qWaitFor([this] { return !page->AutoIntegrationRun()->IsRunning(); }, timeoutMs);
    }
    double DeviceTime() const { return page->DeviceRecords().front()->link->GetIntegralTimeMS(); }

    Frame frame;
};

}  // namespace

// The button starts a run on the active device: the status bar counts its
// steps, and the final time is the page's, the device's and the strip's.
TEST_F(AutoIntegrationPage, TheButtonFindsTheTimeAndShowsItsStepsAndEnd) {
    OpenOnLamp(1.0);
    Button()->click();
    ASSERT_NE(page->AutoIntegrationRun(), nullptr);
    EXPECT_TRUE(Button()->isChecked());
    ASSERT_TRUE(WaitUntilEnded());
    const AutoIntegration& run = *page->AutoIntegrationRun();
    ASSERT_EQ(run.Result(), AutoIntegration::Outcome::Reached);
    EXPECT_NEAR(run.PeakFraction(), 0.8, 0.04);
    EXPECT_FALSE(Button()->isChecked()) << "released when the run ended";
    EXPECT_EQ(page->GetIntegralTime(), run.TimeMs());
    EXPECT_EQ(DeviceTime(), run.TimeMs());
    ASSERT_FALSE(frame.shownTimes.empty());
    EXPECT_EQ(frame.shownTimes.back(), run.TimeMs());

    ASSERT_GE(frame.notes.size(), 2u);
    EXPECT_EQ(frame.notes.front(), "Auto integration: step 1 of 6, 100.0 ms");
    EXPECT_EQ(frame.notes.back(), QStringLiteral("Auto integration: %1 ms, peak at %2% of full scale")
                                      .arg(QString::number(run.TimeMs(), 'f', 1),
                                           QString::number(100 * run.PeakFraction(), 'f', 1)));
}

// A dim lamp asks for a much longer time first; Esc then, or the button
// again, puts the time back where it was.
TEST_F(AutoIntegrationPage, EscOrTheButtonAgainCancelsAndRestoresThePreviousTime) {
    OpenOnLamp(0.3);
    for (const bool byEsc : {true, false}) {
        SCOPED_TRACE(byEsc ? "Esc" : "button");
        frame.notes.clear();
        Button()->click();
        ASSERT_TRUE(QTest::qWaitFor([this] { return DeviceTime() > 150; }, 10000)) << "the first step applied";
        ASSERT_TRUE(page->AutoIntegrationRun()->IsRunning());
        if (byEsc) {
            QWidget* focused = QApplication::focusWidget();
            QTest::keyClick(focused && page->isAncestorOf(focused) ? focused : page.get(), Qt::Key_Escape);
        } else {
            Button()->click();
        }
        EXPECT_EQ(page->AutoIntegrationRun()->Result(), AutoIntegration::Outcome::Cancelled);
        EXPECT_EQ(DeviceTime(), 100);
        EXPECT_EQ(page->GetIntegralTime(), 100);
        EXPECT_EQ(frame.shownTimes.back(), 100);
        EXPECT_FALSE(Button()->isChecked());
        EXPECT_EQ(frame.notes.back(), "Auto integration cancelled, back to 100.0 ms");
    }
}

TEST_F(AutoIntegrationPage, StoppedOrExternallyTriggeredItDoesNotStart) {
    OpenOnLamp(1.0);
    Command(ID_BTN_DEV_STOP);
    Button()->click();
    EXPECT_FALSE(Button()->isChecked());
    EXPECT_EQ(page->AutoIntegrationRun(), nullptr);
    EXPECT_EQ(frame.notes.back(), "Auto integration needs an active device running with internal triggering");

    Command(ID_BTN_DEV_RUN);
    SendMessage(page.get(), WM_PAGE_PARAMETER, 3, 1);
    Button()->click();
    EXPECT_FALSE(Button()->isChecked());
    EXPECT_EQ(page->AutoIntegrationRun(), nullptr);
}
