#include <gtest/gtest.h>

#include <QHeaderView>
#include <QSignalSpy>
#include <fstream>
#include <string>

#include "AddTabSetAxisDlg.h"
#include "DataFileSave.h"
#include "LivePageFixture.h"
#include "MessagePayloads.h"
#include "SpectrumFormDlg.h"

using namespace quenlix;
using namespace quenlix::testing;

namespace {

class SpectrumForm : public SimulatedDevicesTest {
protected:
    void SetUp() override {
        SimulatedDevicesTest::SetUp();
        InstallPrompts(&prompts);
    }
    void TearDown() override {
        InstallPrompts(nullptr);
        SimulatedDevicesTest::TearDown();
    }

    static QString Cell(const CSpectrumFormDlg& page, int row, int column) {
        return page.Rows().index(row, column).data().toString();
    }
    static std::pair<QString, QString> Headings(const CSpectrumFormDlg& page) {
        return {page.Rows().headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
                page.Rows().headerData(1, Qt::Horizontal, Qt::DisplayRole).toString()};
    }
    // Three points in wavenumbers and absorbance, five decimals in the file.
    static void SaveWavenumberFile(const std::wstring& path, int saturatedPixels = 0) {
        CDataFileSave writer;
        writer.SetSaturatedPixels(saturatedPixels);
        writer.SetUsingLanguage(0);
        writer.SetPixelCount(3);
        writer.SetDataType(4, 4);
        writer.SetDecimalCount(5, 5);
        const double x[] = {12500.12345, 15000.5, 20000.0};
        const double y[] = {0.12345, 1.98768, 250.5};
        ASSERT_EQ(writer.SaveSingleData(path, x, y), 1);
    }
    // Answers the new-tab dialog: file source, path chosen, Sure.
    void AnswerWithFile(const QString& path) {
        prompts.openName = path;
        prompts.modal = [](QDialog& dialog) {
            auto& source = dynamic_cast<CAddTabSetAxisDlg&>(dialog);
            source.FileSource()->setChecked(true);
            source.FileButton()->click();
            source.SureButton()->click();
            return source.result();
        };
    }

    RecordingPrompts prompts;
};

}  // namespace

TEST_F(SpectrumForm, AFileIsListedInItsOwnUnitsWhateverTheSizeAndLanguage) {
    SaveWavenumberFile(L"wavenumbers.txt");
    CSpectrumFormDlg page;
    page.resize(600, 400);
    page.show();
    ASSERT_TRUE(page.ShowFile(QStringLiteral("wavenumbers.txt")));
    ASSERT_EQ(page.Rows().rowCount(), 3);
    EXPECT_EQ(Cell(page, 0, 0), "12500.123");
    EXPECT_EQ(Cell(page, 0, 1), "0.123");
    EXPECT_EQ(Cell(page, 1, 1), "1.988");
    EXPECT_EQ(Cell(page, 2, 0), "20000.000");
    EXPECT_EQ(Headings(page), std::make_pair(QString("Wave Number"), QString("Absorbance")));

    page.resize(900, 500);
    QCoreApplication::processEvents();
    EXPECT_EQ(Headings(page), std::make_pair(QString("Wave Number"), QString("Absorbance")));
    const QHeaderView* columns = page.Table()->horizontalHeader();
    EXPECT_NEAR(columns->sectionSize(0), columns->sectionSize(1), 1) << "each column half of the width";
    EXPECT_EQ(columns->sectionSize(0) + columns->sectionSize(1), page.Table()->viewport()->width());
    EXPECT_EQ(page.Table()->width(), 900);
    EXPECT_GT(page.Table()->y(), 0) << "below the close button and the name box";
    EXPECT_LE(page.Table()->y() - 1, 30);

    languageIndex = 0;
    page.ApplyLanguage(0);
    EXPECT_EQ(Headings(page), std::make_pair(QString("波数"), QString("吸光度")));
}

// The line a saturated spectrum's file carries after its end line adds no
// row and changes none.
TEST_F(SpectrumForm, ASaturatedSpectrumsFileListsAsWithoutItsLine) {
    SaveWavenumberFile(L"plain.txt");
    SaveWavenumberFile(L"saturated.txt", 2);
    CSpectrumFormDlg plain, saturated;
    ASSERT_TRUE(plain.ShowFile(QStringLiteral("plain.txt")));
    ASSERT_TRUE(saturated.ShowFile(QStringLiteral("saturated.txt")));
    ASSERT_EQ(saturated.Rows().rowCount(), 3);
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 2; ++column)
            EXPECT_EQ(Cell(saturated, row, column), Cell(plain, row, column)) << row << ", " << column;
    EXPECT_EQ(Headings(saturated), Headings(plain));
}

