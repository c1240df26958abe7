#include "ReceiveData.h"

#include <algorithm>
#include <cmath>

#include "MessagePayloads.h"
#include "ProcessValues.h"
#include "SettingsFiles.h"

namespace quenlix {

CReceiveData::CReceiveData(QWidget* parent)
    : Window(parent),
      closeButton(new QPushButton(QStringLiteral("×"), this)),
      nameBox(new QLineEdit(this)),
      nameLabel(new QLabel(this)),
      session(*this) {
    integralTimeMS = ReadIntegralTimeFile();
    connect(closeButton, &QPushButton::clicked, this, [this] { ClosePage(); });
    connect(nameBox, &QLineEdit::returnPressed, this, [this] { RenamePage(nameBox->text()); });
}

CReceiveData::~CReceiveData() = default;

int CReceiveData::PlaceTopRow() {
    const int w = width();
    const QSize close = closeButton->sizeHint();
    const int top = close.height();
    closeButton->setGeometry(w - close.width(), 0, close.width(), top);
    nameBox->setGeometry(w - close.width() - 110, 0, 100, top);
    nameLabel->setGeometry(nameBox->x() - 200, 4, 200, top - 4);
    return top;
}

void CReceiveData::SetTabId(int id) { tabId = id; }

void CReceiveData::ApplyLanguage(int) {}

void CReceiveData::AddDeviceByNumber(int number) {
    if (const DeviceEntry* entry = FindDeviceByNumber(number)) AddDevice(*entry);
}

void CReceiveData::AddDeviceBySerial(const std::wstring& serialNumber) {
    if (const DeviceEntry* entry = FindDeviceBySerial(serialNumber)) AddDevice(*entry);
}

void CReceiveData::RemoveDeviceBySerial(const std::wstring& serialNumber) { session.Unbind(serialNumber); }

void CReceiveData::RemoveAllDevices() { session.UnbindAll(); }

void CReceiveData::BeforeRescan() { session.PauseForRescan(); }

void CReceiveData::AfterRescan() { session.Rebind(); }

void CReceiveData::ReloadDeviceAxes(const std::wstring& serialNumber) {
    if (const ViewDevice* device = session.ReloadAxes(serialNumber)) OnAxesReloaded(*device);
}

void CReceiveData::OnAxesReloaded(const ViewDevice&) {}

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
    SendWithLParam<WM_RENAME_TAB>(messageTargets.regionPanel, static_cast<WPARAM>(tabId), text);
}

void CReceiveData::ClosePage() {
    SendMessage(messageTargets.regionPanel, WM_CLOSE_TAB, static_cast<WPARAM>(tabId), 0);
}

int CReceiveData::PullFrames() {
    session.Step();
    AfterPull();
    return 1;
}

void CReceiveData::OnFrameTaken(const ViewDevice&) {}

void CReceiveData::OnNewSpectrum(int, const double*) {}

void CReceiveData::AfterPull() {}

LRESULT CReceiveData::OnMessage(unsigned msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_PAGE_PARAMETER) return ApplyParameter(static_cast<int>(wParam), lParam);
    return Window::OnMessage(msg, wParam, lParam);
}

int CReceiveData::AcquisitionInterval() const {
    const double interval = std::trunc(0.8 * integralTimeMS);
    return interval > 10 ? static_cast<int>(std::min(interval, 1e9)) : 10;
}

void CReceiveData::AddDevice(const DeviceEntry& entry) {
    session.settings.excitationWavelengthNm = excitationWavelengthSetting;
    session.Bind(entry);
}

int CReceiveData::ApplyParameter(int kind, LPARAM value) {
    switch (kind) {
        case 0: {
            const double* ms = LParamData<WM_PAGE_PARAMETER>(value);
            return ms ? session.ApplyIntegralTime(*ms) : 0;
        }
        case 1:
            return session.ApplyAvgCount(value);
        case 2:
            return session.ApplySmoothness(value);
        case 3:
            return session.ApplyTriggerMode(value);
        default:
            return 0;
    }
}

void CReceiveData::OnIntegralTimeApplied() {}

void CReceiveData::DeviceBound(const ViewDevice& device) {
    OnDeviceAdded(device.number, device.pointCount, device.xBuffer.data(), device.serialNumber);
}

void CReceiveData::FrameTaken(const ViewDevice& device) { OnFrameTaken(device); }

void CReceiveData::SpectrumReady(const ViewDevice& device) { OnNewSpectrum(device.number, device.yBuffer.data()); }

void CReceiveData::LinkFailed() {
    // The rescan runs before this returns and rebinds the records.
    SendMessage(messageTargets.mainWindow, WM_RESCAN_DEVICES, 0, 0);
}

void CReceiveData::IntegralTimeTaken(double ms) {
    SendWithLParam<WM_INTEGRATION_TIME_SHOWN>(messageTargets.parameterStrip, 0, ms);
}

void CReceiveData::IntegralTimeApplied() { OnIntegralTimeApplied(); }

}  // namespace quenlix
