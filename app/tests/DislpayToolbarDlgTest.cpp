#include <gtest/gtest.h>

#include <QHelpEvent>
#include <QTest>
#include <QToolTip>
#include <set>
#include <vector>

#include "DislpayToolbarDlg.h"
#include "MouseModeCursors.h"
#include "ProcessValues.h"

using namespace quenlix;

namespace {

struct Command {
    int code;
    int state;
    bool operator==(const Command&) const = default;
};

// Stands in for the view: records every command with its state and accepts
// all but the refused ones.
class FakeView : public Window {
public:
    std::vector<Command> commands;
    std::set<int> refused;

    LRESULT OnMessage(unsigned msg, WPARAM w, LPARAM l) override {
        if (msg != WM_TOOLBAR_COMMAND) return 0;
        commands.push_back({static_cast<int>(w), static_cast<int>(l)});
        return refused.count(static_cast<int>(w)) ? 0 : 1;
    }
};

// Every toolbar command code lies in this range.
std::vector<int> AllCommands() {
    std::vector<int> all;
    for (int command = ID_BTN_DEV_RUN; command <= ID_BTN_SAVE_BASE_DELETED; ++command) all.push_back(command);
    return all;
}

class Toolbar : public ::testing::Test {
protected:
    void SetUp() override { languageIndex = 2; }

    CDislpayToolbarDlg& Make(int layout = kLayoutLiveView) {
        toolbar = new CDislpayToolbarDlg(&view);
        toolbar->SetLayout(layout);
        toolbar->Create();
        toolbar->resize(toolbar->ToolbarWidth(), 50);
        return *toolbar;
    }
    // Clicks the button and gives back what reached the view.
    std::vector<Command> Click(int command) {
        view.commands.clear();
        QTest::mouseClick(toolbar->Button(command), Qt::LeftButton);
        return view.commands;
    }
    std::set<int> Pressed() const {
        std::set<int> pressed;
        for (const int command : AllCommands())
            if (toolbar->IsPressed(command)) pressed.insert(command);
        return pressed;
    }
    int ButtonX(int command) const { return toolbar->Button(command)->mapTo(toolbar, QPoint()).x(); }

    FakeView view;
    CDislpayToolbarDlg* toolbar = nullptr;  // owned by the view
};

}  // namespace

TEST_F(Toolbar, MouseModesFormAGroupThatAllowsNoneAndAlwaysEndTheReticuleFirst) {
    Make();
    EXPECT_EQ(Click(ID_BTN_ZOOM_IN), (std::vector<Command>{{ID_BTN_RETICULE, 0}, {ID_BTN_ZOOM_IN, 1}}));
    EXPECT_EQ(Pressed(), std::set<int>{ID_BTN_ZOOM_IN});
    EXPECT_EQ(Click(ID_BTN_ZOOM_IN), (std::vector<Command>{{ID_BTN_RETICULE, 0}, {ID_BTN_ZOOM_IN, 0}}))
        << "pressing zoom in twice leaves the view in no mode";
    EXPECT_EQ(Pressed(), std::set<int>{});

    Click(ID_BTN_MOVE_IMAGE);
    EXPECT_EQ(Click(ID_BTN_RETICULE), (std::vector<Command>{{ID_BTN_RETICULE, 0}, {ID_BTN_RETICULE, 1}}));
    EXPECT_EQ(Pressed(), std::set<int>{ID_BTN_RETICULE}) << "one mode at a time";
    EXPECT_EQ(Click(ID_BTN_SET_COORDS), (std::vector<Command>{{ID_BTN_RETICULE, 0}, {ID_BTN_SET_COORDS, 0}}));
    EXPECT_EQ(Pressed(), std::set<int>{}) << "the coordinates dialog ends every mode";

    // The peak search keeps its own state beside the modes.
    Click(ID_BTN_CHOOSE_ZOOM);
    EXPECT_EQ(Click(ID_BTN_AUTO_PEAK), (std::vector<Command>{{ID_BTN_AUTO_PEAK, 1}}));
    EXPECT_EQ(Pressed(), (std::set<int>{ID_BTN_CHOOSE_ZOOM, ID_BTN_AUTO_PEAK}));
    EXPECT_EQ(Click(ID_BTN_AUTO_PEAK), (std::vector<Command>{{ID_BTN_AUTO_PEAK, 0}}));

    // Run shows run pressed; stop and run once show stop pressed.
    Click(ID_BTN_CHOOSE_ZOOM);
    EXPECT_EQ(Click(ID_BTN_DEV_RUN), (std::vector<Command>{{ID_BTN_DEV_RUN, 0}}));
    EXPECT_EQ(Pressed(), std::set<int>{ID_BTN_DEV_RUN});
    EXPECT_EQ(Click(ID_BTN_DEV_RUN_ONCE), (std::vector<Command>{{ID_BTN_DEV_RUN_ONCE, 0}}));
    EXPECT_EQ(Pressed(), std::set<int>{ID_BTN_DEV_STOP});
    Click(ID_BTN_DEV_RUN);
    Click(ID_BTN_DEV_STOP);
    EXPECT_EQ(Pressed(), std::set<int>{ID_BTN_DEV_STOP});
}

