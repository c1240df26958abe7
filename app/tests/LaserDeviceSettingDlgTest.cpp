#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "LaserDeviceSettingDlg.h"
#include "ProcessValues.h"
#include "Prompts.h"
#include "PtyPair.h"

using namespace quenlix;

namespace {

using Bytes = std::vector<unsigned char>;

const char* const kLaserFile = "config/libs-laser.bin";

void WriteFile(const std::string& path, const std::string& bytes) {
    std::filesystem::create_directories("config");
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

Bytes Frame(unsigned char code, std::array<unsigned char, 4> value) {
    return {0x55, 0xAA, 0x08, 0x00, code, value[0], value[1], value[2], value[3], 0x00};
}

class RecordingBoxes : public Prompts {
public:
    Answer MessageBox(QWidget*, const QString& text, const QString&, Buttons) override {
        texts.push_back(text);
        return Answer::Ok;
    }
    std::vector<QString> texts;
};

class LaserDialog : public ::testing::Test {
protected:
    void SetUp() override { languageIndex = 2; }
    void TearDown() override { InstallPrompts(nullptr); }

    // Types text into the edit and presses Enter there.
    static void Enter(QLineEdit* box, const QString& text) {
        box->setFocus();
        box->setText(text);
        QTest::keyClick(box, Qt::Key_Return);
    }

    // Lets the event loop run until the dialog has ended.
    static bool Ended(const QDialog& dialog) {
        return QTest::qWaitFor([&] { return !dialog.isVisible(); }, 5000);
    }
};

}  // namespace

// Reading brings every value into its range; lines that are no number leave
// the initial value; a file that is no settings file at all gives the
// initial values, which are written back in the 22-line layout.
TEST(LaserSettingsFile, IsReadIntoRangeAndWrittenAsCrLfLines) {
    EXPECT_TRUE(WriteLaserSettingsFile(ReadLaserSettingsFile()));  // no file yet
    EXPECT_EQ(FileBytes(kLaserFile),
              "BOpenLaserControl\r\n1\r\nControlMode\r\n1\r\nCommPort\r\n1\r\nPulseWidthUsec\r\n10\r\n"
              "HZ\r\n20\r\nDelay0Ns\r\n30\r\nDelay1Ns\r\n40\r\nDelayStepNs\r\n50\r\nGrabCount\r\n60\r\n"
              "BKeepStrongestSpec\r\n0\r\nTrigMode\r\n0\r\n");

    WriteFile(kLaserFile,
              "junk\nCommPort\r\n1001\r\nTrigMode\n5\nHZ\n0\nBOpenLaserControl\nno\nControlMode\n3\n"
              "PulseWidthUsec\n-7\nDelay0Ns\nabc\nGrabCount\n99999999999\nBKeepStrongestSpec\nyes\n"
              "Delay1Ns\n  +45 ns\nDelayStepNs");  // the last name has no value line
    LaserSettings s = ReadLaserSettingsFile();
    EXPECT_EQ(s.CommPort, 1);
    EXPECT_EQ(s.TrigMode, 1);
    EXPECT_EQ(s.HZ, 1);
    EXPECT_TRUE(s.BOpenLaserControl);  // only "0" turns control off
    EXPECT_EQ(s.ControlMode, 1);
    EXPECT_EQ(s.PulseWidthUsec, 1);
    EXPECT_EQ(s.Delay0Ns, 30);
    EXPECT_EQ(s.GrabCount, 60);
    EXPECT_FALSE(s.BKeepStrongestSpec);  // only "1" keeps the strongest spectrum
    EXPECT_EQ(s.Delay1Ns, 45);
    EXPECT_EQ(s.DelayStepNs, 50);

    // Oversized, or a folder in its place: the initial values.
    WriteFile(kLaserFile, std::string(5000, 'x') + "\nHZ\n7\n");
    EXPECT_EQ(ReadLaserSettingsFile().HZ, 20);
    std::filesystem::remove(kLaserFile);
    std::filesystem::create_directories(kLaserFile);
    EXPECT_EQ(ReadLaserSettingsFile().HZ, 20);
}

// Edits, arrows, unit lists and enabling as the person uses them; Enter in an
// edit and Escape leave the dialog open.
TEST_F(LaserDialog, EditsArrowsAndUnitsKeepValuesInRange) {
    WriteFile(kLaserFile, "HZ\n999\nPulseWidthUsec\n2500\nDelay0Ns\n999000000\n");
    CBeamora laser;
    CLaserDeviceSettingDlg dialog(laser);
    dialog.show();
    EXPECT_EQ(dialog.WidthBox()->text(), "2500");  // unit lists start at µs and ns
    EXPECT_EQ(dialog.DelayBox()->text(), "999000000");

    dialog.FreqArrows()->Up()->click();
    dialog.FreqArrows()->Up()->click();
    EXPECT_EQ(dialog.settings.HZ, 1000);
    Enter(dialog.FreqBox(), "5000");  // typing goes beyond the arrows' limit
    EXPECT_EQ(dialog.settings.HZ, 5000);
    dialog.FreqArrows()->Up()->click();
    EXPECT_EQ(dialog.settings.HZ, 5000);
    Enter(dialog.FreqBox(), "0");
    EXPECT_EQ(dialog.FreqBox()->text(), "5000");
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_TRUE(dialog.isVisible());

    dialog.WidthUnit()->setCurrentIndex(1);  // ms: whole milliseconds
    EXPECT_EQ(dialog.settings.PulseWidthUsec, 2000);
    EXPECT_EQ(dialog.WidthBox()->text(), "2");
    Enter(dialog.WidthBox(), "1");
    EXPECT_EQ(dialog.settings.PulseWidthUsec, 1000);
    dialog.WidthArrows()->Down()->click();  // not below one unit
    EXPECT_EQ(dialog.settings.PulseWidthUsec, 1000);
    Enter(dialog.WidthBox(), "999");
    dialog.WidthArrows()->Up()->click();
    dialog.WidthArrows()->Up()->click();  // not above 1000000 µs
    EXPECT_EQ(dialog.settings.PulseWidthUsec, 1000000);
    dialog.WidthUnit()->setCurrentIndex(0);
    EXPECT_EQ(dialog.WidthBox()->text(), "1000000");

    dialog.DelayUnit()->setCurrentIndex(2);  // ms
    EXPECT_EQ(dialog.settings.Delay0Ns, 999000000);
    dialog.DelayArrows()->Up()->click();
    dialog.DelayArrows()->Up()->click();  // not above 1000000000 ns
    EXPECT_EQ(dialog.settings.Delay0Ns, 1000000000);
    Enter(dialog.DelayBox(), "3000");  // 3 s in ns is more than an int holds
    EXPECT_EQ(dialog.settings.Delay0Ns, 1000000000);
    EXPECT_EQ(dialog.DelayBox()->text(), "1000");
    EXPECT_TRUE(dialog.isVisible());

    dialog.ControlCheck()->click();
    EXPECT_FALSE(dialog.settings.BOpenLaserControl);
    for (QWidget* w : std::initializer_list<QWidget*>{
             dialog.PortBox(), dialog.FreqBox(), dialog.FreqArrows(), dialog.WidthBox(), dialog.WidthUnit(),
             dialog.DelayBox(), dialog.DelayArrows(), dialog.DelayUnit()}) {
        EXPECT_FALSE(w->isEnabled());
    }
    EXPECT_TRUE(dialog.TrigBox()->isEnabled());
    dialog.ControlCheck()->click();
    EXPECT_TRUE(dialog.PortBox()->isEnabled());
    EXPECT_TRUE(dialog.DelayBox()->isEnabled());

    // Mode 2 keeps the delay of mode 1 out of use.
    WriteFile(kLaserFile, "ControlMode\n2\n");
    CLaserDeviceSettingDlg mode2(laser);
    EXPECT_TRUE(mode2.FreqBox()->isEnabled());
    EXPECT_FALSE(mode2.DelayBox()->isEnabled());
}

// With the laser's port already open, OK sends trigger, width, frequency,
// delay and start to it, pausing between them without holding up the window:
// a timer keeps ticking, while the dialog cannot be ended half-way. The new
// port number only counts from the next opening. A dialog that goes away
// meanwhile sends no more; OK with control off closes the port at once. The
// mode-2 settings go back into the file as read.
TEST_F(LaserDialog, OkAppliesSettingsToTheOpenPortInOrder) {
    PtyPair pty;
    ASSERT_TRUE(pty.IsOpen());
    WriteFile("config/laser port", pty.SlavePath());
    CBeamora laser;
    laser.OpenComm();
    ASSERT_TRUE(laser.IsCommOpening());

    WriteFile(
        kLaserFile,
        "CommPort\n3\nDelay0Ns\n300\nDelay1Ns\n7\nDelayStepNs\n8\nGrabCount\n9\nBKeepStrongestSpec\n1\n");
    CLaserDeviceSettingDlg dialog(laser);
    dialog.show();
    EXPECT_EQ(dialog.PortDevice()->text().toStdWString(), CBeamora::PortDeviceName(3));
    dialog.WidthUnit()->setCurrentIndex(1);
    Enter(dialog.WidthBox(), "1");  // 1 ms
    dialog.TrigBox()->setCurrentIndex(1);

    QElapsedTimer clock;
    clock.start();
    int ticks = 0;
    qint64 lastTick = 0;
    qint64 longestGap = 0;
    QTimer ticker;  // stands in for the live chart behind the dialog
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        longestGap = std::max(longestGap, clock.elapsed() - lastTick);
        lastTick = clock.elapsed();
        ++ticks;
    });
    ticker.start(10);
    dialog.OkButton()->click();
    for (QWidget* w :
         std::initializer_list<QWidget*>{dialog.OkButton(), dialog.CancelButton(), dialog.ControlCheck(),
                                         dialog.FreqBox(), dialog.TrigBox()}) {
        EXPECT_FALSE(w->isEnabled());
    }
    EXPECT_FALSE(dialog.close());
    EXPECT_TRUE(dialog.isVisible());
    ASSERT_TRUE(Ended(dialog));
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_GE(clock.elapsed(), 4 * 300) << "the laser needs its pauses";
    ticker.stop();
    EXPECT_GT(ticks, 20);
    EXPECT_LT(longestGap, 250);

    Bytes expected;
    for (const Bytes& frame :
         {Frame(0x04, {0, 0, 0, 1}), Frame(0x01, {0x00, 0x0F, 0x42, 0x40}), Frame(0x00, {0, 0, 0, 20}),
          Frame(0x07, {0, 0, 0x01, 0x2C}), Frame(0x09, {0, 0, 0, 1})}) {
        expected.insert(expected.end(), frame.begin(), frame.end());
    }
    EXPECT_EQ(pty.Read(expected.size() + 1, 500), expected);
    EXPECT_TRUE(laser.IsCommOpening());
    const std::wstring port3 = CBeamora::PortDeviceName(3);
    EXPECT_EQ(FileBytes("config/laser port"), std::string(port3.begin(), port3.end()));
    EXPECT_EQ(FileBytes(kLaserFile),
              "BOpenLaserControl\r\n1\r\nControlMode\r\n1\r\nCommPort\r\n3\r\nPulseWidthUsec\r\n1000\r\n"
              "HZ\r\n20\r\nDelay0Ns\r\n300\r\nDelay1Ns\r\n7\r\nDelayStepNs\r\n8\r\nGrabCount\r\n9\r\n"
              "BKeepStrongestSpec\r\n1\r\nTrigMode\r\n1\r\n");

    auto gone = std::make_unique<CLaserDeviceSettingDlg>(laser);
    gone->show();
    gone->OkButton()->click();
    gone.reset();
    QTest::qWait(500);
    EXPECT_EQ(pty.Read(expected.size(), 100), Frame(0x04, {0, 0, 0, 1}));

    CLaserDeviceSettingDlg off(laser);
    off.show();
    off.ControlCheck()->click();
    off.OkButton()->click();
    EXPECT_EQ(off.result(), QDialog::Accepted);
    EXPECT_FALSE(off.settings.BOpenLaserControl);
    EXPECT_FALSE(laser.IsCommOpening());
    EXPECT_TRUE(pty.Read(1, 100).empty());
}

// A port that cannot be opened is named in a message box and the dialog
// stays open for another choice. The settings file was written before the
// port was tried; Cancel afterwards writes nothing more.
TEST_F(LaserDialog, PortThatCannotBeOpenedIsTold) {
    RecordingBoxes boxes;
    InstallPrompts(&boxes);
    CBeamora laser;
    CLaserDeviceSettingDlg dialog(laser);
    dialog.show();
    Enter(dialog.PortBox(), "1000");
    const QString device = QString::fromStdWString(CBeamora::PortDeviceName(1000));
    ASSERT_FALSE(std::filesystem::exists(device.toStdString()));
    EXPECT_EQ(dialog.PortDevice()->text(), device);

    dialog.OkButton()->click();
    EXPECT_FALSE(laser.IsCommOpening());
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_TRUE(boxes.texts[0].contains(device)) << boxes.texts[0].toStdString();
    EXPECT_TRUE(dialog.isVisible());

    Enter(dialog.FreqBox(), "77");
    dialog.CancelButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(ReadLaserSettingsFile().CommPort, 1000);
    EXPECT_EQ(ReadLaserSettingsFile().HZ, 20);
}
