#include "DislpayToolbarDlg.h"

#include <QFrame>
#include <QToolTip>
#include <algorithm>

#include "AutoIntegrationTexts.h"
#include "Lexora.h"
#include "SvgImages.h"
#include "UiText.h"

namespace quenlix {
namespace {

constexpr int kSeparator = 0;
constexpr int kButtonSize = 28;  // a 22 × 22 image with its frame
constexpr int kSeparatorWidth = 6;
constexpr int kStripHeight = 30;
constexpr int kLineStep = 10;
constexpr int kPageStep = 30;

struct ButtonKind {
    int command;
    const char* image;  // :/icons/<image>.svg
    TextRow* tooltip;   // none for the extra command and the program's own buttons
    const OwnTextRow* ownTooltip = nullptr;  // the program's own buttons
};

const ButtonKind kButtonKinds[] = {
    {ID_BTN_DEV_RUN, "run", &strMainDlg_SpecRegion_SpecDisplay_ToolbarDlg_IdBtnDevRun},
    {ID_BTN_DEV_STOP, "stop", &strMainDlg_SpecRegion_SpecDisplay_ToolbarDlg_IdBtnDevStop},
    {ID_BTN_DEV_RUN_ONCE, "run_once", &strMainDlg_SpecRegion_SpecDisplay_ToolbarDlg_IdBtnDevRunOnce},
    {ID_BTN_FIT_WINDOW, "fit_window", &strMainDlg_SpecRegion_SpecDisplay_ToolbarDlg_IdBtnDisBiggest},
    {ID_BTN_FIT_IMAGE, "fit_image", &strMainDlg_SpecRegion_SpecDisplay_ToolbarDlg_IdBtnDisAutoResize},
    {ID_BTN_FIT_VERTICAL, "fit_vertical", &strMainDlg_SpecRegion_SpecDisplay_ToolbarDlg_IdBtnDisVertResize},
    {ID_BTN_ZOOM_IN, "zoom_in", &strMainDlg_SpecRegion_SpecDisplay_ToolbarDlg_IdBtnCtrlZoomIn},
    {ID_BTN_ZOOM_OUT, "zoom_out", &strMainDlg_SpecRegion_SpecDisplay_ToolbarDlg_IdBtnCtrlZoomOut},
    {ID_BTN_MOVE_IMAGE, "move_image", &strMainDlg_SpecRegion_SpecDisplay_ToolbarDlg_IdBtnCtrlMoveImage},
    {ID_BTN_STORE_DARK, "store_dark", &strMainDlg_SpecRegion_SpecDisplay_ToolbarDlg_IdBtnSpecStoreBlack},
    {ID_BTN_STORE_REFERENCE, "store_reference",
     &strMainDlg_SpecRegion_SpecDisplay_ToolbarDlg_IdBtnSpecStoreRef},
    {ID_BTN_SHOW_RAW, "show_raw", &strMainDlg_SpecRegion_SpecDisplay_ToolbarDlg_IdBtnSpecOrigional},
    {ID_BTN_SUBTRACT_DARK, "subtract_dark",
     &strMainDlg_SpecRegion_SpecDisplay_ToolbarDlg_IdBtnSpecDeleteDark},
    {ID_BTN_ABSORBANCE, "absorbance", &strGeneral_Absorbancy},
    {ID_BTN_TRANSMISSIVITY, "transmissivity", &strGeneral_Transmissivity},
    {ID_BTN_REFLECTIVITY, "reflection", &strGeneral_Reflectivity},
    {ID_BTN_SET_COORDS, "set_coords", &strMainDlg_SpecRegion_SpecDisplay_ToolbarDlg_IdBtnCtrlSetCoords},
    {ID_BTN_CHOOSE_ZOOM, "zoom_rect", &strMainDlg_SpecRegion_SpecDisplay_ToolbarDlg_IdBtnCtrlChooseZoomIn},
    {ID_BTN_ADD_ACTIVE_SPECTRUM, "add_active_spectrum",
     &strMainDlg_SpecRegion_SpecDisplay_ToolbarDlg_IdBtnAddActionSpectrum},
    {ID_BTN_SAVE_SPECTRUM, "save_spectrum", &strMainDlg_SpecRegion_SpecDisplay_ToolbarDlg_IdBtnSaveSpecData},
    {ID_BTN_LOAD_SPECTRUM, "load_spectrum", &strMainDlg_SpecRegion_SpecDisplay_ToolbarDlg_IdBtnLoadSpecData},
    {ID_BTN_DELETE_SPECTRA, "delete_spectra", &strMainDlg_SpecRegion_SpecDisplay_ToolbarDlg_IdBtnDeleteSpec},
    {ID_BTN_SAVE_IMAGE, "save_image", &strMainDlg_SpecRegion_SpecDisplay_ToolbarDlg_IdBtnSaveImage},
    {ID_BTN_RETICULE, "reticule", &strMainDlg_SpecRegion_SpecDisplay_ToolbarDlg_IdBtnCtrlReticule},
    {ID_BTN_AUTO_PEAK, "auto_peak", &strMainDlg_SpecRegion_SpecDisplay_ToolbarDlg_IdBtnAotuPeak},
    {ID_BTN_SAVE_SERIES, "save_series",
     &strMainDlg_SpecRegion_SpecDisplay_ToolbarDlg_IdBtnSaveSerialSpectrumData},
    {ID_BTN_END_OPENING, "end_opening", &strMainDlg_SpecRegion_SpecDisplay_ToolbarDlg_IdBtnSpectrumCancel},
    {ID_BTN_OPEN_CONTINUOUS, "open_continuous",
     &strMainDlg_SpecRegion_SpecDisplay_ToolbarDlg_IdBtnOpenContinuousSpectrum},
    {ID_BTN_SUPERPOSITION, "superposition", &strMainDlg_SpecRegion_SpecDisplay_ToolbarDlg_IdBtnSpecOverlay},
    {ID_BTN_STORE_DARK_AND_SUBTRACT, "store_dark_and_subtract",
     &strMainDlg_SpecRegion_SpecDisplay_ToolbarDlg_IdBtnSpecDeleteDark1},
    {ID_BTN_EXTRA, "extra", nullptr},
    {ID_BTN_AUTO_INTEGRATION, "auto_integration", nullptr, &autoIntegration_Tooltip},
    {ID_BTN_SAVE_BASE_DELETED, "save_base_deleted",
     &strMainDlg_SpecRegion_SpecDisplay_ToolbarDlg_IdBtnSaveDelBaseSpecData},
};

const ButtonKind* KindOf(int command) {
    for (const ButtonKind& kind : kButtonKinds)
        if (kind.command == command) return &kind;
    return nullptr;
}

const std::vector<int> kModeGroup = {ID_BTN_ZOOM_IN, ID_BTN_ZOOM_OUT, ID_BTN_CHOOSE_ZOOM, ID_BTN_MOVE_IMAGE,
                                     ID_BTN_RETICULE};
const std::vector<int> kYUnitGroup = {ID_BTN_SUBTRACT_DARK, ID_BTN_ABSORBANCE, ID_BTN_TRANSMISSIVITY,
                                      ID_BTN_REFLECTIVITY};
// Buttons that show a pressed state; the others only send their command.
const std::vector<int> kStateButtons = {
    ID_BTN_DEV_RUN,        ID_BTN_DEV_STOP,     ID_BTN_ZOOM_IN,    ID_BTN_ZOOM_OUT,      ID_BTN_CHOOSE_ZOOM,
    ID_BTN_MOVE_IMAGE,     ID_BTN_RETICULE,     ID_BTN_AUTO_PEAK,  ID_BTN_SUBTRACT_DARK, ID_BTN_ABSORBANCE,
    ID_BTN_TRANSMISSIVITY, ID_BTN_REFLECTIVITY, ID_BTN_SAVE_SERIES, ID_BTN_AUTO_INTEGRATION};

bool Contains(const std::vector<int>& list, int command) {
    return std::find(list.begin(), list.end(), command) != list.end();
}

struct Layout {
    int widthInButtons;  // fixes the strip's width, whatever the buttons take
    std::vector<int> buttons;
};

Layout LayoutOf(int layout) {
    const std::vector<int> acquire = {ID_BTN_DEV_RUN, ID_BTN_DEV_STOP, ID_BTN_DEV_RUN_ONCE};
    const std::vector<int> view = {
        ID_BTN_FIT_WINDOW,  ID_BTN_FIT_IMAGE,  ID_BTN_FIT_VERTICAL, ID_BTN_ZOOM_IN,  ID_BTN_ZOOM_OUT,
        ID_BTN_CHOOSE_ZOOM, ID_BTN_SET_COORDS, ID_BTN_MOVE_IMAGE,   ID_BTN_RETICULE, ID_BTN_AUTO_PEAK};
    const auto join = [](std::initializer_list<std::vector<int>> parts) {
        std::vector<int> all;
        for (const std::vector<int>& part : parts) {
            if (!all.empty()) all.push_back(kSeparator);
            all.insert(all.end(), part.begin(), part.end());
        }
        return all;
    };
    const auto files = [](bool withBaseDeleted) {
        std::vector<int> buttons = {ID_BTN_ADD_ACTIVE_SPECTRUM, ID_BTN_SAVE_SPECTRUM};
        if (withBaseDeleted) buttons.push_back(ID_BTN_SAVE_BASE_DELETED);
        buttons.insert(buttons.end(),
                       {ID_BTN_SAVE_SERIES, ID_BTN_LOAD_SPECTRUM, ID_BTN_DELETE_SPECTRA, ID_BTN_SAVE_IMAGE});
        return buttons;
    };
    const std::vector<int> darkShort = {ID_BTN_STORE_DARK, ID_BTN_SHOW_RAW, ID_BTN_SUBTRACT_DARK,
                                        ID_BTN_STORE_DARK_AND_SUBTRACT};
    switch (layout) {
        case kLayoutLiveView:
            return {30, join({{ID_BTN_DEV_RUN, ID_BTN_DEV_STOP, ID_BTN_DEV_RUN_ONCE, ID_BTN_AUTO_INTEGRATION},
                              view,
                              {ID_BTN_STORE_DARK, ID_BTN_STORE_REFERENCE, ID_BTN_SHOW_RAW,
                               ID_BTN_SUBTRACT_DARK, ID_BTN_STORE_DARK_AND_SUBTRACT, ID_BTN_SUPERPOSITION,
                               ID_BTN_ABSORBANCE, ID_BTN_TRANSMISSIVITY, ID_BTN_REFLECTIVITY},
                              files(true),
                              {ID_BTN_EXTRA}})};
        case kLayoutContinuousViewer:
            return {15, join({{ID_BTN_OPEN_CONTINUOUS},
                              {ID_BTN_DEV_RUN, ID_BTN_DEV_STOP, ID_BTN_DEV_RUN_ONCE, ID_BTN_END_OPENING},
                              view})};
        case kLayoutUnused216:
            return {24, join({acquire, view, darkShort, files(true)})};
        case kLayoutCalibration:
            return {13, join({acquire, view})};
        case kLayoutUnused218:
            return {27, join({acquire, view, darkShort, files(false)})};
        default:
            return {10, {}};
    }
}

// A button whose pressed state only the toolbar's rules change: a click does
// not toggle it by itself.
class StripButton : public QToolButton {
public:
    using QToolButton::QToolButton;

protected:
    void nextCheckState() override {}
};

}  // namespace

CDislpayToolbarDlg::CDislpayToolbarDlg(Window* view)
    : Window(view), view_(view), strip_(new QWidget(this)), scrollBar_(new QScrollBar(Qt::Horizontal, this)) {
    scrollBar_->setSingleStep(kLineStep);
    scrollBar_->hide();
    // The thumb is a window wide, yet a page step moves only kPageStep.
    connect(scrollBar_, &QScrollBar::actionTriggered, this, [this](int action) {
        if (action == QAbstractSlider::SliderPageStepAdd)
            scrollBar_->setSliderPosition(scrollBar_->value() + kPageStep);
        else if (action == QAbstractSlider::SliderPageStepSub)
            scrollBar_->setSliderPosition(scrollBar_->value() - kPageStep);
    });
    connect(scrollBar_, &QScrollBar::valueChanged, this, [this](int x) { strip_->move(-x, 0); });
}

void CDislpayToolbarDlg::SetLayout(int layout) { layout_ = layout; }

void CDislpayToolbarDlg::Create() {
    strip_->resize(ToolbarWidth(), kStripHeight);
    int x = 2;
    for (const int command : LayoutOf(layout_).buttons) {
        if (command == kSeparator) {
            auto* line = new QFrame(strip_);
            line->setFrameShape(QFrame::VLine);
            line->setFrameShadow(QFrame::Sunken);
            line->setGeometry(x + kSeparatorWidth / 2 - 1, 4, 2, kStripHeight - 8);
            x += kSeparatorWidth;
            continue;
        }
        auto* button = new StripButton(strip_);
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus);  // the view's focus field keeps the keys
        button->setIconSize(QSize(22, 22));
        button->setIcon(SvgIcon(QStringLiteral(":/icons/%1.svg").arg(KindOf(command)->image), QSize(22, 22)));
        button->setCheckable(Contains(kStateButtons, command));
        button->setGeometry(x, (kStripHeight - kButtonSize) / 2, kButtonSize, kButtonSize);
        connect(button, &QToolButton::clicked, this, [this, command] { OnButton(command); });
        buttons_[command] = button;
        x += kButtonSize;
    }
    UpdateScrolling();
}

