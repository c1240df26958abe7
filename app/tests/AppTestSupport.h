#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <memory>
#include <vector>

#include "DeviceList.h"
#include "ProcessValues.h"
#include "ReceiveData.h"
#include "SpectrumRegionDlg.h"
#include "simulator/SimulatedBus.h"
#include "usb/UsbBackend.h"

namespace quenlix::testing {

// Each test gets its own bus of simulated spectrometers and a clean set of
// process-wide values; the device list is emptied afterwards, which stops
// every link's thread.
class SimulatedDevicesTest : public ::testing::Test {
protected:
    void SetUp() override {
        languageIndex = 2;
        excitationWavelengthSetting = 785.0;
        messageTargets = {};
        kestrion::SetUsbBackend(bus);
    }
    void TearDown() override {
        deviceList.clear();
        kestrion::SetUsbBackend(std::make_shared<kestrion::SimulatedBus>());
    }

    std::shared_ptr<kestrion::SimulatedSpectrometer> AddUnit(int k) {
        return bus->Add(kestrion::DefaultSimulatedUnit(k));
    }
    std::shared_ptr<kestrion::SimulatedSpectrometer> AddUnit(kestrion::SimulatedUnitSetup setup) {
        return bus->Add(std::move(setup));
    }

    std::shared_ptr<kestrion::SimulatedBus> bus = std::make_shared<kestrion::SimulatedBus>();
};

// Lets timers and queued events run for ms milliseconds.
inline void RunEventLoop(int ms) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
}

// A page in its simplest form: takes the strip's parameters and records
// what reaches it.
class TestPage : public CReceiveData {
public:
    using CReceiveData::CReceiveData;

    struct Spectrum { int number; long frameNo; double firstY; };
    std::vector<Spectrum> spectra;
    std::vector<unsigned> messages;
    std::vector<int> added;
    int languageCalls = 0;
    int pulls = 0;
    int before = 0;
    int after = 0;
    std::vector<std::unique_ptr<ViewDevice>>& Records() { return deviceRecords; }
    bool Receiving() const { return receiving; }

    LRESULT OnMessage(unsigned msg, WPARAM w, LPARAM l) override {
        messages.push_back(msg);
        if (msg == WM_PAGE_PARAMETER) return ApplyParameter(static_cast<int>(w), l);
        return 1;
    }
    void ApplyLanguage(int) override { ++languageCalls; }
    void BeforeRescan() override {
        ++before;
        CReceiveData::BeforeRescan();
    }
    void AfterRescan() override {
        ++after;
        CReceiveData::AfterRescan();
    }
    void OnDeviceAdded(int number, int, const double*, const std::wstring&) override { added.push_back(number); }
    void OnNewSpectrum(int number, const double* y) override {
        long frameNo = -1;
        for (const auto& r : deviceRecords)
            if (r->number == number) frameNo = r->lastFrameNo;
        spectra.push_back({number, frameNo, y[0]});
    }
    void AfterPull() override { ++pulls; }
};

// A region panel whose page commands open test pages.
class TestRegion : public CSpectrumRegionDlg {
public:
    using CSpectrumRegionDlg::CSpectrumRegionDlg;

protected:
    // Each kind the panel knows, with its title and questions, gets a test page.
    NewPage CreatePage(int kind, QWidget* parent) override {
        NewPage made = CSpectrumRegionDlg::CreatePage(kind, parent);
        if (!made.title.isEmpty()) made.page = std::make_unique<TestPage>(parent);
        return made;
    }
};

}  // namespace quenlix::testing
