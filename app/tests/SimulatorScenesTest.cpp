#include <gtest/gtest.h>

#include <QTest>
#include <cmath>
#include <filesystem>
#include <fstream>

#include "FakeUsbBackend.h"
#include "LaserDeviceSettingDlg.h"
#include "LivePageFixture.h"
#include "MessagePayloads.h"
#include "PtyPair.h"
#include "SimulatorSwitches.h"
#include "ToolbarCommands.h"
#include "Varelix2Dlg.h"

using namespace quenlix;
using namespace quenlix::testing;

namespace {

class SimulatorScenes : public LivePageTest {
protected:
    void OpenOn(kestrion::Scene scene, int units = 1) {
        for (int k = 0; k < units; ++k) {
            kestrion::SimulatedUnitSetup setup = kestrion::DefaultSimulatedUnit(k);
            setup.scene = scene;
            AddUnit(setup);
        }
        DiscoverDevices();
        page = std::make_unique<CSpectrumDisplayDlg>();
        page->show();
    }
    CCondira& Device() const { return *page->DeviceRecords().front()->preprocessor; }

    // Waits for blocks more averaged spectra; the first may hold frames from
    // before a switch, so callers wait for two.
    bool WaitForBlocks(int blocks) {
        const int until = Device().GetDataNo() + blocks;
        QElapsedTimer clock;
        clock.start();
        while (Device().GetDataNo() < until) {
            if (clock.elapsed() > 10000) return false;
            RunEventLoop(10);
        }
        return true;
    }