int CDislpayToolbarDlg::ToolbarWidth() const { return LayoutOf(layout_).widthInButtons * 30 + 5; }

QToolButton* CDislpayToolbarDlg::Button(int command) const {
    const auto it = buttons_.find(command);
    return it == buttons_.end() ? nullptr : it->second;
}

bool CDislpayToolbarDlg::IsPressed(int command) const {
    const QToolButton* button = Button(command);
    return button && button->isChecked();
}

void CDislpayToolbarDlg::SetPressed(int command, bool pressed) {
    if (QToolButton* button = Button(command)) button->setChecked(pressed);
}

void CDislpayToolbarDlg::PressInGroup(int command, const std::vector<int>& group) {
    for (const int other : group) SetPressed(other, false);
    SetPressed(command, true);
}

void CDislpayToolbarDlg::ReleaseSeriesButton() { SetPressed(ID_BTN_SAVE_SERIES, false); }

void CDislpayToolbarDlg::ReleaseAutoIntegrationButton() { SetPressed(ID_BTN_AUTO_INTEGRATION, false); }

LRESULT CDislpayToolbarDlg::Send(int command, int state) {
    return SendMessage(view_, WM_TOOLBAR_COMMAND, static_cast<WPARAM>(command), state);
}

void CDislpayToolbarDlg::OnButton(int command) {
    if (command == ID_BTN_DEV_RUN || command == ID_BTN_DEV_STOP || command == ID_BTN_DEV_RUN_ONCE) {
        Send(command, 0);
        PressInGroup(command == ID_BTN_DEV_RUN ? ID_BTN_DEV_RUN : ID_BTN_DEV_STOP,
                     {ID_BTN_DEV_RUN, ID_BTN_DEV_STOP});
    } else if (Contains(kModeGroup, command)) {
        const bool press = !IsPressed(command);
        if (press)
            PressInGroup(command, kModeGroup);
        else
            SetPressed(command, false);
        // A mode change always ends the reticule first.
        Send(ID_BTN_RETICULE, 0);
        Send(command, press ? 1 : 0);
    } else if (command == ID_BTN_SET_COORDS) {
        for (const int mode : kModeGroup) SetPressed(mode, false);
        Send(ID_BTN_RETICULE, 0);
        Send(command, 0);
    } else if (command == ID_BTN_AUTO_PEAK) {
        const bool press = !IsPressed(command);
        SetPressed(command, press);
        Send(command, press ? 1 : 0);
    } else if (command == ID_BTN_SHOW_RAW) {
        Send(command, 0);
        for (const int unit : kYUnitGroup) SetPressed(unit, false);
    } else if (Contains(kYUnitGroup, command) || command == ID_BTN_STORE_DARK_AND_SUBTRACT) {
        // The view refuses a unit when a device lacks its dark or reference
        // spectrum; the buttons then stay as they were.
        const int unit = command == ID_BTN_STORE_DARK_AND_SUBTRACT ? ID_BTN_SUBTRACT_DARK : command;
        const int state = command == ID_BTN_STORE_DARK_AND_SUBTRACT ? 0 : 1;
        if (Send(command, state) && !IsPressed(unit)) PressInGroup(unit, kYUnitGroup);
    } else if (command == ID_BTN_AUTO_INTEGRATION) {
        // The view refuses to start without a device it can run on; it
        // releases the button itself when the run ends.
        if (IsPressed(command)) {
            SetPressed(command, false);
            Send(command, 0);
        } else if (Send(command, 1)) {
            SetPressed(command, true);
        }
    } else if (command == ID_BTN_SAVE_SERIES) {
        if (IsPressed(command)) {
            SetPressed(command, false);
            Send(command, 0);
        } else if (Send(command, 1)) {
            SetPressed(command, true);  // the series settings were confirmed
        }
    } else {
        Send(command, 0);
    }
}

