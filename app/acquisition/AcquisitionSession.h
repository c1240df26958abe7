#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "DeviceList.h"
#include "ViewDevice.h"

namespace quenlix {

// What a session tells its owner, on the thread that drives the session.
class AcquisitionListener {
public:
    // A device was bound and set up; its X buffer holds the display window.
    virtual void DeviceBound(const ViewDevice&) {}
    // A new frame was copied into the device's frame buffer (raw counts),
    // before it went into the averaging.
    virtual void FrameTaken(const ViewDevice&) {}
    // An averaging block completed: the device's yBuffer holds the spectrum.
    virtual void SpectrumReady(const ViewDevice&) {}
    // A bound link has failed. The owner may rescan and call Rebind before
    // returning; the step then goes on with the records as they are.
    virtual void LinkFailed() {}
    // No bound device runs at the integration time asked for: ms is the one
    // the session keeps, the shortest the devices took.
    virtual void IntegralTimeTaken(double /*ms*/) {}
    // An integration time was applied to the bound devices.
    virtual void IntegralTimeApplied() {}

protected:
    ~AcquisitionListener() = default;
};

// The acquisition settings a session gives the devices it binds.
struct AcquisitionSettings {
    double integralTimeMS = 100.0;
    int avgCount = 1;
    int smoothness = 0;
    int triggerMode = 0;  // 0 internal; 1 or 2 external
    int xTypeCode = 0;    // unit codes of the preprocessor
    int yTypeCode = 0;
    double excitationWavelengthNm = 785.0;
};

// The acquisition core a page and a command-line tool share, without any
// window: binds devices of the device list, applies the acquisition settings
// to all of them at once and, on each Step, copies every device's newest
// frame through its preprocessor. Everything runs on one thread, the
// caller's; the links' own threads only publish frames, which are copied
// here with their numbers, so no step waits for a USB transfer.
class AcquisitionSession {
public:
    explicit AcquisitionSession(AcquisitionListener& listener);
    AcquisitionSession(const AcquisitionSession&) = delete;
    AcquisitionSession& operator=(const AcquisitionSession&) = delete;

    // The owner reads and sets these directly; settings reach a device when
    // it is bound or through the Apply calls.
    AcquisitionSettings settings;
    bool receiving = true;       // frames are pulled only while true
    int acquisitionCommand = 0;  // 0 run, 1 stop, 2 run once
    std::vector<std::unique_ptr<ViewDevice>>& Records() { return records_; }

    // Binds the entry's device with the settings above; a device whose frame
    // no preprocessor here can hold is passed over. The integration time
    // goes through the same clamping as ApplyIntegralTime, so the session
    // keeps what the devices took.
    void Bind(const DeviceEntry& entry);
    void Unbind(const std::wstring& serialNumber);
    void UnbindAll();
    // Stops the steps until Rebind.
    void PauseForRescan();
    // After the device list was rebuilt: every record finds its device again
    // by serial number (keeping its preprocessor, whose averages, dark and
    // reference survive; the new link keeps the settings of its own start),
    // or is unbound. Steps run again afterwards.
    void Rebind();
    // After a calibration was written into a device: the bound record of that
    // serial number reads its X axis and display window again (keeping its
    // preprocessor). The record, or none when the device is not bound here.
    const ViewDevice* ReloadAxes(const std::wstring& serialNumber);

    // One acquisition step: reports a failed link first, then, when every
    // bound device has a frame it has not had yet, feeds each device's
    // newest frame to its preprocessor, so the devices stay in step. Each
    // record's saturation marks follow its frames: those of the newest frame
    // on every frame, those of the spectrum when its block completes.
    void Step();

    // Each returns 1 when taken, 0 when refused (nothing changes then).
    // Integration time in ms (clamped per device into its limits): 1 when
    // a bound device now runs at it. Otherwise the session keeps the
    // shortest time the devices took (the asked one without devices) and
    // reports it. A time that is not finite is refused.
    int ApplyIntegralTime(double ms);
    int ApplyAvgCount(std::int64_t count);      // 1 … INT_MAX
    int ApplySmoothness(std::int64_t halfWidth);  // 0 … INT_MAX
    int ApplyTriggerMode(std::int64_t mode);    // 0 internal, 1 external

private:
    // Reads the link's X axis into the record and sets up its preprocessor's
    // axes; shared by binding and rebinding.
    void LoadAxes(ViewDevice& record);
    // Marks the saturated pixels of the record's newest frame and keeps each
    // pixel's highest count of the running averaging block.
    void MarkSaturation(ViewDevice& record);
    // After a setting went to the record's link: the next step waits for a
    // frame the link publishes from now on.
    void SkipFramesTakenSoFar(ViewDevice& record);
    // The integration time the devices now run at, kept and reported as
    // described at ApplyIntegralTime; 1 when one of them runs at ms.
    int KeepTakenIntegralTime(double ms);

    AcquisitionListener& listener_;
    std::vector<std::unique_ptr<ViewDevice>> records_;
};

}  // namespace quenlix