TEST_F(SpectrumForm, TheRegionPanelOpensATableOnlyForASourceItCanList) {
    CSpectrumRegionDlg region;
    const auto open = [&] { return SendMessage(&region, WM_OPEN_TAB, ID_NEW_SPECTRUM_FORM, 0); };
    SaveWavenumberFile(L"good.txt");
    AnswerWithFile(QStringLiteral("good.txt"));
    EXPECT_EQ(open(), 1);
    ASSERT_EQ(region.Records().size(), 1u);
    EXPECT_EQ(region.Tabs()->tabText(0), "Form(0)");
    const auto* listed = dynamic_cast<CSpectrumFormDlg*>(region.Records()[0].page.get());
    ASSERT_NE(listed, nullptr);
    EXPECT_EQ(listed->Rows().rowCount(), 3);

    // A missing file, a text that is no spectrum, a header with pixel count 0:
    // no tab, and the user learns which file it was.
    std::ofstream("garbage.txt") << "hello\r\n";
    {
        std::ifstream in("good.txt", std::ios::binary);
        std::string text((std::istreambuf_iterator<char>(in)), {});
        const std::size_t at = text.find(":3\r\n");
        ASSERT_NE(at, std::string::npos);
        std::ofstream("zero.txt", std::ios::binary) << text.replace(at, 4, ":0\r\n");
    }
    for (const char* refused : {"missing.txt", "garbage.txt", "zero.txt"}) {
        prompts.texts.clear();
        AnswerWithFile(QString::fromLatin1(refused));
        EXPECT_EQ(open(), 1);
        EXPECT_EQ(region.Records().size(), 1u) << refused;
        ASSERT_EQ(prompts.texts.size(), 1u) << refused;
        EXPECT_TRUE(prompts.texts[0].contains(QString::fromLatin1(refused))) << prompts.texts[0].toStdString();
    }
    EXPECT_EQ(region.Tabs()->currentIndex(), 0) << "the last tab stays selected";

    // Cancelled, a file source without a file, a device source without a
    // device: nothing opens and nothing is said.
    prompts.texts.clear();
    prompts.modal = [](QDialog& dialog) {
        dynamic_cast<CAddTabSetAxisDlg&>(dialog).CancelButton()->click();
        return dialog.result();
    };
    open();
    AnswerWithFile(QString());
    open();
    prompts.modal = [](QDialog& dialog) {
        dynamic_cast<CAddTabSetAxisDlg&>(dialog).SureButton()->click();
        return dialog.result();
    };
    open();
    EXPECT_EQ(region.Records().size(), 1u);
    EXPECT_TRUE(prompts.texts.empty());

    // A device with the unit chosen in the dialog.
    AddUnit(0);
    DiscoverDevices();
    prompts.modal = [](QDialog& dialog) {
        auto& source = dynamic_cast<CAddTabSetAxisDlg&>(dialog);
        source.XTypeList()->setCurrentIndex(4);
        source.SureButton()->click();
        return source.result();
    };
    open();
    ASSERT_EQ(region.Records().size(), 2u);
    EXPECT_EQ(region.Tabs()->tabText(1), "Form(1)") << "only opened tabs count";
    const auto* live = dynamic_cast<CSpectrumFormDlg*>(region.Records()[1].page.get());
    ASSERT_NE(live, nullptr);
    ASSERT_EQ(live->DeviceRecords().size(), 1u);
    EXPECT_EQ(live->Rows().headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "Wave Number");
    EXPECT_EQ(live->Rows().rowCount(), live->DeviceRecords()[0]->pointCount);
}

TEST_F(SpectrumForm, ADevicePageShowsItsWavelengthsThenFollowsTheSpectrum) {
    AddUnit(0);
    DiscoverDevices();
    CKestrion& link = *deviceList.at(0).link;
    std::vector<double> nm(link.GetPixelCount());
    int first = 0, count = 0;
    link.GetXData(nm.data(), first, count);

    CSpectrumFormDlg page;
    page.resize(600, 400);
    page.show();
    page.ShowDevice(deviceList[0].number, 0);
    ASSERT_EQ(page.Rows().rowCount(), count);
    EXPECT_EQ(Headings(page), std::make_pair(QString("Nanometer"), QString("Intensity")));
    for (int row : {0, count / 2, count - 1}) {
        EXPECT_EQ(Cell(page, row, 0), QString::asprintf("%.3f", nm[first + row]));
        EXPECT_EQ(Cell(page, row, 1), "0") << "no spectrum yet";
    }

    // The parameter strip reaches a table page's device as any page's.
    const double ms = 20;
    EXPECT_EQ(SendMessage(&page, WM_PAGE_PARAMETER, 0, AsLParam<WM_PAGE_PARAMETER>(ms)), 1);
    EXPECT_EQ(link.GetIntegralTimeMS(), 20);

    QSignalSpy refreshes(&page.Rows(), &QAbstractItemModel::dataChanged);
    const ViewDevice& device = *page.DeviceRecords().at(0);
    const long dataNoBefore = device.lastDataNo;
    QElapsedTimer clock;
    clock.start();
    while (refreshes.count() < 2 && clock.elapsed() < 10000) RunEventLoop(20);
    ASSERT_GE(refreshes.count(), 2) << "the page's own timer pulls the frames";
    EXPECT_EQ(refreshes.count(), device.lastDataNo - dataNoBefore) << "one signal per spectrum";
    EXPECT_EQ(refreshes.at(0).at(0).toModelIndex(), page.Rows().index(0, 1));
    EXPECT_EQ(refreshes.at(0).at(1).toModelIndex(), page.Rows().index(count - 1, 1));
    for (int row : {0, count / 2, count - 1}) {
        EXPECT_EQ(Cell(page, row, 1), QString::asprintf("%.3lf", device.yBuffer[row]));
        EXPECT_EQ(Cell(page, row, 0), QString::asprintf("%.3f", nm[first + row])) << "X stays";
    }
}

