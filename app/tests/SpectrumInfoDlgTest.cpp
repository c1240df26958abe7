#include <gtest/gtest.h>

#include <QLayout>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <limits>

#include "MessagePayloads.h"
#include "PressureMaoDetailDlg.h"
#include "ProcessValues.h"
#include "Prompts.h"
#include "SpectrumInfoDlg.h"

using namespace quenlix;

namespace {

// Stands in for the live view: records what the panel sends it, one line a
// message ("2042 0 -1", "2042 -1 3" with the static entry's text, "2043 0 512.5").
class RecordingView : public Window {
public:
    std::vector<QString> sent;

    LRESULT OnMessage(unsigned msg, WPARAM w, LPARAM l) override {
        QString line = QString::number(msg - WM_USER) + ' ' + QString::number(static_cast<LPARAM>(w)) + ' ';
        if (msg == WM_SELECT_ACTIVE_SPECTRUM)
            line += l == -1 ? QStringLiteral("-1") : *LParamData<WM_SELECT_ACTIVE_SPECTRUM>(l);
        else if (msg == WM_MOVE_CURSOR_LINE && w == 0)
            line += QString::number(*LParamData<WM_MOVE_CURSOR_LINE>(l));
        else
            line += QString::number(l);
        sent.push_back(line);
        return 1;
    }
    std::vector<QString> Take() { return std::exchange(sent, {}); }
};

// Answers the detail dialog: `answer` types and presses a button; without
// one the dialog is cancelled. Keeps the λ0 the dialog opened with.
class DetailAnswers : public Prompts {
public:
    std::function<void(CPressureMaoDetailDlg&)> answer;
    QString openedWith;

