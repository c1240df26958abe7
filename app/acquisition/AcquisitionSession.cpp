#include "AcquisitionSession.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace quenlix {
namespace {

// Largest frame any supported model delivers, with room to spare.
constexpr int kMaxPixels = 20480;

void SelectTrigger(CKestrion& link, bool external) {
    if (external) {
        link.SetDevExtTrigger();
    } else {
        link.SetDevClockTrigger();
    }
}

bool FitsInt(std::int64_t value, std::int64_t low) {
    return value >= low && value <= std::numeric_limits<int>::max();
}

}  // namespace

AcquisitionSession::AcquisitionSession(AcquisitionListener& listener) : listener_(listener) {}

void AcquisitionSession::Bind(const DeviceEntry& entry) {
    CKestrion& link = *entry.link;
    const int pixels = link.GetPixelCount();
    if (pixels <= 0 || pixels > kMaxPixels) return;
    auto record = std::make_unique<ViewDevice>();
    record->number = entry.number;
    record->serialNumber = entry.serialNumber;
    record->preprocessor = std::make_unique<CCondira>(pixels);
    record->link = &link;
    record->pointCount = pixels;
    record->xBuffer.assign(pixels, 0.0);
    record->yBuffer.assign(pixels, 0.0);
    record->frame.assign(pixels, 0.0);
    LoadAxes(*record);
    // A spectrum goes to the owner only when an averaging block completes,
    // not for the empty one a fresh preprocessor holds.
    record->lastDataNo = record->preprocessor->GetDataNo();
    link.SetIntegralTimeMS0(settings.integralTimeMS);
    record->preprocessor->SetExcitationWavelength(settings.excitationWavelengthNm);
    // The strip stores 1 for external triggering and older callers 2; both
    // mean external, so a device bound later runs as the others do.
    if (settings.triggerMode == 1 || settings.triggerMode == 2) {
        SelectTrigger(link, true);
    } else if (settings.triggerMode == 0) {
        SelectTrigger(link, false);
    }
    SkipFramesTakenSoFar(*record);
    record->preprocessor->SetAvgCount(settings.avgCount);
    record->preprocessor->SetSmoothness(settings.smoothness);
    const ViewDevice& added = *record;
    records_.push_back(std::move(record));
    KeepTakenIntegralTime(settings.integralTimeMS);
    listener_.DeviceBound(added);
}

void AcquisitionSession::Unbind(const std::wstring& serialNumber) {
    std::erase_if(records_, [&](const auto& r) { return r->serialNumber == serialNumber; });
}

void AcquisitionSession::UnbindAll() { records_.clear(); }

void AcquisitionSession::PauseForRescan() { receiving = false; }

void AcquisitionSession::Rebind() {
    std::erase_if(records_, [this](const std::unique_ptr<ViewDevice>& record) {
        const DeviceEntry* entry = FindDeviceBySerial(record->serialNumber);
        // A frame of another size would not fit the preprocessor kept.
        if (!entry || entry->link->GetPixelCount() != record->preprocessor->GetPixelCount()) return true;
        record->number = entry->number;
        record->link = entry->link.get();
        LoadAxes(*record);
        record->lastFrameNo = -1;
        record->lastDataNo = record->preprocessor->GetDataNo();
        return false;
    });
    receiving = true;
}

const ViewDevice* AcquisitionSession::ReloadAxes(const std::wstring& serialNumber) {
    for (const auto& record : records_) {
        if (record->serialNumber != serialNumber) continue;
        LoadAxes(*record);
        return record.get();
    }
    return nullptr;
}

