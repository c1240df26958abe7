#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFocusEvent>
#include <QRegularExpression>
#include <QTest>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "DataFileSave.h"
#include "ProcessValues.h"
#include "Prompts.h"
#include "SaveSerialSpectrumDataSettingDlg.h"

using namespace quenlix;
namespace fs = std::filesystem;

namespace {

constexpr const char* kPath = "config/save serial settings.bin";

std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void WriteBytes(const std::string& bytes) {
    fs::create_directories("config");
    std::ofstream(kPath, std::ios::binary) << bytes;
}

// FF FE and the text as UTF-16LE.
std::string Utf16File(const std::u16string& text) {
    std::string bytes = "\xFF\xFE";
    for (char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes;
}

const std::u16string kDefaultLines =
    u"000SaveMode:0\n010IntervalCount:5\n020IntervalTimeMs:100\n030IntervalTimeInput:100\n"
    u"040TimeUnit0:0\n050StopMode:0\n060SaveCount:50\n070SaveLengthMs:60000\n080SaveLengthInput:1\n"
    u"090TimeUnit1:2\n100Prefix:data\n110FillCount:5\n120FileDir:\n";

// Types text into a numeric edit and leaves it.
void Type(QLineEdit* box, const QString& text) {
    box->setText(text);
    QFocusEvent out(QEvent::FocusOut);
    QCoreApplication::sendEvent(box, &out);
}

void Click(UpDownArrows* arrows, int step, int times = 1) {
    for (int i = 0; i < times; ++i) (step > 0 ? arrows->Up() : arrows->Down())->click();
}

// Answers folder choosers from a queue (cancelled when empty) and records messages.
class FolderPrompts : public Prompts {
public:
    std::deque<QString> folders;
    std::vector<QString> messages;
    std::vector<QString> folderTitles;

    Answer MessageBox(QWidget*, const QString& text, const QString& caption, Buttons) override {
        messages.push_back(caption + ": " + text);
        return Answer::Ok;
    }
    QString FolderName(QWidget*, const QString& title) override {
        folderTitles.push_back(title);
        if (folders.empty()) return {};
        const QString folder = folders.front();
        folders.pop_front();
        return folder;
    }
};

class SeriesDialog : public ::testing::Test {
protected:
    void SetUp() override {
        languageIndex = 2;
        InstallPrompts(&prompts);
    }
    void TearDown() override { InstallPrompts(nullptr); }

    static void ExpectDefaults(const CSaveSerialSpectrumDataSettingDlg& d, const std::string& what) {
        SCOPED_TRACE(what);
        EXPECT_EQ(d.SaveMode(), 0);
        EXPECT_EQ(d.IntervalCount(), 5);
        EXPECT_EQ(d.IntervalTimeMs(), 100);
        EXPECT_EQ(d.StopMode(), 0);
        EXPECT_EQ(d.SaveCount(), 50);
        EXPECT_EQ(d.SaveLengthMs(), 60000);
        EXPECT_EQ(d.Prefix(), L"data");
        EXPECT_EQ(d.FillCount(), 5);
        EXPECT_EQ(d.FileDir(), L"");
        EXPECT_EQ(d.LengthUnitBox()->currentText(), "min");
        EXPECT_EQ(d.PreviewField()->text(), "data01234.txt");
    }

    FolderPrompts prompts;
};

}  // namespace

TEST_F(SeriesDialog, SettingsFileBytesAndRoundTrip) {
    {
        CSaveSerialSpectrumDataSettingDlg fresh;
        ExpectDefaults(fresh, "no file");
        fresh.CancelButton()->click();
    }
    EXPECT_EQ(FileBytes(kPath), Utf16File(kDefaultLines)) << "Cancel writes the file too";

    const QString runs = QDir::currentPath() + "/runs";
    {
        CSaveSerialSpectrumDataSettingDlg dialog;
        dialog.SaveModeChoice(2)->click();
        Type(dialog.IntervalTimeBox(), "5");
        dialog.IntervalUnitBox()->setCurrentIndex(1);
        dialog.StopModeChoice(1)->click();
        Type(dialog.SaveCountBox(), "12");
        Type(dialog.SaveLengthBox(), "3");
        dialog.LengthUnitBox()->setCurrentIndex(3);
        dialog.PrefixBox()->setText(QString::fromUtf16(u"光谱"));
        Click(dialog.FillCountArrows(), -1, 2);
        prompts.folders = {runs};
        dialog.ChooseDirButton()->click();
        // Typed but not yet left: closing takes it all the same.
        dialog.show();
        dialog.IntervalCountBox()->setText("7");
        dialog.close();
    }
    const std::u16string dir = (runs + "/").toStdU16String();
    EXPECT_EQ(FileBytes(kPath),
              Utf16File(u"000SaveMode:2\n010IntervalCount:7\n020IntervalTimeMs:5000\n030IntervalTimeInput:5\n"
                        u"040TimeUnit0:1\n050StopMode:1\n060SaveCount:12\n070SaveLengthMs:10800000\n"
                        u"080SaveLengthInput:3\n090TimeUnit1:3\n100Prefix:光谱\n110FillCount:3\n120FileDir:" +
                        dir + u"\n"));

    // Read back, every value comes out as it went in, and shows.
    const std::string written = FileBytes(kPath);
    {
        CSaveSerialSpectrumDataSettingDlg again;
        EXPECT_TRUE(again.SaveModeChoice(2)->isChecked() && again.StopModeChoice(1)->isChecked());
        EXPECT_EQ(again.IntervalUnitBox()->currentText(), "s");
        EXPECT_EQ(again.LengthUnitBox()->currentText(), "h");
        EXPECT_EQ(again.DirField()->text(), runs + "/");
        EXPECT_EQ(again.PreviewField()->text(), QString::fromUtf16(u"光谱012.txt"));
    }
    EXPECT_EQ(FileBytes(kPath), written);
}

TEST_F(SeriesDialog, SettingsFileIsReadByItsUnitsAndDamageGivesTheDefaults) {
    // The shown number and its unit make the interval; the stored milliseconds do not.
    WriteBytes(Utf16File(u"030IntervalTimeInput:5\n040TimeUnit0:1\n020IntervalTimeMs:77\n"));
    EXPECT_EQ(CSaveSerialSpectrumDataSettingDlg().IntervalTimeMs(), 5000);

    // A line that is out of range is dropped alone; the others still count.
    WriteBytes(Utf16File(u"000SaveMode:3\r\n060SaveCount:7\r\n100Prefix:run\r\n"));
    {
        CSaveSerialSpectrumDataSettingDlg dialog;
        EXPECT_EQ(dialog.SaveMode(), 0);
        EXPECT_EQ(dialog.SaveCount(), 7);
        EXPECT_EQ(dialog.Prefix(), L"run") << "CR LF lines read as LF lines";
    }

    std::string narrow;
    for (char16_t c : std::u16string_view(u"000SaveMode:2\n060SaveCount:9\n100Prefix:x\n"))
        narrow += static_cast<char>(c);
    const std::string damaged[] = {
        narrow,  // a narrow text file, without FF FE
        "\xFF",
        "\xFE\xFF" + Utf16File(u"060SaveCount:9\n").substr(2),  // big-endian mark
        Utf16File(u"000SaveMode:-1\n050StopMode:9\n060SaveCount:0\n010IntervalCount:x\n"),
        Utf16File(u"110FillCount:10\n040TimeUnit0:3\n090TimeUnit1:4\n030IntervalTimeInput:-5\n"),
        Utf16File(u"010IntervalCount:2147483648\n060SaveCount:99999999999999999999999\n"),
        // 597 h and 35792 min do not fit in int milliseconds.
        Utf16File(u"080SaveLengthInput:597\n090TimeUnit1:3\n030IntervalTimeInput:35792\n040TimeUnit0:2\n"),
        Utf16File(u"000SaveMode:2\n" + std::u16string(40000, u'x')),  // beyond any settings file
        "\xFF\xFE" + std::string(301, '\x9C'),
    };
    for (std::size_t i = 0; i < std::size(damaged); ++i) {
        WriteBytes(damaged[i]);
        const auto dialog = std::make_unique<CSaveSerialSpectrumDataSettingDlg>();
        ExpectDefaults(*dialog, "damaged file " + std::to_string(i));
    }

    // A folder in the file's place reads as no file, and the write that fails is told.
    fs::remove(kPath);
    fs::create_directories(std::string(kPath) + "/blocked");
    {
        CSaveSerialSpectrumDataSettingDlg dialog;
        ExpectDefaults(dialog, "a folder");
    }
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_TRUE(prompts.messages[0].startsWith("Prompt: Save failure!")) << prompts.messages[0].toStdString();
}

TEST_F(SeriesDialog, EditsKeepTheirBounds) {
    CSaveSerialSpectrumDataSettingDlg dialog;
    for (const char* refused : {"0", "-3", "abc", ""}) {
        Type(dialog.SaveCountBox(), refused);
        EXPECT_EQ(dialog.SaveCountBox()->text(), "50") << refused;
    }
    Type(dialog.SaveCountBox(), "12abc");
    EXPECT_EQ(dialog.SaveCount(), 12);
    Click(dialog.IntervalCountArrows(), -1, 6);
    EXPECT_EQ(dialog.IntervalCountBox()->text(), "1");
    Click(dialog.IntervalCountArrows(), +1);
    EXPECT_EQ(dialog.IntervalCount(), 2);

    // 596 h is the longest series whose milliseconds fit in an int.
    dialog.LengthUnitBox()->setCurrentIndex(3);
    Type(dialog.SaveLengthBox(), "596");
    EXPECT_EQ(dialog.SaveLengthMs(), 596 * 3600000);
    Type(dialog.SaveLengthBox(), "597");
    Click(dialog.SaveLengthArrows(), +1);
    EXPECT_EQ(dialog.SaveLengthBox()->text(), "596");
    dialog.LengthUnitBox()->setCurrentIndex(2);
    Type(dialog.SaveLengthBox(), "35792");
    EXPECT_EQ(dialog.SaveLengthMs(), 596 * 60000);
    Type(dialog.SaveLengthBox(), "35791");
    dialog.LengthUnitBox()->setCurrentIndex(3);  // would overflow: the unit stays
    EXPECT_EQ(dialog.LengthUnitBox()->currentIndex(), 2);
    EXPECT_EQ(dialog.SaveLengthMs(), 35791 * 60000);
    Type(dialog.IntervalTimeBox(), "2147483648");
    EXPECT_EQ(dialog.IntervalTimeMs(), 100);

    // The fill count runs from 1 to 9, and the preview follows it.
    Click(dialog.FillCountArrows(), +1, 6);
    EXPECT_EQ(dialog.FillCount(), 9);
    EXPECT_EQ(dialog.PreviewField()->text(), "data012345678.txt");
    Type(dialog.FillCountBox(), "10");
    EXPECT_EQ(dialog.FillCountBox()->text(), "9");
    Type(dialog.FillCountBox(), "2");
    EXPECT_EQ(dialog.PreviewField()->text(), "data01.txt");
    Click(dialog.FillCountArrows(), -1, 3);
    EXPECT_EQ(dialog.PreviewField()->text(), "data0.txt");

    // The milliseconds box shows only while the time is included.
    dialog.show();
    EXPECT_FALSE(dialog.IncludeMsBox()->isVisible());
    dialog.IncludeTimeBox()->click();
    EXPECT_TRUE(dialog.IncludeMsBox()->isVisible());
    EXPECT_TRUE(QRegularExpression(R"(^data0_\d{6}\.txt$)").match(dialog.PreviewField()->text()).hasMatch());
    dialog.IncludeMsBox()->click();
    EXPECT_TRUE(dialog.IncludeMs());
    EXPECT_TRUE(
        QRegularExpression(R"(^data0_\d{6}\(\d{3}\)\.txt$)").match(dialog.PreviewField()->text()).hasMatch());
    dialog.IncludeTimeBox()->click();
    EXPECT_FALSE(dialog.IncludeMsBox()->isVisible());
    EXPECT_FALSE(dialog.IncludeMsBox()->isChecked());
    EXPECT_FALSE(dialog.IncludeTime() || dialog.IncludeMs());
    EXPECT_EQ(dialog.PreviewField()->text(), "data0.txt");
}

TEST_F(SeriesDialog, BeginSavingNeedsAFolderAndKeysDoNothing) {
    CSaveSerialSpectrumDataSettingDlg dialog;
    dialog.show();
    dialog.BeginButton()->click();
    EXPECT_EQ(prompts.messages, (std::vector<QString>{"Wrong: Please choose directory to save files!"}));
    EXPECT_TRUE(dialog.isVisible());
    dialog.ChooseDirButton()->click();  // cancelled
    EXPECT_EQ(dialog.FileDir(), L"");
    EXPECT_EQ(prompts.folderTitles, (std::vector<QString>{"Choose Dir"}));

    QTest::keyClick(&dialog, Qt::Key_Escape);
    QTest::keyClick(dialog.SaveCountBox(), Qt::Key_Return);
    QTest::keyClick(dialog.CancelButton(), Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());

    prompts.folders = {"/"};
    dialog.ChooseDirButton()->click();
    EXPECT_EQ(dialog.FileDir(), L"/");
    dialog.BeginButton()->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(prompts.messages.size(), 1u);
}

TEST_F(SeriesDialog, SeriesWriterNamesFilesAsThePreviewShows) {
    fs::create_directories("runs");
    CSaveSerialSpectrumDataSettingDlg dialog;
    prompts.folders = {QDir::currentPath() + "/runs"};
    dialog.ChooseDirButton()->click();
    Click(dialog.FillCountArrows(), +1, 9);  // as many digits as the dialog gives

    CDataFileSave writer;
    writer.SetUsingLanguage(2);
    writer.SetPixelCount(2);
    std::wstring dir = dialog.FileDir();
    ASSERT_EQ(writer.SetSavingSeqDataFileNameInfo(dir, dialog.Prefix(), dialog.FillCount()), 1);
    writer.SetSavingSeqDataFileNameIncludeTime(dialog.IncludeTime(), dialog.IncludeMs());
    writer.ResetSerNum(12345678);
    const double x[] = {1, 2}, y[] = {3, 4};
    ASSERT_EQ(writer.SaveSeqData(x, y), 1);
    EXPECT_TRUE(fs::exists("runs/data012345678.txt"));
    EXPECT_EQ(dialog.PreviewField()->text(), "data012345678.txt");
}
