#include "ReceiveData.h"

#include <algorithm>
#include <cmath>

#include "ProcessValues.h"
#include "SettingsFiles.h"

namespace quenlix {
namespace {
// Largest frame any supported model delivers, with room to spare.
constexpr int kMaxPixels = 20480;
}  // namespace

CReceiveData::CReceiveData(QWidget* parent)
    : Window(parent),
      closeButton(new QPushButton(QStringLiteral("×"), this)),
      nameBox(new QLineEdit(this)),
      nameLabel(new QLabel(this)),
      integralTimeMS(ReadIntegralTimeFile()),
      frameScratch(kMaxPixels) {
    connect(closeButton, &QPushButton::clicked, this, [this] { ClosePage(); });
    connect(nameBox, &QLineEdit::returnPressed, this, [this] { RenamePage(nameBox->text()); });
}

CReceiveData::~CReceiveData() = default;

void CReceiveData::SetTabId(int id) { tabId = id; }

void CReceiveData::ApplyLanguage(int) {}

void CReceiveData::AddDeviceByNumber(int number) {
    if (const DeviceEntry* entry = FindDeviceByNumber(number)) AddDevice(*entry);
}

void CReceiveData::AddDeviceBySerial(const std::wstring& serialNumber) {
    if (const DeviceEntry* entry = FindDeviceBySerial(serialNumber)) AddDevice(*entry);
}

void CReceiveData::RemoveDeviceBySerial(const std::wstring& serialNumber) {
    std::erase_if(deviceRecords, [&](const auto& r) { return r->serialNumber == serialNumber; });
}

void CReceiveData::RemoveAllDevices() { deviceRecords.clear(); }

void CReceiveData::BeforeRescan() { receiving = false; }

void CReceiveData::AfterRescan() {
    std::erase_if(deviceRecords, [this](const std::unique_ptr<ViewDevice>& record) {
        const DeviceEntry* entry = FindDeviceBySerial(record->serialNumber);
        if (!entry) return true;
        // The preprocessor goes on with its averages, dark and reference; the
        // new link keeps the settings of its own start.
        record->number = entry->number;
        record->link = entry->link.get();
        LoadAxes(*record);
        record->lastFrameNo = -1;
        record->lastDataNo = record->preprocessor->GetDataNo();
        return false;
    });
    receiving = true;
}

void CReceiveData::PutIntegralTime(double ms) { integralTimeMS = ms; }
void CReceiveData::PutAvgCount(int n) { avgCount = n; }
void CReceiveData::PutSmoothness(int n) { smoothness = n; }
void CReceiveData::PutTriggerMode(int mode) { triggerMode = mode; }
double CReceiveData::GetIntegralTime() const { return integralTimeMS; }
int CReceiveData::GetAvgCount() const { return avgCount; }
int CReceiveData::GetSmoothness() const { return smoothness; }
int CReceiveData::GetTriggerMode() const { return triggerMode; }

Window* CReceiveData::PageWindow() { return this; }

void CReceiveData::OnDeviceAdded(int, int, const double*, const std::wstring&) {}

void CReceiveData::RenamePage(const QString& text) {
    if (text.isEmpty()) return;
    SendMessage(messageTargets.regionPanel, WM_RENAME_TAB, static_cast<WPARAM>(tabId),
                reinterpret_cast<LPARAM>(&text));
}

void CReceiveData::ClosePage() {
    SendMessage(messageTargets.regionPanel, WM_CLOSE_TAB, static_cast<WPARAM>(tabId), 0);
}

int CReceiveData::PullFrames() {
    if (receiving && (acquisitionCommand == 0 || acquisitionCommand == 2)) {
        for (const auto& record : deviceRecords) {
            if (!record->link->IsKestrionRight()) {
                // The rescan runs before this returns and rebinds the records.
                SendMessage(messageTargets.mainWindow, WM_RESCAN_DEVICES, 0, 0);
                break;
            }
        }
        // A link that has not received its first frame yet has only an empty
        // buffer to offer: that is no new frame either.
        const bool allNew = std::all_of(deviceRecords.begin(), deviceRecords.end(), [](const auto& r) {
            return r->link->IsANewFrame() && r->link->GetFrameNo() != r->lastFrameNo;
        });
        if (allNew) {
            for (const auto& record : deviceRecords) {
                record->lastFrameNo = record->link->GetFrameNo();
                record->link->GetYData(frameScratch.data());
                record->preprocessor->AddNewSpectrumData(frameScratch.data());
                const long dataNo = record->preprocessor->GetDataNo();
                if (dataNo != record->lastDataNo) {
                    record->preprocessor->GetYData(record->yBuffer.data());
                    record->lastDataNo = dataNo;
                    OnNewSpectrum(record->number, record->yBuffer.data());
                }
            }
        }
    }
    AfterPull();
    return 1;
}

void CReceiveData::OnNewSpectrum(int, const double*) {}

void CReceiveData::AfterPull() {}

int CReceiveData::AcquisitionInterval() const {
    const double interval = std::trunc(0.8 * integralTimeMS);
    return interval > 10 ? static_cast<int>(std::min(interval, 1e9)) : 10;
}

void CReceiveData::LoadAxes(ViewDevice& record) {
    CKestrion& link = *record.link;
    int first = 0;
    int count = record.pointCount;
    link.GetXData(record.xBuffer.data(), first, count);
    // A display window outside the frame would make every later copy run
    // past the buffers: fall back to the whole frame.
    const int pixels = static_cast<int>(record.xBuffer.size());
    if (first < 0 || count <= 0 || first > pixels - count) {
        first = 0;
        count = pixels;
    }
    record.pointCount = count;
    CCondira& pre = *record.preprocessor;
    pre.SetWavelengthNm(record.xBuffer.data());
    pre.SetYIntensityRegion(link.GetMinY(), link.GetMaxY());
    pre.SetDisPixelCount(first, count);
    pre.SetXAxisType(xTypeCode);
    pre.SetYAxisType(yTypeCode);
    pre.GetXData(record.xBuffer.data());
}

void CReceiveData::ApplyTrigger(CKestrion& link, bool external) {
    if (external) {
        link.SetDevExtTrigger();
    } else {
        link.SetDevClockTrigger();
    }
}

void CReceiveData::AddDevice(const DeviceEntry& entry) {
    CKestrion& link = *entry.link;
    const int pixels = link.GetPixelCount();
    if (pixels <= 0 || pixels > kMaxPixels) return;  // not a frame this page can hold
    auto record = std::make_unique<ViewDevice>();
    record->number = entry.number;
    record->serialNumber = entry.serialNumber;
    record->preprocessor = std::make_unique<CCondira>(pixels);
    record->link = &link;
    record->pointCount = pixels;
    record->xBuffer.assign(pixels, 0.0);
    record->yBuffer.assign(pixels, 0.0);
    LoadAxes(*record);
    record->lastFrameNo = -1;
    // A spectrum goes to the page only when an averaging block completes,
    // not for the empty one a fresh preprocessor holds.
    record->lastDataNo = record->preprocessor->GetDataNo();
    link.SetIntegralTimeMS(integralTimeMS);
    record->preprocessor->SetExcitationWavelength(excitationWavelengthSetting);
    // The strip stores 1 for external triggering and older callers 2; both
    // mean external, so a device bound later runs as the others do.
    if (triggerMode == 1 || triggerMode == 2) {
        ApplyTrigger(link, true);
    } else if (triggerMode == 0) {
        ApplyTrigger(link, false);
    }
    record->preprocessor->SetAvgCount(avgCount);
    record->preprocessor->SetSmoothness(smoothness);
    ViewDevice& added = *record;
    deviceRecords.push_back(std::move(record));
    OnDeviceAdded(added.number, added.pointCount, added.xBuffer.data(), added.serialNumber);
}

int CReceiveData::ApplyParameter(int kind, LPARAM value) {
    switch (kind) {
        case 0: {
            const auto* requested = reinterpret_cast<const double*>(value);
            if (!requested || !std::isfinite(*requested)) return 0;
            const double ms = *requested;
            int accepted = 0;
            for (const auto& record : deviceRecords) accepted |= record->link->SetIntegralTimeMS0(ms);
            if (accepted) {
                integralTimeMS = ms;
            } else {
                double shown = 99999999.0;
                for (const auto& record : deviceRecords)
                    shown = std::min(shown, record->link->GetIntegralTimeMS());
                if (shown > 100000.0) shown = ms;  // no device: keep the typed value
                SendMessage(messageTargets.parameterStrip, WM_INTEGRATION_TIME_SHOWN, 0,
                            reinterpret_cast<LPARAM>(&shown));
                integralTimeMS = shown;
            }
            OnIntegralTimeApplied();
            return accepted;
        }
        case 1:
            if (value < 1) return 0;  // the preprocessor refuses it too
            for (const auto& record : deviceRecords) record->preprocessor->SetAvgCount(static_cast<int>(value));
            avgCount = static_cast<int>(value);
            return 1;
        case 2:
            if (value < 0) return 0;
            for (const auto& record : deviceRecords)
                record->preprocessor->SetSmoothness(static_cast<int>(value));
            smoothness = static_cast<int>(value);
            return 1;
        case 3:
            if (value != 0 && value != 1) return 0;
            for (const auto& record : deviceRecords) ApplyTrigger(*record->link, value == 1);
            triggerMode = static_cast<int>(value);
            return 1;
        default:
            return 0;
    }
}

void CReceiveData::OnIntegralTimeApplied() {}

}  // namespace quenlix
