#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <memory>
#include <string>
#include <vector>

#include "AcquisitionSession.h"
#include "DeviceList.h"
#include "Window.h"

namespace quenlix {

// Base of every page that shows device data. The acquisition itself (binding
// devices of the device list, the settings, each step's frames) is done by
// an AcquisitionSession the page owns; the page turns what the session
// reports into the program's messages and its own virtual operations.
// Everything runs on the UI thread; the links' own threads only publish
// frames, which are copied here, so no tick waits for a USB transfer.
//
// Adding a page kind:
//   1. its command id, ID_NEW_… / ID_OPEN_…, beside the others in
//      SpectrumRegionDlg.h; the id is also the page's kind;
//   2. its menu item: AddCommand in CVarelix2Dlg::BuildMenu, its caption in
//      RelabelMenu, and the id among those OnCommand sends as WM_OPEN_TAB;
//   3. its title, a "…(%d)" row of the text table;
//   4. its class, derived from CReceiveData (or a display base derived from
//      it), overriding OnDeviceAdded, OnNewSpectrum and the rest it needs;
//   5. a case in CSpectrumRegionDlg::CreatePage, the one place that knows
//      the kinds: any question before opening, the title, the page;
//   6. its acquisition timer: the page starts SetTimer(2,
//      AcquisitionInterval()), calls PullFrames in OnTimer(2) and restarts
//      the timer in OnIntegralTimeApplied, as the period follows the time.
class CReceiveData : public Window, private AcquisitionListener {
public:
    explicit CReceiveData(QWidget* parent = nullptr);
    ~CReceiveData() override;

    // Takes the parameter strip's settings (WM_PAGE_PARAMETER) on every page.
    LRESULT OnMessage(unsigned msg, WPARAM wParam, LPARAM lParam) override;

    virtual void SetTabId(int id);
    virtual void ApplyLanguage(int index);
    virtual void AddDeviceByNumber(int number);
    virtual void AddDeviceBySerial(const std::wstring& serialNumber);
    virtual void RemoveDeviceBySerial(const std::wstring& serialNumber);
    virtual void RemoveAllDevices();
    virtual void BeforeRescan();
    virtual void AfterRescan();
    // A new calibration was written into the device of that serial number:
    // its X axis is read again when the page has it bound.
    virtual void ReloadDeviceAxes(const std::wstring& serialNumber);
    // The device's record holds its new X axis and display window.
    virtual void OnAxesReloaded(const ViewDevice& device);
    virtual void PutIntegralTime(double ms);
    virtual void PutAvgCount(int n);
    virtual void PutSmoothness(int n);
    virtual void PutTriggerMode(int mode);
    virtual double GetIntegralTime() const;
    virtual int GetAvgCount() const;
    virtual int GetSmoothness() const;
    virtual int GetTriggerMode() const;
    // The window the region panel sends this page's messages to.
    virtual Window* PageWindow();
    virtual void OnDeviceAdded(int number, int pointCount, const double* xBuffer,
                               const std::wstring& serialNumber);
    virtual void RenamePage(const QString& text);
    virtual void ClosePage();
    // One acquisition step; returns 1.
    virtual int PullFrames();
    // The device's newest raw frame was copied into its record (before the
    // averaging); every frame of every bound device comes by here.
    virtual void OnFrameTaken(const ViewDevice& device);
    virtual void OnNewSpectrum(int number, const double* yBuffer);
    virtual void AfterPull();
    // Period of the acquisition timer in ms.
    virtual int AcquisitionInterval() const;
    virtual void AddDevice(const DeviceEntry& entry);
    // kind 0 integration time (value points to a double in ms), 1 averaging,
    // 2 smoothing, 3 trigger (0 internal, 1 external). Non-zero = accepted.
    // A time no device takes as asked leaves the page, and the strip, with
    // the shortest time the devices took.
    virtual int ApplyParameter(int kind, LPARAM value);
    virtual void OnIntegralTimeApplied();

    const std::vector<std::unique_ptr<ViewDevice>>& DeviceRecords() const { return deviceRecords; }

protected:
    // Places the close button, the name box and its label at the right of
    // the page's top row; the row's height.
    int PlaceTopRow();

    QPushButton* closeButton;
    QLineEdit* nameBox;
    QLabel* nameLabel;

    AcquisitionSession session;
    // The session's state under the names the pages use.
    bool& receiving = session.receiving;
    double& integralTimeMS = session.settings.integralTimeMS;
    int& avgCount = session.settings.avgCount;
    int& smoothness = session.settings.smoothness;
    int& triggerMode = session.settings.triggerMode;
    int& xTypeCode = session.settings.xTypeCode;
    int& yTypeCode = session.settings.yTypeCode;
    std::vector<std::unique_ptr<ViewDevice>>& deviceRecords = session.Records();
    int& acquisitionCommand = session.acquisitionCommand;  // 0 run, 1 stop, 2 run once
    int tabId = 0;

private:
    void DeviceBound(const ViewDevice& device) final;
    void FrameTaken(const ViewDevice& device) final;
    void SpectrumReady(const ViewDevice& device) final;
    void LinkFailed() final;
    void IntegralTimeTaken(double ms) final;
    void IntegralTimeApplied() final;
};

}  // namespace quenlix
