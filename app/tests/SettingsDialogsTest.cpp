#include <gtest/gtest.h>

#include <QImage>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "AppTestSupport.h"
#include "LineColorList.h"
#include "ProcessValues.h"
#include "Prompts.h"
#include "SetExcitationWavelengthDlg.h"
#include "SetLineColorDlg.h"
#include "Varelix2Dlg.h"

using namespace quenlix;
using namespace quenlix::testing;

namespace {

std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Records the prompts; colours are answered from a queue (cancelled when
// empty) and modal runs by `modal`.
class ScriptedPrompts : public Prompts {
public:
    std::vector<QString> messages;
    std::deque<std::uint32_t> colors;
    int colorQuestions = 0;
    std::function<int(QDialog&)> modal;

    Answer MessageBox(QWidget*, const QString& text, const QString& caption, Buttons) override {
        messages.push_back(caption + ": " + text);
        return Answer::Ok;
    }
    std::optional<std::uint32_t> ChooseColor(QWidget*, std::uint32_t initial) override {
        ++colorQuestions;
        EXPECT_EQ(initial, 0u) << "the chooser starts from black";
        if (colors.empty()) return std::nullopt;
        const std::uint32_t color = colors.front();
        colors.pop_front();
        return color;
    }
    int RunModal(QDialog& dialog) override { return modal ? modal(dialog) : QDialog::Rejected; }
    std::vector<QString> Take() { return std::exchange(messages, {}); }
};

class Dialogs : public SimulatedDevicesTest {
protected:
    void SetUp() override {
        SimulatedDevicesTest::SetUp();
        InstallPrompts(&prompts);
    }
    void TearDown() override {
        InstallPrompts(nullptr);
        SimulatedDevicesTest::TearDown();
    }
    ScriptedPrompts prompts;
};

}  // namespace

TEST_F(Dialogs, LineColourLimitsAreToldInChinese) {
    lineColorList = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    CSetLineColorDlg full;
    prompts.colors = {0x123456};
    full.AddButton()->click();
    EXPECT_EQ(prompts.Take(), (std::vector<QString>{"Prompt: 谱线颜色数量应该不大于10"}));
    EXPECT_EQ(prompts.colorQuestions, 0);
    EXPECT_EQ(full.WorkingColors().size(), 10u);

    lineColorList = {255};
    CSetLineColorDlg single;
    single.ColorList()->setCurrentRow(0);
    single.DeleteButton()->click();
    EXPECT_EQ(prompts.Take(), (std::vector<QString>{"Prompt: 至少应该有一种颜色"}));
    EXPECT_EQ(single.WorkingColors(), (std::vector<std::uint32_t>{255}));
}

TEST_F(Dialogs, LineColourEditsAndPreview) {
    chartBackgroundColor = 0x00C0C0C0;
    lineColorList = {255, 16711680, 15736992};
    CSetLineColorDlg dialog;
    const auto colors = [&] { return dialog.WorkingColors(); };
    const auto selected = [&] { return dialog.ColorList()->currentRow(); };

    prompts.colors = {0x111111, 0x222222, 0x333333};
    dialog.AddButton()->click();  // nothing selected: at the end
    dialog.ColorList()->setCurrentRow(1);
    dialog.AddButton()->click();  // before the selection
    EXPECT_EQ(colors(), (std::vector<std::uint32_t>{255, 0x222222, 16711680, 15736992, 0x111111}));
    EXPECT_EQ(dialog.ColorList()->count(), 5);
    EXPECT_EQ(dialog.ColorList()->item(4)->text(), "4");
    dialog.ModifyButton()->click();
    EXPECT_EQ(colors()[1], 0x333333u);
    dialog.ModifyButton()->click();  // cancelled
    EXPECT_EQ(colors()[1], 0x333333u);

    // The selection follows the moved colour; moves past either end do nothing.
    dialog.ColorList()->setCurrentRow(2);
    dialog.ToFirstButton()->click();
    dialog.UpButton()->click();
    dialog.DownButton()->click();
    EXPECT_EQ(colors(), (std::vector<std::uint32_t>{255, 16711680, 0x333333, 15736992, 0x111111}));
    dialog.ToLastButton()->click();
    dialog.DownButton()->click();
    dialog.UpButton()->click();
    EXPECT_EQ(colors(), (std::vector<std::uint32_t>{255, 0x333333, 15736992, 16711680, 0x111111}));
    EXPECT_EQ(selected(), 3);

    dialog.ColorList()->setCurrentRow(4);
    dialog.DeleteButton()->click();
    EXPECT_EQ(colors(), (std::vector<std::uint32_t>{255, 0x333333, 15736992, 16711680}));
    EXPECT_EQ(selected(), 3) << "the selection stays on the last entry";
    EXPECT_EQ(dialog.ColorList()->count(), 4);

    // Line k is drawn across the preview at 15 + 15k on the chart background.
    ASSERT_EQ(dialog.Preview()->geometry(), QRect(200, 65, 130, 220));
    const QImage preview = dialog.Preview()->pixmap().toImage();
    EXPECT_EQ(preview.pixelColor(70, 100), QColor(0xC0, 0xC0, 0xC0));
    const QColor expected[] = {QColor(255, 0, 0), QColor(0x33, 0x33, 0x33), QColor(160, 32, 240), QColor(0, 0, 255)};
    for (int k = 0; k < 4; ++k) EXPECT_EQ(preview.pixelColor(70, 15 + 15 * k), expected[k]) << k;
    EXPECT_EQ(lineColorList, (std::list<std::uint32_t>{255, 16711680, 15736992})) << "only Sure changes it";
}

TEST_F(Dialogs, LineColourSureWritesTheFileAndTheList) {
    lineColorList = {255, 16711680};
    {
        CSetLineColorDlg dialog;
        prompts.colors = {25600};
        dialog.AddButton()->click();
        dialog.CloseButton()->click();
    }
    EXPECT_EQ(lineColorList, (std::list<std::uint32_t>{255, 16711680}));
    EXPECT_FALSE(std::filesystem::exists("config/spec color.bin"));

    // A file that cannot be written is told and nothing changes.
    std::filesystem::create_directories("config/spec color.bin/blocked");
    CSetLineColorDlg dialog;
    prompts.colors = {25600};
    dialog.AddButton()->click();
    dialog.SureButton()->click();
    const std::vector<QString> told = prompts.Take();
    ASSERT_EQ(told.size(), 1u);
    EXPECT_TRUE(told[0].startsWith("Prompt: Save failure!")) << told[0].toStdString();
    EXPECT_TRUE(told[0].endsWith("config/spec color.bin"));
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(lineColorList, (std::list<std::uint32_t>{255, 16711680}));

    std::filesystem::remove_all("config/spec color.bin");
    dialog.SureButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(lineColorList, (std::list<std::uint32_t>{255, 16711680, 25600}));
    EXPECT_EQ(FileBytes("config/spec color.bin"), "255l\r\n16711680l\r\n25600l\r\n");
}

TEST_F(Dialogs, ExcitationWavelengthTakesOnlyAWavelength) {
    CSetExcitationWavelengthDlg dialog;
    EXPECT_EQ(dialog.WavelengthBox()->text(), "785.00");
    for (const char* refused : {"", "abc", "0", "-532", "inf", "nan"}) {
        dialog.WavelengthBox()->setText(refused);
        dialog.ModifyButton()->click();
        EXPECT_EQ(prompts.Take(), (std::vector<QString>{"Wrong: The content input is wrong!"})) << refused;
        EXPECT_NE(dialog.result(), QDialog::Accepted);
    }
    EXPECT_EQ(excitationWavelengthSetting, 785.0);
    dialog.WavelengthBox()->setText("532.1");
    dialog.ModifyButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(excitationWavelengthSetting, 532.1);

    CSetExcitationWavelengthDlg closed;
    EXPECT_EQ(closed.WavelengthBox()->text(), "532.10");
    closed.CloseButton()->click();
    EXPECT_EQ(excitationWavelengthSetting, 532.1);
}

TEST_F(Dialogs, SettingsMenuOpensTheDialogs) {
    CVarelix2Dlg window;
    std::vector<std::string> opened;
    prompts.modal = [&](QDialog& dialog) {
        opened.push_back(dialog.windowTitle().toStdString());
        if (auto* excitation = dynamic_cast<CSetExcitationWavelengthDlg*>(&dialog)) {
            excitation->WavelengthBox()->setText("633");
            excitation->ModifyButton()->click();
        }
        return dialog.result();
    };
    window.MenuAction(ID_EXCITATION_WAVELENGTH)->trigger();
    window.MenuAction(ID_COLOR_LINE)->trigger();
    EXPECT_EQ(opened, (std::vector<std::string>{"Set Excitation Wavelength", "Set Spectral Line Color"}));
    EXPECT_EQ(excitationWavelengthSetting, 633.0);
}