TEST_F(Toolbar, YUnitButtonsChangeOnlyWhenTheViewAccepts) {
    Make();
    EXPECT_EQ(Click(ID_BTN_SUBTRACT_DARK), (std::vector<Command>{{ID_BTN_SUBTRACT_DARK, 1}}));
    EXPECT_EQ(Pressed(), std::set<int>{ID_BTN_SUBTRACT_DARK});

    view.refused = {ID_BTN_ABSORBANCE};  // no reference spectrum
    EXPECT_EQ(Click(ID_BTN_ABSORBANCE), (std::vector<Command>{{ID_BTN_ABSORBANCE, 1}}));
    EXPECT_EQ(Pressed(), std::set<int>{ID_BTN_SUBTRACT_DARK}) << "a refused unit leaves the buttons";
    Click(ID_BTN_TRANSMISSIVITY);
    EXPECT_EQ(Pressed(), std::set<int>{ID_BTN_TRANSMISSIVITY});
    Click(ID_BTN_TRANSMISSIVITY);
    EXPECT_EQ(Pressed(), std::set<int>{ID_BTN_TRANSMISSIVITY}) << "an accepted unit stays pressed";

    EXPECT_EQ(Click(ID_BTN_SHOW_RAW), (std::vector<Command>{{ID_BTN_SHOW_RAW, 0}}));
    EXPECT_EQ(Pressed(), std::set<int>{});

    view.refused = {ID_BTN_STORE_DARK_AND_SUBTRACT};
    EXPECT_EQ(Click(ID_BTN_STORE_DARK_AND_SUBTRACT),
              (std::vector<Command>{{ID_BTN_STORE_DARK_AND_SUBTRACT, 0}}));
    EXPECT_EQ(Pressed(), std::set<int>{});
    view.refused.clear();
    Click(ID_BTN_REFLECTIVITY);
    Click(ID_BTN_STORE_DARK_AND_SUBTRACT);
    EXPECT_EQ(Pressed(), std::set<int>{ID_BTN_SUBTRACT_DARK}) << "saving the dark presses minus dark";
    EXPECT_FALSE(toolbar->Button(ID_BTN_STORE_DARK_AND_SUBTRACT)->isChecked());
}

