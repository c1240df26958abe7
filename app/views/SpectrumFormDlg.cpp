#include "SpectrumFormDlg.h"

#include <QHeaderView>
#include <algorithm>
#include <vector>

#include "AxisUnitNames.h"
#include "DataFileLoad.h"
#include "Lexora.h"
#include "Prompts.h"
#include "SavingTexts.h"
#include "UiText.h"

namespace quenlix {
namespace {
constexpr int kAcquisitionTimer = 2;
// The table is for reading numbers: ten refreshes a second are plenty,
// whatever the integration time.
constexpr int kRefreshMs = 100;
}  // namespace

CSpectrumFormDlg::CSpectrumFormDlg(QWidget* parent) : CReceiveData(parent), table_(new QTableView(this)) {
    table_->setModel(&rows_);
    table_->setShowGrid(true);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setWordWrap(false);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    // Rows as dense as a list's: more numbers in sight.
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    // Each column takes half of the width.
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
}

// The rows go before the table, which is a child of the page.
CSpectrumFormDlg::~CSpectrumFormDlg() { table_->setModel(nullptr); }

void CSpectrumFormDlg::ShowDevice(int number, int xType) {
    xTypeCode = xType >= 0 && xType <= 5 ? xType : 0;  // also the unit a rescan sets up again
    AddDeviceByNumber(number);
    if (!deviceRecords.empty()) {
        ViewDevice& device = *deviceRecords.front();
        // Once more now that the preprocessor knows the excitation wavelength,
        // which the Raman shift is reckoned from.
        device.preprocessor->SetXAxisType(xTypeCode);
        device.preprocessor->GetXData(device.xBuffer.data());
        OnAxesReloaded(device);
    }
    SetTimer(kAcquisitionTimer, kRefreshMs);
    SetHeadings();
}

// The buffer is as long as the frame; the display window is its start.
void CSpectrumFormDlg::OnAxesReloaded(const ViewDevice& device) {
    rows_.ShowX({device.xBuffer.begin(), device.xBuffer.begin() + device.pointCount});
}

bool CSpectrumFormDlg::ShowFile(const QString& path) {
    CDataFileLoad reader;
    const int count = reader.SetLoadingSingleDataFilePath(path.toStdWString()) == 1 ? reader.GetPixelCount() : 0;
    std::vector<double> x(static_cast<std::size_t>(std::max(count, 0))), y(x.size());
    if (count <= 0 || reader.LoadSingleData(x.data(), y.data()) != 1) {
        CurrentPrompts().MessageBox(this, OwnText(savingText_NotSpectrumFile).arg(path), Text(strGeneral_MsgboxWrong),
                                    Prompts::Buttons::Ok);
        return false;
    }
    reader.GetDataType(xTypeCode, yTypeCode);
    rows_.ShowSpectrum(std::move(x), std::move(y));
    SetHeadings();
    return true;
}

void CSpectrumFormDlg::ApplyLanguage(int) {
    nameLabel->setText(Text(strMainDlg_SpecRegion_SpecTab_SetTabName));
    SetHeadings();
}

void CSpectrumFormDlg::OnNewSpectrum(int number, const double* yBuffer) {
    for (const auto& device : deviceRecords)
        if (device->number == number) rows_.SetY(yBuffer, device->pointCount);
}

void CSpectrumFormDlg::OnTimer(int id) {
    if (id == kAcquisitionTimer) PullFrames();
}

void CSpectrumFormDlg::resizeEvent(QResizeEvent*) {
    const int top = PlaceTopRow();
    table_->setGeometry(0, top, width(), std::max(0, height() - top));
    SetHeadings();
}

void CSpectrumFormDlg::SetHeadings() { rows_.SetHeadings(XUnitName(xTypeCode), YUnitName(yTypeCode)); }

}  // namespace quenlix