void AcquisitionSession::Step() {
    if (!receiving || (acquisitionCommand != 0 && acquisitionCommand != 2)) return;
    if (std::any_of(records_.begin(), records_.end(), [](const auto& r) { return !r->link->IsKestrionRight(); }))
        listener_.LinkFailed();
    // A link that has not received its first frame yet has nothing to offer.
    const bool allNew = std::all_of(records_.begin(), records_.end(), [](const auto& r) {
        const long frameNo = r->link->GetFrameNo();
        return frameNo > 0 && frameNo != r->lastFrameNo;
    });
    if (!allNew) return;
    for (const auto& record : records_) {
        // The frame and its number come from one copy: a frame published
        // meanwhile is taken whole, never paired with another's number.
        record->lastFrameNo = record->link->CopyFrame(record->frame.data());
        MarkSaturation(*record);
        listener_.FrameTaken(*record);
        record->preprocessor->AddNewSpectrumData(record->frame.data());
        const long dataNo = record->preprocessor->GetDataNo();
        if (dataNo == record->lastDataNo) continue;
        // A superposed spectrum changes only when its last block completes,
        // and then holds every frame since the one before.
        if (record->preprocessor->GetSuperpositionIndex() == 0) {
            record->spectrumSaturation.Find(record->blockPeak.data(), record->pointCount, record->fullScale);
            std::fill(record->blockPeak.begin(), record->blockPeak.end(), 0.0);
        }
        record->preprocessor->GetYData(record->yBuffer.data());
        record->lastDataNo = dataNo;
        listener_.SpectrumReady(*record);
    }
}

void AcquisitionSession::MarkSaturation(ViewDevice& record) {
    const double* window = record.frame.data() + record.firstPixel;
    record.frameSaturation.Find(window, record.pointCount, record.fullScale);
    for (int i = 0; i < record.pointCount; ++i) record.blockPeak[i] = std::max(record.blockPeak[i], window[i]);
}

int AcquisitionSession::ApplyIntegralTime(double ms) {
    if (!std::isfinite(ms)) return 0;
    for (const auto& record : records_) {
        record->link->SetIntegralTimeMS0(ms);
        SkipFramesTakenSoFar(*record);
    }
    const int accepted = KeepTakenIntegralTime(ms);
    listener_.IntegralTimeApplied();
    return accepted;
}

int AcquisitionSession::KeepTakenIntegralTime(double ms) {
    double shortest = ms;  // without devices the asked time stays
    for (std::size_t i = 0; i < records_.size(); ++i) {
        const double taken = records_[i]->link->GetIntegralTimeMS();
        if (taken == ms) {
            settings.integralTimeMS = ms;
            return 1;
        }
        shortest = i == 0 ? taken : std::min(shortest, taken);
    }
    settings.integralTimeMS = shortest;
    listener_.IntegralTimeTaken(shortest);
    return 0;
}

int AcquisitionSession::ApplyAvgCount(std::int64_t count) {
    if (!FitsInt(count, 1)) return 0;  // the preprocessor refuses less than 1 too
    settings.avgCount = static_cast<int>(count);
    for (const auto& record : records_) record->preprocessor->SetAvgCount(settings.avgCount);
    return 1;
}

int AcquisitionSession::ApplySmoothness(std::int64_t halfWidth) {
    if (!FitsInt(halfWidth, 0)) return 0;
    settings.smoothness = static_cast<int>(halfWidth);
    for (const auto& record : records_) record->preprocessor->SetSmoothness(settings.smoothness);
    return 1;
}

int AcquisitionSession::ApplyTriggerMode(std::int64_t mode) {
    if (mode != 0 && mode != 1) return 0;
    for (const auto& record : records_) {
        SelectTrigger(*record->link, mode == 1);
        SkipFramesTakenSoFar(*record);
    }
    settings.triggerMode = static_cast<int>(mode);
    return 1;
}

void AcquisitionSession::SkipFramesTakenSoFar(ViewDevice& record) {
    // Read after the setting was handed to the link: a frame it publishes
    // from now on was exposed wholly with that setting, one published before
    // may not have been, however recent its number.
    record.lastFrameNo = record.link->GetFrameNo();
}

void AcquisitionSession::LoadAxes(ViewDevice& record) {
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
    record.firstPixel = first;
    record.fullScale = link.GetMaxY();
    record.frameSaturation.Reserve(count);
    record.spectrumSaturation.Reserve(count);
    record.blockPeak.assign(count, 0.0);
    CCondira& pre = *record.preprocessor;
    pre.SetWavelengthNm(record.xBuffer.data());
    pre.SetYIntensityRegion(link.GetMinY(), link.GetMaxY());
    pre.SetDisPixelCount(first, count);
    pre.SetXAxisType(settings.xTypeCode);
    pre.SetYAxisType(settings.yTypeCode);
    pre.GetXData(record.xBuffer.data());
}

}  // namespace quenlix