TEST_F(Toolbar, SeriesButtonIsPressedOnlyWhenTheViewStartsASeries) {
    Make();
    view.refused = {ID_BTN_SAVE_SERIES};  // the settings were cancelled
    EXPECT_EQ(Click(ID_BTN_SAVE_SERIES), (std::vector<Command>{{ID_BTN_SAVE_SERIES, 1}}));
    EXPECT_FALSE(toolbar->IsPressed(ID_BTN_SAVE_SERIES));
    view.refused.clear();
    Click(ID_BTN_SAVE_SERIES);
    EXPECT_TRUE(toolbar->IsPressed(ID_BTN_SAVE_SERIES));
    view.refused = {ID_BTN_SAVE_SERIES};
    EXPECT_EQ(Click(ID_BTN_SAVE_SERIES), (std::vector<Command>{{ID_BTN_SAVE_SERIES, 0}}));
    EXPECT_FALSE(toolbar->IsPressed(ID_BTN_SAVE_SERIES)) << "stopping needs no consent";

    view.refused.clear();
    Click(ID_BTN_SAVE_SERIES);
    view.commands.clear();
    toolbar->ReleaseSeriesButton();
    EXPECT_FALSE(toolbar->IsPressed(ID_BTN_SAVE_SERIES));
    EXPECT_TRUE(view.commands.empty()) << "the view ended the series itself";

    // Plain commands go with state 0 and never show pressed.
    for (const int command : {ID_BTN_STORE_DARK, ID_BTN_SUPERPOSITION, ID_BTN_SAVE_IMAGE, ID_BTN_EXTRA}) {
        EXPECT_EQ(Click(command), (std::vector<Command>{{command, 0}}));
        EXPECT_EQ(Pressed(), std::set<int>{});
    }
}

TEST_F(Toolbar, LayoutsHaveTheirWidthsAndButtonsAndEveryButtonItsImage) {
    struct Expected {
        int layout;
        int width;
        int buttons;
        std::vector<int> has;
        std::vector<int> lacks;
    };
    const std::vector<Expected> layouts = {
        {kLayoutLiveView,
         30 * 30 + 5,
         31,
         {ID_BTN_STORE_REFERENCE, ID_BTN_EXTRA, ID_BTN_AUTO_INTEGRATION},
         {ID_BTN_OPEN_CONTINUOUS}},
        {kLayoutContinuousViewer,
         15 * 30 + 5,
         15,
         {ID_BTN_OPEN_CONTINUOUS, ID_BTN_END_OPENING},
         {ID_BTN_STORE_DARK}},
        {kLayoutUnused216, 24 * 30 + 5, 24, {ID_BTN_SAVE_BASE_DELETED}, {ID_BTN_STORE_REFERENCE}},
        {kLayoutCalibration, 13 * 30 + 5, 13, {ID_BTN_AUTO_PEAK}, {ID_BTN_STORE_DARK}},
        {kLayoutUnused218, 27 * 30 + 5, 23, {ID_BTN_SAVE_SERIES}, {ID_BTN_SAVE_BASE_DELETED}},
        {999, 10 * 30 + 5, 0, {}, {ID_BTN_DEV_RUN}},
    };
    for (const Expected& e : layouts) {
        SCOPED_TRACE(e.layout);
        Make(e.layout);
        EXPECT_EQ(toolbar->ToolbarWidth(), e.width);
        int buttons = 0;
        for (const int command : AllCommands()) {
            const QToolButton* button = toolbar->Button(command);
            if (!button) continue;
            ++buttons;
            EXPECT_LE(button->mapTo(toolbar, QPoint(button->width(), 0)).x(), e.width)
                << command << " clipped";
            // An image that failed to load or link would be all transparent.
            const QImage image = button->icon().pixmap(QSize(22, 22), 2.0).toImage();
            EXPECT_EQ(image.size(), QSize(44, 44));
            bool drawn = false;
            for (int y = 0; y < image.height() && !drawn; ++y)
                for (int x = 0; x < image.width() && !drawn; ++x) drawn = qAlpha(image.pixel(x, y)) != 0;
            EXPECT_TRUE(drawn) << command;
        }
        EXPECT_EQ(buttons, e.buttons);
        EXPECT_EQ(toolbar->Button(ID_BTN_PRINT_IMAGE), nullptr);
        for (const int command : e.has) EXPECT_NE(toolbar->Button(command), nullptr) << command;
        for (const int command : e.lacks) EXPECT_EQ(toolbar->Button(command), nullptr) << command;
        delete toolbar;
    }
    toolbar = nullptr;
}