TEST_F(SpectrumForm, PixelAndRamanShiftAxesOfADevice) {
    AddUnit(0);
    DiscoverDevices();
    CKestrion& link = *deviceList.at(0).link;
    std::vector<double> nm(link.GetPixelCount());
    int first = 0, count = 0;
    link.GetXData(nm.data(), first, count);

    CSpectrumFormDlg pixels;
    pixels.ShowDevice(deviceList[0].number, 2);
    ASSERT_EQ(pixels.Rows().rowCount(), count);
    EXPECT_EQ(Cell(pixels, 0, 0), "0.000");
    EXPECT_EQ(Cell(pixels, 1, 0), "1.000");
    EXPECT_EQ(Cell(pixels, 2, 0), "2.000");
    EXPECT_EQ(Cell(pixels, count - 1, 0), QString::asprintf("%d.000", count - 1));
    EXPECT_EQ(Headings(pixels).first, "Pixel");

    // The shift is reckoned from the excitation wavelength of the moment.
    excitationWavelengthSetting = 532.0;
    CSpectrumFormDlg raman;
    raman.ShowDevice(deviceList[0].number, 5);
    EXPECT_EQ(Cell(raman, 0, 0), QString::asprintf("%.3f", (1 / 532.0 - 1 / nm[first]) * 1e7));
    EXPECT_EQ(Headings(raman).first, "Raman Shift");
}

TEST_F(SpectrumForm, TheNewTabDialogReportsTheChosenSource) {
    AddUnit(0);
    AddUnit(1);
    DiscoverDevices();
    excitationWavelengthSetting = 532.9;
    {
        CAddTabSetAxisDlg dialog;
        EXPECT_TRUE(dialog.DeviceSource()->isChecked());
        EXPECT_TRUE(dialog.DeviceList()->isEnabled());
        EXPECT_TRUE(dialog.XTypeList()->isEnabled());
        EXPECT_FALSE(dialog.FileButton()->isEnabled());
        ASSERT_EQ(dialog.DeviceList()->count(), 2);
        EXPECT_EQ(dialog.DeviceList()->itemText(1), QString("Device %1").arg(deviceList[1].number));
        ASSERT_EQ(dialog.XTypeList()->count(), 6);
        EXPECT_EQ(dialog.XTypeList()->itemText(4), "Wave Number");
        EXPECT_EQ(dialog.ExcitationLabel()->text(), "Present Excitation Wavelength:532nm");
        dialog.DeviceList()->setCurrentIndex(1);
        dialog.XTypeList()->setCurrentIndex(5);
        dialog.SureButton()->click();
        EXPECT_TRUE(dialog.accepted);
        EXPECT_EQ(dialog.source, 1);
        EXPECT_EQ(dialog.deviceIndex, deviceList[1].number);
        EXPECT_EQ(dialog.xTypeCode, 5);
    }
    {
        CAddTabSetAxisDlg dialog;
        dialog.FileSource()->setChecked(true);
        EXPECT_FALSE(dialog.DeviceList()->isEnabled());
        EXPECT_FALSE(dialog.XTypeList()->isEnabled());
        EXPECT_TRUE(dialog.FileButton()->isEnabled());
        prompts.openName = QStringLiteral("/data/ruby.txt");
        dialog.FileButton()->click();
        prompts.openName.clear();
        dialog.FileButton()->click();  // cancelled: the path chosen before stays
        EXPECT_EQ(dialog.PathBox()->text(), "/data/ruby.txt");
        EXPECT_EQ(prompts.filters.back(), "TEXT(*.txt)");
        EXPECT_TRUE(dialog.filePath.isEmpty()) << "results only after Sure";
        dialog.SureButton()->click();
        EXPECT_EQ(dialog.source, 2);
        EXPECT_EQ(dialog.filePath, "/data/ruby.txt");
    }
    {
        CAddTabSetAxisDlg dialog;
        dialog.FileSource()->setChecked(true);
        dialog.CancelButton()->click();
        EXPECT_FALSE(dialog.accepted);
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
    }
    deviceList.clear();
    CAddTabSetAxisDlg none;
    none.SureButton()->click();
    EXPECT_EQ(none.deviceIndex, -1);
}