    int RunModal(QDialog& dialog) override {
        auto& detail = dynamic_cast<CPressureMaoDetailDlg&>(dialog);
        openedWith = detail.ReferenceBox()->text();
        if (answer)
            answer(detail);
        else
            detail.CancelButton()->click();
        return detail.result();
    }
};

void Type(QLineEdit* box, const QString& text) {
    box->setText(text);
    emit box->editingFinished();
}

void WriteReferenceFile(const std::string& bytes) {
    std::filesystem::create_directories("config");
    std::ofstream("config/i0.bin", std::ios::binary) << bytes;
}

std::string ReferenceFile() {
    std::ifstream in("config/i0.bin", std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class InfoPanel : public ::testing::Test {
protected:
    void SetUp() override {
        languageIndex = 2;
        panel.SetTargetView(&view);
        InstallPrompts(&prompts);
    }
    void TearDown() override { InstallPrompts(nullptr); }

    void ChooseDevices(const std::vector<int>& positions) {
        SendWithWParam<WM_CHOSEN_SOURCES>(&panel, positions, 0);
    }
    void ChooseStatics(const std::vector<int>& numbers) { SendWithLParam<WM_CHOSEN_SOURCES>(&panel, 0, numbers); }
    // The pressure field after the cursor line reached x.
    QString PressureAt(double x) {
        SendWithLParam<WM_CURSOR_VALUE>(&panel, 1, x);
        return panel.PressureBox()->text();
    }

    RecordingView view;
    CSpectrumInfoDlg panel{nullptr};
    DetailAnswers prompts;
};

}  // namespace

TEST_F(InfoPanel, MaoPressureOnlyForWavelengthsThatGiveOne) {
    EXPECT_EQ(PressureAt(694.22), "0.00");
    EXPECT_EQ(PressureAt(700), "16.30");
    EXPECT_EQ(panel.XBox()->text(), "700.000");
    panel.SetXUnit(1);
    EXPECT_EQ(panel.PressureBox()->text(), "") << "a new unit empties the field";
    EXPECT_EQ(PressureAt(0.7), "16.30");
    for (int unit : {2, 3, 4, 5}) {
        panel.SetXUnit(unit);
        EXPECT_EQ(PressureAt(700), "") << "unit " << unit;
    }
    // Below 0 nm the scale's power has no real value, at 0 nm no meaning.
    panel.SetXUnit(0);
    for (double x : {0.0, -1.0, -700.0, std::numeric_limits<double>::quiet_NaN()})
        EXPECT_EQ(PressureAt(x), "") << x;

    SendWithLParam<WM_CURSOR_VALUE>(&panel, 2, 1234.56789);
    EXPECT_EQ(panel.YBox()->text(), "1234.568");
    EXPECT_EQ(SendMessage(&panel, WM_USER + 2048), 1);
    EXPECT_TRUE(view.sent.empty());
}

TEST_F(InfoPanel, DetailTakesOnlyAFinitePositiveReference) {
    // Damaged files leave λ0 at 694.22: none of them may reach the formula.
    for (const char* damaged : {"nan\n", "inf\n", "-inf", "1e999\n", "0\n", "-3\n", "abc", ""}) {
        WriteReferenceFile(damaged);
        panel.DetailButton()->click();
        EXPECT_EQ(prompts.openedWith, "694.22") << damaged;
        EXPECT_EQ(PressureAt(700), "16.30") << damaged;
    }
    std::filesystem::remove("config/i0.bin");
    std::filesystem::create_directories("config/i0.bin");
    panel.DetailButton()->click();
    EXPECT_EQ(prompts.openedWith, "694.22") << "a folder is no file";
    std::filesystem::remove("config/i0.bin");

    // Only the first line counts; Cancel writes nothing.
    WriteReferenceFile("700.5\r\n12\n");
    panel.DetailButton()->click();
    EXPECT_EQ(prompts.openedWith, "700.50");
    EXPECT_EQ(panel.ReferenceWavelength(), 700.5);
    EXPECT_EQ(ReferenceFile(), "700.5\r\n12\n");

    // Typed 0, negative or unreadable values put the previous λ0 back.
    prompts.answer = [](CPressureMaoDetailDlg& detail) {
        for (const char* refused : {"0", "-5", "abc", "", "inf"}) {
            Type(detail.ReferenceBox(), refused);
            EXPECT_EQ(detail.ReferenceBox()->text(), "700.50") << refused;
        }
        Type(detail.ReferenceBox(), "694.5");
        EXPECT_EQ(detail.ReferenceBox()->text(), "694.50");
        detail.OkButton()->click();
    };
    panel.DetailButton()->click();
    EXPECT_EQ(panel.ReferenceWavelength(), 694.5);
    EXPECT_EQ(ReferenceFile(), "694.50\n");

    // A λ0 so small that the power overflows gives no pressure, not "inf".
    prompts.answer = [](CPressureMaoDetailDlg& detail) {
        detail.ReferenceBox()->setText("1e-300");
        detail.OkButton()->click();  // OK checks a field still being typed in
    };
    panel.DetailButton()->click();
    EXPECT_EQ(panel.ReferenceWavelength(), 1e-300);
    EXPECT_EQ(ReferenceFile(), "0.00\n");
    EXPECT_EQ(PressureAt(700), "");
}

TEST_F(InfoPanel, ActiveLineFollowsTheListsAndTheirRefills) {
    EXPECT_TRUE(panel.DeviceChoice()->isChecked());
    EXPECT_TRUE(panel.DeviceList()->isEnabled());
    EXPECT_FALSE(panel.StaticList()->isEnabled());

    ChooseDevices({});
    EXPECT_EQ(view.Take(), (std::vector<QString>{"2042 -1 -1"}));
    ChooseDevices({0, 2});
    EXPECT_EQ(view.Take(), (std::vector<QString>{"2042 0 -1"}));
    panel.DeviceList()->setCurrentIndex(1);
    EXPECT_EQ(view.Take(), (std::vector<QString>{"2042 2 -1"}));
    ChooseDevices({1, 2, 3});
    EXPECT_EQ(panel.DeviceList()->currentText(), "2") << "the chosen device is kept";
    EXPECT_EQ(view.Take(), (std::vector<QString>{"2042 2 -1"}));
    ChooseDevices({0, 1});
    EXPECT_EQ(view.Take(), (std::vector<QString>{"2042 0 -1"})) << "gone: the first is taken";
    // An entry whose number lies below its place in the list is not chosen.
    ChooseDevices({5, 0});
    view.Take();
    panel.DeviceList()->setCurrentIndex(1);
    EXPECT_TRUE(view.sent.empty());

    // Refilling the static list keeps its choice and sends nothing.
    ChooseStatics({3, 7});
    EXPECT_TRUE(view.sent.empty());
    panel.StaticChoice()->click();
    EXPECT_TRUE(panel.StaticList()->isEnabled());
    EXPECT_FALSE(panel.DeviceList()->isEnabled());
    EXPECT_EQ(view.Take(), (std::vector<QString>{"2042 -1 3"}));
    panel.StaticList()->setCurrentIndex(1);
    EXPECT_EQ(view.Take(), (std::vector<QString>{"2042 -1 7"}));
    ChooseStatics({1, 7});
    EXPECT_EQ(panel.StaticList()->currentText(), "7");
    ChooseStatics({});
    EXPECT_TRUE(view.sent.empty());
    panel.StaticChoice()->click();
    EXPECT_EQ(view.Take(), (std::vector<QString>{"2042 -1 -1"}));

    // New device ticks choose a device even while the static list is in use.
    ChooseDevices({4});
    EXPECT_EQ(view.Take(), (std::vector<QString>{"2042 4 -1"}));
    panel.DeviceChoice()->click();
    EXPECT_FALSE(panel.StaticList()->isEnabled());
    EXPECT_EQ(view.Take(), (std::vector<QString>{"2042 4 -1"}));
}

TEST_F(InfoPanel, CursorLineEntryAndProgress) {
    panel.XBox()->setText("512.5 nm");
    emit panel.XBox()->returnPressed();
    for (const char* refused : {"abc", "", "nan", "inf"}) {
        panel.XBox()->setText(refused);
        emit panel.XBox()->returnPressed();
    }
    panel.XArrows()->Up()->click();
    panel.XArrows()->Down()->click();
    EXPECT_EQ(view.Take(), (std::vector<QString>{"2043 0 512.5", "2043 1 0", "2043 -1 0"}));

    EXPECT_EQ(panel.PercentText()->text(), "0%");
    EXPECT_EQ(panel.ProgressBar()->value(), 50);
    EXPECT_EQ(SendMessage(&panel, WM_AVERAGE_PROGRESS, 42, 0), 1);
    EXPECT_EQ(panel.PercentText()->text(), "42%");
    EXPECT_EQ(panel.ProgressBar()->value(), 42);
}

// In the tab page of a live view (about 144 px high, at least 700 wide)
// every control shows its whole text and none covers another, in English
// and in Chinese.
TEST(InfoPanelLayout, NothingClippedOrOverlapping) {
    for (int language : {2, 0}) {
        for (const QSize size : {QSize(900, 144), QSize(700, 123)}) {
            for (const int saturated : {0, 16500}) {  // with the saturated pixels shown too
                languageIndex = language;
                QWidget page;  // the tab page, which does not grow with its panel
                page.resize(size);
                CSpectrumInfoDlg panel(&page);
                panel.ShowSaturated(saturated);
                panel.setGeometry(page.rect());
                page.show();
                panel.layout()->activate();
                ASSERT_EQ(panel.size(), size);
                std::vector<QWidget*> controls;
                for (QWidget* child : panel.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                    if (child->isVisible()) controls.push_back(child);
                ASSERT_EQ(controls.size(), saturated > 0 ? 14u : 13u);
                for (QWidget* control : controls) {
                    const char* name = control->metaObject()->className();
                    EXPECT_TRUE(panel.rect().contains(control->geometry()))
                        << name << " language " << language;
                    EXPECT_GE(control->width(), control->minimumSizeHint().width()) << name;
                    if (!qobject_cast<QLineEdit*>(control) && !qobject_cast<QComboBox*>(control)) {
                        EXPECT_GE(control->width(), control->sizeHint().width())
                            << name << " language " << language;
                    }
                    for (QWidget* other : controls) {
                        if (other != control) {
                            EXPECT_FALSE(control->geometry().intersects(other->geometry())) << name;
                        }
                    }
                }
                EXPECT_GE(panel.ProgressText()->width(), panel.ProgressText()->sizeHint().width());
            }
        }
    }
    languageIndex = 2;
}