TEST_F(Toolbar, ScrollsWhenNarrowerThanItsButtons) {
    Make();
    view.resize(1000, 400);
    view.show();
    const int runX = ButtonX(ID_BTN_DEV_RUN);
    toolbar->resize(400, 50);
    QScrollBar* bar = toolbar->ScrollBar();
    ASSERT_TRUE(bar->isVisible());
    EXPECT_GE(bar->y(), 30) << "below the buttons";
    EXPECT_EQ(bar->minimum(), 0);
    EXPECT_EQ(bar->maximum() + bar->pageStep(), toolbar->ToolbarWidth()) << "the whole strip can be reached";
    EXPECT_EQ(bar->pageStep(), 400);

    bar->setValue(100);
    EXPECT_EQ(ButtonX(ID_BTN_DEV_RUN), runX - 100);
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(bar->value(), 110);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(bar->value(), 140);
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(bar->value(), 110);
    EXPECT_EQ(ButtonX(ID_BTN_DEV_RUN), runX - 110);

    toolbar->resize(toolbar->ToolbarWidth(), 50);
    EXPECT_FALSE(bar->isVisible());
    EXPECT_EQ(ButtonX(ID_BTN_DEV_RUN), runX);
}

TEST_F(Toolbar, TooltipsAreInTheLanguageOfTheMoment) {
    Make();
    view.resize(1000, 400);
    view.show();
    const auto tooltipOf = [this](int command) {
        QToolButton* button = toolbar->Button(command);
        const QPoint at = button->rect().center();
        QHelpEvent help(QEvent::ToolTip, at, button->mapToGlobal(at));
        QApplication::sendEvent(button, &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    EXPECT_EQ(tooltipOf(ID_BTN_EXTRA), "") << "the extra command has no text";
    EXPECT_EQ(tooltipOf(ID_BTN_ZOOM_IN), "Zoom In");
    EXPECT_EQ(tooltipOf(ID_BTN_ABSORBANCE), "Absorbance");
    EXPECT_EQ(tooltipOf(ID_BTN_AUTO_INTEGRATION), "Automatic integration time (press again or Esc to cancel)")
        << "the program's own text table";
    languageIndex = 1;
    EXPECT_EQ(tooltipOf(ID_BTN_SAVE_SERIES), QString::fromWCharArray(L"儲存連續光譜資料"));
    EXPECT_EQ(tooltipOf(ID_BTN_AUTO_INTEGRATION), QString::fromWCharArray(L"自動積分時間（再按一次或 Esc 取消）"));
    QToolTip::hideText();
}

TEST(MouseModeCursors, DrawnCursorsAimWhereTheUserLooks) {
    // The hot spot is the lens centre or the cross centre; onShape lies on
    // the lens rim or a cross arm, to show the image was drawn there.
    const struct {
        int mode;
        QPoint hotSpot;
        QPoint onShape;
    } drawn[] = {{0, {12, 12}, {12, 20}}, {1, {12, 12}, {12, 20}}, {2, {10, 10}, {10, 5}}};
    for (const auto& [mode, hotSpot, onShape] : drawn) {
        const QCursor cursor = MouseModeCursor(mode);
        ASSERT_EQ(cursor.shape(), Qt::BitmapCursor) << mode;
        EXPECT_EQ(cursor.hotSpot(), hotSpot) << mode;
        const QImage image = cursor.pixmap().toImage();
        ASSERT_EQ(image.size(), QSize(32, 32));
        EXPECT_EQ(qAlpha(image.pixel(onShape)), 255) << mode;
    }
    EXPECT_EQ(MouseModeCursor(3).shape(), Qt::OpenHandCursor);
    EXPECT_EQ(MoveImageHeldCursor().shape(), Qt::ClosedHandCursor);
    EXPECT_EQ(MouseModeCursor(5).shape(), Qt::ArrowCursor);
}