    // The mean of the page's Y over ±5 points about the wavelength.
    double YNear(double nm) const {
        std::vector<double> x(static_cast<size_t>(Device().GetPixelCount())), y(x.size());
        Device().GetXData(x.data());
        Device().GetYData(y.data());
        const auto centre = std::lower_bound(x.begin(), x.end(), nm) - x.begin();
        double sum = 0;
        for (auto p = centre - 5; p <= centre + 5; ++p) sum += y[static_cast<size_t>(p)];
        return sum / 11;
    }
};

// The workflow the sample scene is for: dark with the source off, reference
// with the sample out, then the sample's absorbance on the live page.
TEST_F(SimulatorScenes, AbsorbanceShowsTheSampleBandsAtTheirHeights) {
    OpenOn(kestrion::Scene::AbsorbingSample);
    const double ms = 100;
    ASSERT_EQ(page->ApplyParameter(0, AsLParam<WM_PAGE_PARAMETER>(ms)), 1);
    ASSERT_EQ(page->ApplyParameter(1, 8), 1);

    SetSimulatorSwitch(SimulatorSwitch::SourceOn, false);
    ASSERT_TRUE(WaitForBlocks(2));
    Command(ID_BTN_STORE_DARK);
    SetSimulatorSwitch(SimulatorSwitch::SourceOn, true);
    SetSimulatorSwitch(SimulatorSwitch::SampleIn, false);
    ASSERT_TRUE(WaitForBlocks(2));
    Command(ID_BTN_STORE_REFERENCE);
    SetSimulatorSwitch(SimulatorSwitch::SampleIn, true);
    ASSERT_EQ(Command(ID_BTN_ABSORBANCE), 1);
    ASSERT_TRUE(WaitForBlocks(2));

    for (const kestrion::SceneLine& band : kestrion::SceneBands(kestrion::Scene::AbsorbingSample))
        EXPECT_NEAR(YNear(band.wavelengthNm), band.peak, 0.02 * band.peak) << band.wavelengthNm << " nm";
    EXPECT_NEAR(YNear(850), 0, 0.01) << "clear of the bands";
}

// The laser control of the page fires the simulated laser: plasma lines in
// externally triggered frames until the acquisition stops or the page closes.
TEST_F(SimulatorScenes, LaserControlFiresTheSimulatedLaserForPlasmaLines) {
    PtyPair pty;  // stands in for the laser's serial port
    ASSERT_TRUE(pty.IsOpen());
    std::filesystem::create_directories("config");
    std::ofstream("config/laser port", std::ios::binary) << pty.SlavePath();
    OpenOn(kestrion::Scene::LaserPlasma, 2);
    for (int k : {0, 1}) bus->Unit(k)->SetExternalTriggerRate(50);
    ASSERT_EQ(page->ApplyParameter(3, 1), 1);  // external trigger
    page->Laser().OpenComm();
    prompts.modal = [](QDialog& dialog) {
        auto& laser = dynamic_cast<CLaserDeviceSettingDlg&>(dialog);
        laser.show();
        laser.ControlCheck()->setChecked(true);
        laser.OkButton()->click();
        EXPECT_TRUE(QTest::qWaitFor([&] { return !laser.isVisible(); }, 5000));
        return laser.result();
    };
    ASSERT_FALSE(IsSimulatorSwitchOn(SimulatorSwitch::LaserFiring));
    ASSERT_EQ(SendMessage(page.get(), WM_ACTIVE_TRIGGER, 100, 0), 1);
    EXPECT_TRUE(bus->Unit(0)->IsLaserFiring() && bus->Unit(1)->IsLaserFiring());

    ASSERT_TRUE(WaitForBlocks(2));
    const double dark = 16500 * 0.06;
    EXPECT_GT(YNear(393.366) - dark, 2000) << "Ca II K";
    EXPECT_LT(YNear(550) - dark, 10) << "no light between the lines";

    Command(ID_BTN_DEV_STOP);
    EXPECT_FALSE(IsSimulatorSwitchOn(SimulatorSwitch::LaserFiring));
    Command(ID_BTN_DEV_RUN);
    EXPECT_TRUE(IsSimulatorSwitchOn(SimulatorSwitch::LaserFiring));
    page.reset();
    EXPECT_FALSE(bus->Unit(0)->IsLaserFiring() || bus->Unit(1)->IsLaserFiring()) << "a closed page stops it";
}

class SimulatorMenu : public SimulatedDevicesTest {};

TEST_F(SimulatorMenu, ShownOnlyWhenSimulatingAndSwitchesEveryUnit) {
    AddUnit(0);
    AddUnit(1);
    {
        CVarelix2Dlg window;
        const int ids[] = {ID_SIMULATOR_SOURCE_ON, ID_SIMULATOR_SAMPLE_IN, ID_SIMULATOR_LASER_FIRING};
        QAction* top = window.MenuBar()->actions().at(4);
        EXPECT_EQ(top->text(), "Simulator");
        QStringList texts;
        for (int id : ids) {
            ASSERT_NE(window.MenuAction(id), nullptr);
            EXPECT_TRUE(window.MenuAction(id)->isCheckable());
            texts << window.MenuAction(id)->text();
        }
        EXPECT_EQ(texts, (QStringList{"Source On", "Sample In", "Laser Firing"}));
        EXPECT_TRUE(window.MenuAction(ID_SIMULATOR_SOURCE_ON)->isChecked());
        EXPECT_FALSE(window.MenuAction(ID_SIMULATOR_LASER_FIRING)->isChecked());

        window.MenuAction(ID_SIMULATOR_SOURCE_ON)->trigger();
        EXPECT_FALSE(bus->Unit(0)->IsSourceOn() || bus->Unit(1)->IsSourceOn());
        EXPECT_FALSE(window.MenuAction(ID_SIMULATOR_SOURCE_ON)->isChecked());
        window.OnCommand(ID_SIMULATOR_SAMPLE_IN);
        EXPECT_FALSE(bus->Unit(0)->IsSampleIn() || bus->Unit(1)->IsSampleIn());
        window.MenuAction(ID_SIMULATOR_SOURCE_ON)->trigger();
        EXPECT_TRUE(bus->Unit(0)->IsSourceOn() && bus->Unit(1)->IsSourceOn());
        EXPECT_TRUE(window.MenuAction(ID_SIMULATOR_SOURCE_ON)->isChecked());

        // Switched elsewhere (the laser control): the mark follows when the menu opens.
        SetSimulatorSwitch(SimulatorSwitch::LaserFiring, true);
        emit top->menu()->aboutToShow();
        EXPECT_TRUE(window.MenuAction(ID_SIMULATOR_LASER_FIRING)->isChecked());

        window.OnCommand(ID_LANGUAGE_CHT);
        EXPECT_EQ(top->text(), QStringLiteral("模擬器"));
        EXPECT_EQ(window.MenuAction(ID_SIMULATOR_SAMPLE_IN)->text(), QStringLiteral("樣品放入"));
    }
    // Devices that are not simulated units have no switches.
    kestrion::SetUsbBackend(std::make_shared<FakeUsbBackend>(bus));
    EXPECT_FALSE(IsSimulating());
    CVarelix2Dlg window;
    EXPECT_EQ(window.MenuAction(ID_SIMULATOR_SOURCE_ON), nullptr);
    for (QAction* top : window.MenuBar()->actions()) EXPECT_NE(top->text(), "Simulator");
}

}  // namespace
