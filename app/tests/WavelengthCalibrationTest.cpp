// The wavelength calibration page on simulated spectrometers.

#include <gtest/gtest.h>

#include <QTest>
#include <filesystem>
#include <list>

#include "BoundedFile.h"
#include "CalibrationHistory.h"
#include "ChooseDeviceDlg1.h"
#include "DeviceList.h"
#include "LivePageFixture.h"
#include "SetStandardWavelengthDlg.h"
#include "SettingsPath.h"
#include "StandardWavelengths.h"
#include "ToolbarCommands.h"
#include "WavelengthCalibrationDlg.h"
#include "simulator/SpectrumScene.h"

namespace quenlix::testing {
namespace {

class CalibrationPage : public SimulatedDevicesTest {
protected:
    void SetUp() override {
        SimulatedDevicesTest::SetUp();
        InstallPrompts(&prompts);
    }
    void TearDown() override {
        page.reset();
        InstallPrompts(nullptr);
        SimulatedDevicesTest::TearDown();
    }
    void Open(int device) {
        page = std::make_unique<CWavelengthCalibrationDlg>(device);
        page->resize(1000, 700);
        page->show();
        page->ApplyLanguage(languageIndex);
    }
    bool WaitForSpectrum() {
        return QTest::qWaitFor(
            [this] {
                return !page->DeviceRecords().empty() && page->DeviceRecords().front()->preprocessor->GetDataNo() >= 2;
            },
            10000);
    }
    void Type(const QString& pixel, const QString& wavelength) {
        page->PixelBox()->setText(pixel);
        page->WavelengthBox()->setText(wavelength);
    }
    std::list<double> Markings() {
        std::list<double> marks;
        page->Chart().GetMarkingXValues(marks);
        return marks;
    }
    QString LastText() const { return prompts.texts.empty() ? QString() : prompts.texts.back(); }

