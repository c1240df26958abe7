#pragma once

#include <QLineEdit>
#include <QLabel>
#include <QPushButton>
#include <memory>
#include <string>
#include <vector>

#include "Condira.h"
#include "DeviceList.h"
#include "Window.h"

namespace quenlix {

// One device bound to a view. The view owns the record, its preprocessor and
// buffers; the link belongs to the device list.
struct ViewDevice {
    int number = 0;
    std::wstring serialNumber;
    std::unique_ptr<CCondira> preprocessor;
    CKestrion* link = nullptr;
    std::vector<double> xBuffer;  // X in the current unit, display window only
    std::vector<double> yBuffer;  // the last processed spectrum
    int pointCount = 0;           // display-window pixel count
    long lastFrameNo = -1;
    long lastDataNo = -1;
};

// Base of every page that shows device data: binds devices of the device
// list, applies the acquisition settings to all of them at once and, on each
// acquisition tick, pulls their newest frames through preprocessing.
// Everything runs on the UI thread; the links' own threads only publish
// frames, which are copied here, so no tick waits for a USB transfer.
class CReceiveData : public Window {
public:
    explicit CReceiveData(QWidget* parent = nullptr);
    ~CReceiveData() override;

    virtual void SetTabId(int id);
    virtual void ApplyLanguage(int index);
    virtual void AddDeviceByNumber(int number);
    virtual void AddDeviceBySerial(const std::wstring& serialNumber);
    virtual void RemoveDeviceBySerial(const std::wstring& serialNumber);
    virtual void RemoveAllDevices();
    virtual void BeforeRescan();
    virtual void AfterRescan();
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
    virtual void OnNewSpectrum(int number, const double* yBuffer);
    virtual void AfterPull();
    // Period of the acquisition timer in ms.
    virtual int AcquisitionInterval() const;
    virtual void AddDevice(const DeviceEntry& entry);
    // kind 0 integration time (value points to a double in ms), 1 averaging,
    // 2 smoothing, 3 trigger (0 internal, 1 external). Non-zero = accepted.
    virtual int ApplyParameter(int kind, LPARAM value);
    virtual void OnIntegralTimeApplied();

    const std::vector<std::unique_ptr<ViewDevice>>& DeviceRecords() const { return deviceRecords; }

protected:
    QPushButton* closeButton;
    QLineEdit* nameBox;
    QLabel* nameLabel;

    bool receiving = true;
    double integralTimeMS = 100.0;
    int avgCount = 1;
    int smoothness = 0;
    int triggerMode = 0;
    int xTypeCode = 0;
    int yTypeCode = 0;
    std::vector<std::unique_ptr<ViewDevice>> deviceRecords;
    int acquisitionCommand = 0;  // 0 run, 1 stop, 2 run once
    std::vector<double> frameScratch;
    int tabId = 0;

private:
    // Reads the link's X axis into the record and sets up its preprocessor's
    // axes; shared by binding and rebinding after a rescan.
    void LoadAxes(ViewDevice& record);
    void ApplyTrigger(CKestrion& link, bool external);
};

}  // namespace quenlix
