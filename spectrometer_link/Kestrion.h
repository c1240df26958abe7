#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

// libkestrion: finds USB array spectrometers, reads their identity and
// wavelength calibration, sets integration time and trigger, fetches frames
// on a thread of its own and writes calibration data into the device.

namespace kestrion {
class UsbDevice;
class UsbEndpoint;
class PeriodicTimer;
}  // namespace kestrion

// Where spectrometers come from, for every link started afterwards.
//
// UseUsbSpectrometers (the default): real devices through libusb, those whose
// vendor:product pair is listed in config/usb devices.txt.
//
// UseSimulatedSpectrometers: count simulated devices instead (default 2;
// clamped to 1 … 16); returns the number registered. Unit k is a model 0
// ("Velmora", 3630 pixels) with serial part "SIM" + k in five digits, device
// range 200 … 1100 nm and no display range of its own, looking at a
// mercury–argon lamp (even k) or ruby fluorescence (odd k). Each call makes
// fresh units; coefficients written into a unit last as long as its units do.
void UseUsbSpectrometers();
int UseSimulatedSpectrometers(int count = 2);

// Calibration writers. link is a started CKestrion.
//
// Writes coefficients[0 … count-1] (count 1 … 4) as the wavelength polynomial
// c0 + c1·p + c2·p² + c3·p³, one write per coefficient 50 ms apart; every write
// is attempted. 1 when all succeeded, and the link's coefficients then take
// the values written; else 0 and they stay as they were.
int WriteDemarcateData(void* link, const double* coefficients, int count);
// Fits the cubic through count (pixel, wavelength) pairs and writes it:
// 1 when written, 0 when the fit is not possible (fewer than 4 pairs, or no
// finite result) or a write failed, -1 when the numeric library cannot be loaded.
int WriteDemarcateData(void* link, const double* wavelengths, const double* pixels, int count);
int WriteDemarcateData(void* link, const double* wavelengths, const int* pixels, int count);
// Kept for callers of the device interface; they write nothing and return 1.
int WriteCorrectData(void* link, const int* pixels, const double* values, int count);
int WriteConSpecFaultPixel(void* link, const int* pixels, int count);

// One spectrometer: start it by index, read its identity and X axis, set the
// integration time and trigger, and read the frames its acquisition thread
// fetches (period: whole milliseconds of the integration time + 4 ms).
//
// Threads: any member may be called from any thread while the acquisition
// thread runs. Device conversations are serialised (ioMutex_); the frame and
// the device description are published under stateMutex_, so GetYData always
// copies one whole frame. The identity strings returned by reference change
// only in a StartDevice called by the owner: a reopen after a failed fetch
// finds the same device, or leaves them as they are.
class CKestrion {
public:
    CKestrion();
    virtual ~CKestrion();
    CKestrion(const CKestrion&) = delete;
    CKestrion& operator=(const CKestrion&) = delete;

    int GetAllDeviceCount();
    // 1 when the device at index is open, identified, of a listed model and
    // set to its shortest integration time.
    int StartDevice(int index);
    // StartDevice(GetDeviceIndex()) that succeeds only for that serial number;
    // another device found there is closed again and the link left as it was.
    int StartDevice(const std::wstring& serialNumber);
    int GetDeviceIndex() const;
    bool IsKestrionRight() const;

    const std::wstring& GetDeviceName() const;
    const std::wstring& GetVersionInfo() const;
    const std::wstring& GetSerialNumber() const;
    double GetMinX() const;
    double GetMaxX() const;
    double GetMinY() const;
    double GetMaxY() const;
    double GetDeviceMinX() const;
    double GetDeviceMaxX() const;
    int GetPixelCount() const;
    int GetDisPixelCount() const;

    // Recompute the X axis from the device and the display window; x (when
    // not null) takes GetPixelCount() values. 1, or -1 when the numeric
    // library cannot be loaded (X is then the plain polynomial).
    int GetXData(double* x);
    int GetXData(double* x, int& first, int& count);
    int GetDisXData(double* x);  // GetDisPixelCount() values
    // Counts of the last frame: all pixels / the display window. Return 0.
    int GetYData(double* y) const;
    int GetDisYData(double* y) const;

    double GetIntegralTimeMS() const;
    int SetIntegralTimeMS(double ms);
    // Clamps ms into the model's limits first; 1 when no clamping was needed.
    int SetIntegralTimeMS0(double ms);

    int SetDevClockTrigger();
    int SetDevSoftTrigger();
    int SetDevExtTrigger();
    int SetDevSyncTrigger();  // not supported by the devices: always 0
    // In soft trigger mode lets count frames through; 0 lets frames flow
    // until the mode changes.
    void SoftTrigOnce(int count);
    bool IsClockTrigger() const;
    bool IsSoftTrigger() const;
    bool IsExtTrigger() const;
    bool IsSyncTrigger() const;

    bool IsANewFrame() const;
    long GetFrameNo() const;  // frames received since construction
    double RcvDataDurationMS() const;
    void GetCalibrationParams(double* c) const;  // 4 values
    double GetDarkRegion() const;

private:
    friend int WriteDemarcateData(void* link, const double* coefficients, int count);
    struct DeviceInfo;

    void InitParams();
    void ReleaseParams();
    int Start(int index, const std::wstring* requiredSerial);
    bool ReadDeviceInfo(DeviceInfo& info);
    void ApplyDeviceInfo(const DeviceInfo& info);
    int ComputeXAxis();
    int ReadDemarcateData(double* values, int count);
    bool IsRcvDataReady();
    bool ReceiveYData();
    void FrameCallback();
    int SelectTrigger(uint8_t request, int mode);
    kestrion::UsbEndpoint* VendorRequest(uint8_t request, uint16_t value);  // control endpoint, fields set
    bool VendorRead(uint8_t request, uint16_t value, uint8_t* data, int length, bool exact);
    bool VendorWrite(uint8_t request, uint16_t value, const uint8_t* data, int length);
    bool Exchange(const uint8_t* command, uint8_t* reply, int& replyLength);

    // Guarded by stateMutex_ for readers on other threads; written only with
    // ioMutex_ held too, so code under ioMutex_ reads them directly.
    double minX = 0, maxX = 0, minY = 0, maxY = 0, deviceMinX = 0, deviceMaxX = 0;
    int32_t pixelCount = 0;
    int32_t disPixelCount = 0;
    std::wstring deviceName, versionInfo, serialNumber;
    int32_t modelIndex;
    int32_t deviceIndex = 0;
    int32_t disFirst = 0, disLast = 0;
    double calibCoeffs[4] = {0, 0, 0, 0};
    double integralTimeMS = 0;
    std::vector<uint32_t> yCounts;
    bool softTrigPending = false;
    int32_t softTrigCount = 0;
    mutable std::mutex stateMutex_;

    // Guarded by ioMutex_ (recursive: a failed fetch restarts the device).
    std::unique_ptr<kestrion::UsbDevice> usbDevice;
    int32_t defectRecord[3] = {0, 0, 0};
    std::vector<double> xData_;
    std::vector<uint8_t> frameBuffer_;
    std::vector<uint32_t> unpacked_;
    mutable std::recursive_mutex ioMutex_;

    std::atomic<double> rcvDurationMS{0};
    std::atomic<bool> linkRight{true};
    std::atomic<int32_t> triggerMode{0};  // 0 clock, 1 soft, 2 external, 3 sync
    std::atomic<bool> newFrame{false};
    std::atomic<int32_t> frameNo{0};
    std::unique_ptr<kestrion::PeriodicTimer> timer_;
};