    RecordingPrompts prompts;
    std::unique_ptr<CWavelengthCalibrationDlg> page;
};

TEST_F(CalibrationPage, OpensFromTheRegionPanelOnTheChosenDeviceInPixels) {
    AddUnit(0);
    AddUnit(1);
    DiscoverDevices();
    prompts.modal = [](QDialog& dialog) {
        auto& chooser = dynamic_cast<CChooseDeviceDlg1&>(dialog);
        chooser.List()->setCurrentIndex(1);
        chooser.OkButton()->click();
        return chooser.result();
    };
    CSpectrumRegionDlg region;
    messageTargets.regionPanel = &region;
    EXPECT_EQ(SendMessage(&region, WM_OPEN_TAB, ID_NEW_WAVELENGTH_CALIBRATION, 0), 1);
    ASSERT_EQ(region.Records().size(), 1u);
    auto* opened = dynamic_cast<CWavelengthCalibrationDlg*>(region.Records()[0].page.get());
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(opened->ChosenDevice(), 1);
    ASSERT_EQ(opened->DeviceRecords().size(), 1u);
    EXPECT_EQ(opened->DeviceRecords()[0]->number, 1);
    EXPECT_EQ(opened->XTypeCode(), 2);
    EXPECT_EQ(SendMessage(opened, WM_SET_AXIS_UNIT, 0, 0), 0) << "the fit needs pixels";
    EXPECT_EQ(opened->XTypeCode(), 2);
    const int n = opened->Chart().GetActiveLinePixelCount(1, L"");
    ASSERT_GT(n, 0) << "device 1's line is the active one";
    std::vector<double> x(n);
    opened->Chart().GetActiveLineSpectrumData(1, L"", x.data(), nullptr);
    EXPECT_EQ(x.front(), 0);
    EXPECT_EQ(x.back(), n - 1);
    const QString shown[4] = {"200.0000000000", "0.2600000000", "-5.0000000000e-06", "1.0000000000e-10"};
    for (int k = 0; k < 4; ++k) EXPECT_EQ(opened->CoefficientBox(k)->text(), shown[k]);
    messageTargets.regionPanel = nullptr;
}

TEST_F(CalibrationPage, TheFitIsRefusedWithItsReasonInTheUsersLanguage) {
    Open(-1);
    for (int p = 100; p < 500; p += 100) {
        Type(QString::number(p), QString::number(300 + p));
        page->Insert();
    }
    page->CalcParams();
    EXPECT_EQ(LastText(), "有效数据大于5个\nAt least 5 pairs of pixel and wavelength are needed.");
    Type("500", "");
    page->Insert();
    Type("600", "900");
    page->Insert();
    page->CalcParams();
    EXPECT_EQ(LastText(), "有数据未填写\nThe pixel or wavelength of ID 4 is empty.");
    languageIndex = 0;
    page->Table().SetWavelength(4, "abc");
    page->CalcParams();
    EXPECT_EQ(LastText(), "数据填写有错误");
    EXPECT_TRUE(page->RSquaredBox()->text().isEmpty()) << "nothing computed";

    page->Table().SetWavelength(4, "800");
    page->CalcParams();
    EXPECT_EQ(page->CoefficientBox(0)->text(), "300.0000000000");
    EXPECT_EQ(page->CoefficientBox(1)->text(), "1.0000000000");
    EXPECT_EQ(page->RSquaredBox()->text(), "1.0000000000");

    const std::size_t told = prompts.texts.size();
    Type("", "700");
    page->Insert();
    Type("1.5.", "");
    page->Insert();
    EXPECT_EQ(prompts.texts.size(), told + 2) << "an empty or broken pixel is refused, and said so";
    EXPECT_EQ(page->Table().Rows(), 6);
}

TEST_F(CalibrationPage, TableAndMarkingsStayTogether) {
    AddUnit(0);
    DiscoverDevices();
    Open(0);
    ASSERT_TRUE(WaitForSpectrum());
    page->ChartMarkingCommand(ID_ADD_MARKINGS_AT_PEAKS);
    const std::size_t lines = kestrion::SceneLines(kestrion::Scene::MercuryArgonLamp).size();
    ASSERT_EQ(Markings().size(), lines) << "every lamp line, nothing else";
    ASSERT_EQ(page->Table().Rows(), static_cast<int>(lines));
    for (int r = 0; r < page->Table().Rows(); ++r)
        EXPECT_TRUE(page->Table().PixelText(r).contains('.')) << "a line's centre, between points: " << page->Table().PixelText(r).toStdString();

    Type("150", "");
    page->Insert();
    EXPECT_EQ(Markings().size(), lines + 1);
    EXPECT_EQ(page->Table().PixelText(0), "150");
    EXPECT_EQ(Markings().front(), 150);

    // Move the last row's marking to the read-out line far left.
    page->Chart().SetMouseStatus(4);
    page->Chart().LMouseDown(300, 200);
    page->Chart().LMouseUp(300, 200);
    page->MoveMarker(60);
    EXPECT_EQ(page->MarkerBox()->text(), "60.000");
    page->TableView()->selectRow(page->Table().Rows() - 1);
    page->ChartMarkingCommand(32943);
    EXPECT_EQ(page->Table().PixelText(0), "60");
    EXPECT_EQ(page->Table().PixelText(1), "150");
    EXPECT_EQ(page->Table().Rows(), static_cast<int>(lines + 1));

    page->TableView()->selectRow(1);
    page->DeletePixelData();
    EXPECT_EQ(Markings().size(), lines);
    EXPECT_EQ(Markings().front(), 60);
    page->ChartMarkingCommand(ID_DELETE_ALL_MARKINGS);
    EXPECT_EQ(page->Table().Rows(), 0);
}

TEST_F(CalibrationPage, StandardWavelengthsArePickedForTheClickedRow) {
    ASSERT_TRUE(WriteStandardWavelengthText("404.656 435.833\n546.074\n"));
    Open(-1);
    ASSERT_EQ(page->StandardList()->count(), 3);
    Type("100", "");
    page->Insert();
    page->StandardList()->setCurrentRow(1);
    EXPECT_TRUE(page->Table().WavelengthText(0).isEmpty()) << "no row clicked yet";
    page->ClickRow(0);
    page->StandardList()->setCurrentRow(2);
    EXPECT_EQ(page->Table().WavelengthText(0), "546.074");
    EXPECT_EQ(page->WavelengthBox()->text(), "546.074");

    // The editor saves, or says it could not; the list follows the file.
    prompts.modal = [](QDialog& dialog) {
        auto& editor = dynamic_cast<CSetStandardWavelengthDlg&>(dialog);
        editor.Editor()->setPlainText("912.297");
        editor.Save();
        return 0;
    };
    page->SetStandardWavelengths();
    EXPECT_EQ(LastText(), "Save successfully!");
    ASSERT_EQ(page->StandardList()->count(), 1);
    EXPECT_EQ(page->StandardList()->item(0)->text(), "912.297");
    std::filesystem::remove(SettingsPath(kStandardWavelengthFile));
    std::filesystem::create_directory(SettingsPath(kStandardWavelengthFile));
    page->SetStandardWavelengths();
    EXPECT_EQ(LastText(), "Save failure!");
}

TEST_F(CalibrationPage, SavingAsksFirstAndTellsWhatTheDeviceDid) {
    auto unit = AddUnit(0);
    DiscoverDevices();
    Open(0);
    page->CoefficientBox(3)->setText("");
    page->SaveParams();
    EXPECT_EQ(LastText(), "参数错误\nEach coefficient field must hold one number.");

    page->CoefficientBox(0)->setText("2.01e2");
    page->CoefficientBox(3)->setText("1.0000000000e-10");
    prompts.answer = Prompts::Answer::Cancel;
    page->SaveParams();
    EXPECT_TRUE(LastText().contains("200.0000000000  →  201.0000000000")) << LastText().toStdString();
    EXPECT_FALSE(page->Writing());
    EXPECT_EQ(unit->Coefficients()[0], 200.0) << "cancelled: nothing written";

    prompts.answer = Prompts::Answer::Ok;
    unit->Refuse(0xD1, 2);
    page->SaveParams();
    EXPECT_TRUE(page->Writing());
    EXPECT_FALSE(page->SaveButton()->isEnabled());
    EXPECT_TRUE(QTest::qWaitFor([this] { return !page->Writing(); }, 10000));
    EXPECT_TRUE(LastText().startsWith("The spectrometer did not accept the coefficients."));
    EXPECT_FALSE(std::filesystem::exists(SettingsPath(kCalibrationHistoryFile)));

    unit->AcceptAll();
    page->SaveParams();
    EXPECT_TRUE(QTest::qWaitFor([this] { return !page->Writing(); }, 10000));
    EXPECT_EQ(LastText(), "保存成功\nThe coefficients were written into the spectrometer.");
    EXPECT_EQ(unit->Coefficients()[0], 201.0);
    const std::string history = ReadBoundedFile(SettingsPath(kCalibrationHistoryFile), 1 << 16).bytes;
    EXPECT_NE(history.find("before:  I = 200.0000000000"), std::string::npos);
    EXPECT_NE(history.find("R^2 not known"), std::string::npos) << "typed coefficients";
}

}  // namespace
}  // namespace quenlix::testing