void CDislpayToolbarDlg::UpdateScrolling() {
    const int hidden = ToolbarWidth() - width();
    if (hidden <= 0) {
        scrollBar_->setValue(0);
        scrollBar_->hide();
        strip_->move(0, 0);
        return;
    }
    scrollBar_->setRange(0, hidden);
    scrollBar_->setPageStep(width());
    scrollBar_->setGeometry(0, kStripHeight, width(), scrollBar_->sizeHint().height());
    scrollBar_->show();
    strip_->move(-scrollBar_->value(), 0);
}

void CDislpayToolbarDlg::resizeEvent(QResizeEvent*) { UpdateScrolling(); }

void CDislpayToolbarDlg::ShowToolTip(const QHelpEvent& help) {
    for (const auto& [command, button] : buttons_) {
        const ButtonKind* kind = KindOf(command);
        if (!kind->tooltip && !kind->ownTooltip) continue;
        if (!button->geometry().contains(strip_->mapFrom(this, help.pos()))) continue;
        // Looked up now, so the tooltip is always in the current language.
        QToolTip::showText(help.globalPos(), kind->tooltip ? Text(*kind->tooltip) : OwnText(*kind->ownTooltip),
                           button);
        return;
    }
    QToolTip::hideText();
}

bool CDislpayToolbarDlg::event(QEvent* event) {
    // A button's tooltip event comes up to here: the buttons carry no text.
    if (event->type() == QEvent::ToolTip) {
        ShowToolTip(static_cast<const QHelpEvent&>(*event));
        return true;
    }
    return Window::event(event);
}

}  // namespace quenlix
