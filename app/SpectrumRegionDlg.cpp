#include "SpectrumRegionDlg.h"

#include <algorithm>

#include "AddTabSetAxisDlg.h"
#include "ChooseDeviceDlg1.h"
#include "MessagePayloads.h"
#include "Lexora.h"
#include "OpenContinuousSpectrumDlg.h"
#include "Prompts.h"
#include "SpectrumDisplayDlg.h"
#include "SpectrumFormDlg.h"
#include "TimeTraceDlg.h"
#include "TraceTexts.h"
#include "WavelengthCalibrationDlg.h"
#include "UiText.h"

namespace quenlix {
namespace {
constexpr int kTabBarHeight = 22;
}

CSpectrumRegionDlg::CSpectrumRegionDlg(QWidget* parent)
    : Window(parent),
      strip_(new CDeviceParamsSettingDlg(this, this)),
      tabControl_(new QWidget(this)),
      tabBar_(new QTabBar(tabControl_)) {
    connect(tabBar_, &QTabBar::currentChanged, this, [this](int i) { ShowOnly(i); });
    messageTargets.regionPanel = this;
}

CSpectrumRegionDlg::~CSpectrumRegionDlg() {
    for (TabRecord& record : records_) record.page.reset();  // in tab order
}

NewPage CSpectrumRegionDlg::CreatePage(int kind, QWidget* parent) {
    NewPage made;
    made.result = 1;
    switch (kind) {
        case ID_NEW_SPECTRUM_CHART:
            made.title = FormatText(strMainDlg_SpecRegion_SpecTab_SpecChart, tabCounter);
            made.page = std::make_unique<CSpectrumDisplayDlg>(parent);
            break;
        case ID_NEW_SPECTRUM_FORM: {
            CAddTabSetAxisDlg source(this);
            CurrentPrompts().RunModal(source);
            const bool device = source.accepted && source.source == 1 && source.deviceIndex >= 0;
            const bool file = source.accepted && source.source == 2 && !source.filePath.isEmpty();
            if (!device && !file) break;
            auto form = std::make_unique<CSpectrumFormDlg>(parent);
            if (device) {
                form->ShowDevice(source.deviceIndex, source.xTypeCode);
            } else if (!form->ShowFile(source.filePath)) {
                break;  // read before the tab is added: a file that cannot be listed adds none
            }
            made.title = FormatText(strMainDlg_SpecRegion_SpecTab_SpecForm, tabCounter);
            made.page = std::move(form);
            break;
        }
        case ID_NEW_WAVELENGTH_CALIBRATION: {
            CChooseDeviceDlg1 chooser(this);
            CurrentPrompts().RunModal(chooser);
            if (chooser.chosenNumber == CChooseDeviceDlg1::kCancelled) break;
            made.title = FormatText(strMainDlg_SpecRegion_SpecTab_WavelengthCalibration, tabCounter);
            made.page = std::make_unique<CWavelengthCalibrationDlg>(chooser.chosenNumber, parent);
            break;
        }
        case ID_NEW_TIME_TRACE:
            made.title = OwnText(traceText_Title).replace(QStringLiteral("%d"), QString::number(tabCounter));
            made.page = std::make_unique<CTimeTraceDlg>(parent);
            break;
        case ID_OPEN_CONTINUOUS_SPECTRUM:
            made.title = FormatText(strMainDlg_SpecRegion_SpecTab_ContinuousSpectrum, tabCounter);
            made.page = std::make_unique<COpenContinuousSpectrumDlg>(parent);
            made.result = 0;
            break;
        default:
            made.result = 0;
            break;
    }
    return made;
}

void CSpectrumRegionDlg::ApplyLanguage(int index) {
    strip_->ApplyLanguage(index);
    for (TabRecord& record : records_) record.page->ApplyLanguage(index);
}

CReceiveData* CSpectrumRegionDlg::SelectedPage() const {
    const int i = tabBar_->currentIndex();
    return i >= 0 && i < static_cast<int>(records_.size()) ? records_[i].page.get() : nullptr;
}

Window* CSpectrumRegionDlg::SelectedTarget() const {
    const int i = tabBar_->currentIndex();
    return i >= 0 && i < static_cast<int>(records_.size()) ? records_[i].target : nullptr;
}

LRESULT CSpectrumRegionDlg::OnMessage(unsigned msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_OPEN_TAB:
            return OpenTab(static_cast<int>(wParam));
        case WM_CLOSE_TAB:
            CloseTab(static_cast<int>(wParam));
            return 1;
        case WM_RENAME_TAB: {
            const QString* title = LParamData<WM_RENAME_TAB>(lParam);
            for (std::size_t i = 0; i < records_.size(); ++i) {
                if (title && records_[i].id == static_cast<int>(wParam))
                    tabBar_->setTabText(static_cast<int>(i), *title);
            }
            return 1;
        }
        case WM_PAGE_COMMAND:
            return SendMessage(SelectedTarget(), WM_PAGE_PARAMETER, wParam, lParam);
        case WM_SET_AXIS_UNIT:
        case WM_ACTIVE_TRIGGER:
            return SendMessage(SelectedTarget(), msg, wParam, lParam);
        case WM_CHART_COLOR_CHANGED: {
            LRESULT all = 1;
            for (const TabRecord& record : records_) all &= SendMessage(record.target, msg, wParam, lParam);
            return all;
        }
        case WM_DEVICE_AXES_CHANGED:
            if (const std::wstring* serial = LParamData<WM_DEVICE_AXES_CHANGED>(lParam))
                for (const TabRecord& record : records_) record.page->ReloadDeviceAxes(*serial);
            return 1;
        case WM_SHOW_CURRENT_TAB:
            ShowOnly(tabBar_->currentIndex());
            return 1;
        case WM_RESCAN_DEVICES:
            for (const TabRecord& record : records_) {
                if (wParam == 0) {
                    record.page->BeforeRescan();
                } else {
                    record.page->AfterRescan();
                }
            }
            return 1;
        default:
            return 0;
    }
}

LRESULT CSpectrumRegionDlg::OpenTab(int kind) {
    NewPage made = CreatePage(kind, tabControl_);
    if (made.page) {
        made.page->SetTabId(tabCounter);
        TabRecord record{tabCounter, kind, made.title, std::move(made.page), nullptr};
        record.target = record.page->PageWindow();
        CReceiveData* shown = record.page.get();
        records_.push_back(std::move(record));
        {
            const QSignalBlocker quiet(tabBar_);
            tabBar_->insertTab(tabCounter, made.title);
        }
        PlacePage(shown);
        shown->show();
        shown->ApplyLanguage(languageIndex);
        ++tabCounter;
    }
    const int last = tabBar_->count() - 1;
    {
        const QSignalBlocker quiet(tabBar_);
        tabBar_->setCurrentIndex(last);
    }
    ShowOnly(last);
    return made.result;
}

void CSpectrumRegionDlg::CloseTab(int id) {
    auto it = std::find_if(records_.begin(), records_.end(), [id](const TabRecord& r) { return r.id == id; });
    if (it == records_.end()) return;
    const int i = static_cast<int>(it - records_.begin());
    {
        const QSignalBlocker quiet(tabBar_);
        tabBar_->removeTab(i);
    }
    // The close request may come from one of the page's own buttons, still
    // on the stack: release its devices now, delete the window afterwards.
    CReceiveData* page = it->page.release();
    page->hide();
    page->RemoveAllDevices();
    page->deleteLater();
    records_.erase(it);
    const int selected = i > 0 ? i - 1 : 0;
    {
        const QSignalBlocker quiet(tabBar_);
        tabBar_->setCurrentIndex(selected);
    }
    ShowOnly(selected);
}

void CSpectrumRegionDlg::ShowOnly(int index) {
    for (std::size_t i = 0; i < records_.size(); ++i)
        records_[i].page->setVisible(static_cast<int>(i) == index);
}

void CSpectrumRegionDlg::PlacePage(QWidget* page) const {
    page->setGeometry(2, kTabBarHeight, std::max(0, tabControl_->width() - 6),
                      std::max(0, tabControl_->height() - 27));
}

void CSpectrumRegionDlg::resizeEvent(QResizeEvent*) {
    const int stripHeight = width() < 470 ? 150 : width() < 830 ? 90 : 60;
    strip_->setGeometry(0, 0, width(), stripHeight);
    tabControl_->setGeometry(0, stripHeight, width(), std::max(0, height() - stripHeight));
    tabBar_->setGeometry(0, 0, tabControl_->width(), kTabBarHeight);
    for (const TabRecord& record : records_) PlacePage(record.page.get());
}

}  // namespace quenlix
