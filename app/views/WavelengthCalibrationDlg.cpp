#include "WavelengthCalibrationDlg.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QMenu>
#include <QMetaObject>
#include <algorithm>
#include <cstdio>
#include <list>

#include "AlgorithmLibrary.h"
#include "CalibrationHistory.h"
#include "CalibrationTexts.h"
#include "Lexora.h"
#include "MessagePayloads.h"
#include "Prompts.h"
#include "SetStandardWavelengthDlg.h"
#include "StandardWavelengths.h"
#include "ToolbarCommands.h"
#include "UiText.h"

namespace quenlix {
namespace {

constexpr int kAcquisitionTimer = 2;
constexpr int kToolbarHeight = 50;
constexpr int kMoveMarkings = 32943;
constexpr int kSetStandardWavelength = 32939;
constexpr int kDeletePixelData = 32938;
// An averaging block counts as complete above this percentage.
constexpr double kBlockComplete = 99.999999999;
constexpr int kGap = 6;
constexpr int kStandardListWidth = 100;
constexpr int kTableWidth = 200;
constexpr int kControlsWidth = 240;
constexpr int kRowHeight = 24;

QString Format(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return QString::fromLatin1(text);
}

// I and C1 as fixed-point, C2 and C3 in exponent notation.
QString CoefficientText(int k, double value) { return Format(k < 2 ? "%.10lf" : "%.10e", value); }

bool ReadNumber(const QString& text, double& value) { return ReadOneNumber(text.toStdWString(), value); }

// A refusal of the fit that names the row, where the language has a place for it.
QString RowProblem(const OwnTextRow& row, int id) {
    const QString text = FixedTextExplained(row);
    return text.contains(QLatin1String("%1")) ? text.arg(id) : text;
}

QString CoefficientTable(const CubicCoefficients& current, const CubicCoefficients& next) {
    static const char* const names[4] = {"I ", "C1", "C2", "C3"};
    QString table = QStringLiteral("      %1  →  %2\n").arg(OwnText(calibrationText_Current), OwnText(calibrationText_New));
    for (int k = 0; k < 4; ++k) {
        table += QString::fromLatin1(names[k]) + QStringLiteral(" = ") + CoefficientText(k, current[k]) +
                 QStringLiteral("  →  ") + CoefficientText(k, next[k]) + u'\n';
    }
    return table;
}

}  // namespace

CWavelengthCalibrationDlg::CWavelengthCalibrationDlg(int chosenDevice, QWidget* parent)
    : CSpectrumDisplayBase(parent),
      chosenDevice_(chosenDevice),
      tableView_(new QTableView(this)),
      standardList_(new QListWidget(this)),
      standardLabel_(new QLabel(this)),
      tableLabel_(new QLabel(this)),
      controls_(new QWidget(this)),
      pixelLabel_(new QLabel(controls_)),
      wavelengthLabel_(new QLabel(controls_)),
      pixelBox_(new QLineEdit(controls_)),
      wavelengthBox_(new QLineEdit(controls_)),
      insertButton_(new QPushButton(controls_)),
      modifyButton_(new QPushButton(controls_)),
      calcButton_(new QPushButton(controls_)),
      saveButton_(new QPushButton(controls_)),
      coefficientBoxes_{new QLineEdit(controls_), new QLineEdit(controls_), new QLineEdit(controls_),
                        new QLineEdit(controls_)},
      rSquaredBox_(new QLineEdit(controls_)),
      formulaLabel_(new QLabel(QStringLiteral("λ=I + C1 * p + C2 * p^2 + C3 * p^3"), this)),
      commentLabel_(new QLabel(this)),
      markerLabel_(new QLabel(this)),
      intensityLabel_(new QLabel(this)),
      markerBox_(new QLineEdit(this)),
      intensityBox_(new QLineEdit(this)),
      markerArrows_(new UpDownArrows(this, [this](int step) { StepMarker(step); })) {
    // The page's processing starts plain: wavelength, raw counts, no
    // averaging or smoothing; then the device is bound and shown in pixels.
    xTypeCode = 0;
    yTypeCode = 0;
    avgCount = 1;
    smoothness = 0;
    toolbarDlg->SetLayout(kLayoutCalibration);
    CreateToolbar();
    InitChartFor(deviceList.empty() || chosenDevice_ < 0 ? nullptr : FindDeviceByNumber(chosenDevice_));
    CreatePeakPanel();
    SetXUnit(2);
    if (!deviceRecords.empty()) {
        CubicCoefficients c{};
        deviceRecords.front()->link->GetCalibrationParams(c.data());
        ShowCoefficients(c);
    }

    tableView_->setModel(&table_);
    tableView_->setShowGrid(true);
    tableView_->setSelectionBehavior(QAbstractItemView::SelectRows);
    tableView_->setSelectionMode(QAbstractItemView::SingleSelection);
    tableView_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tableView_->verticalHeader()->hide();
    tableView_->verticalHeader()->setDefaultSectionSize(tableView_->fontMetrics().height() + 6);
    tableView_->setColumnWidth(CalibrationTableModel::IdColumn, 30);
    tableView_->setColumnWidth(CalibrationTableModel::PixelColumn, 64);
    tableView_->horizontalHeader()->setStretchLastSection(true);
    tableView_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(tableView_, &QTableView::clicked, this, [this](const QModelIndex& index) { ClickRow(index.row()); });
    connect(tableView_, &QWidget::customContextMenuRequested, this, [this](QPoint at) { ShowTableMenu(at); });

    standardList_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(standardList_, &QListWidget::currentRowChanged, this, [this](int row) { PickStandardWavelength(row); });
    connect(standardList_, &QWidget::customContextMenuRequested, this, [this](QPoint at) { ShowListMenu(at); });

    auto* grid = new QGridLayout(controls_);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(4);
    grid->addWidget(pixelLabel_, 0, 0);
    grid->addWidget(pixelBox_, 0, 1);
    grid->addWidget(wavelengthLabel_, 1, 0);
    grid->addWidget(wavelengthBox_, 1, 1);
    grid->addWidget(insertButton_, 2, 0);
    grid->addWidget(modifyButton_, 2, 1);
    grid->setRowMinimumHeight(3, 12);
    grid->addWidget(calcButton_, 4, 0);
    grid->addWidget(saveButton_, 4, 1);
    static const char* const names[5] = {"I  =", "C1 =", "C2 =", "C3 =", "R^2="};
    for (int k = 0; k < 5; ++k) {
        grid->addWidget(new QLabel(QString::fromLatin1(names[k]), controls_), 5 + k, 0);
        grid->addWidget(k < 4 ? coefficientBoxes_[k] : rSquaredBox_, 5 + k, 1);
    }
    grid->setRowStretch(10, 1);
    grid->setColumnStretch(1, 1);
    rSquaredBox_->setReadOnly(true);
    // Headings sit on the lists, a long one wrapped upwards.
    standardLabel_->setWordWrap(true);
    standardLabel_->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    tableLabel_->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    intensityBox_->setReadOnly(true);

    connect(insertButton_, &QPushButton::clicked, this, [this] { Insert(); });
    connect(modifyButton_, &QPushButton::clicked, this, [this] { Modify(); });
    connect(calcButton_, &QPushButton::clicked, this, [this] { CalcParams(); });
    connect(saveButton_, &QPushButton::clicked, this, [this] { SaveParams(); });
    connect(markerBox_, &QLineEdit::returnPressed, this, [this] {
        double x = 0;
        if (ReadNumber(markerBox_->text(), x)) MoveMarker(x);
    });

    LoadStandardWavelengths();
}

CWavelengthCalibrationDlg::~CWavelengthCalibrationDlg() {
    WaitForWriter();
    tableView_->setModel(nullptr);  // the rows go before the view
    RemoveAllDevices();
}

LRESULT CWavelengthCalibrationDlg::OnMessage(unsigned msg, WPARAM wParam, LPARAM lParam) {
    // The fit needs pixels: the X unit stays.
    if (msg == WM_SET_AXIS_UNIT && wParam == 0) return 0;
    return CSpectrumDisplayBase::OnMessage(msg, wParam, lParam);
}

void CWavelengthCalibrationDlg::ApplyLanguage(int index) {
    nameLabel->setText(Text(strMainDlg_SpecRegion_SpecTab_SetTabName));
    standardLabel_->setText(Text(strMainDlg_SpectrumRegion_WavelengthCalibration_StandardWavelength));
    tableLabel_->setText(Text(strMainDlg_SpectrumRegion_WavelengthCalibration_UsingPixels).trimmed());
    pixelLabel_->setText(Text(strMainDlg_SpectrumRegion_WavelengthCalibration_Pixel0));
    wavelengthLabel_->setText(Text(strMainDlg_SpectrumRegion_WavelengthCalibration_Wavelength0));
    insertButton_->setText(Text(strMainDlg_SpectrumRegion_WavelengthCalibration_Insert));
    modifyButton_->setText(Text(strMainDlg_SpectrumRegion_WavelengthCalibration_Modify));
    calcButton_->setText(Text(strMainDlg_SpectrumRegion_WavelengthCalibration_CalcParams));
    saveButton_->setText(Text(strMainDlg_SpectrumRegion_WavelengthCalibration_SaveParams));
    commentLabel_->setText(Text(strMainDlg_SpectrumRegion_WavelengthCalibration_Comment));
    markerLabel_->setText(Text(strGeneral_Pixel));
    intensityLabel_->setText(Text(strGeneral_Intensity));
    table_.SetHeaders(Text(strMainDlg_SpectrumRegion_WavelengthCalibration_Pixel1),
                      Text(strMainDlg_SpectrumRegion_WavelengthCalibration_Wavelength1));
    if (peakPanel) peakPanel->ApplyLanguage(index);
    chart.SetUsingLanguage(index);
    Layout();
}

void CWavelengthCalibrationDlg::OnDeviceAdded(int number, int pointCount, const double* xBuffer,
                                              const std::wstring& serialNumber) {
    chart.AddDeviceLine(number, pointCount, xBuffer, serialNumber);
}

void CWavelengthCalibrationDlg::OnNewSpectrum(int number, const double* yBuffer) {
    chart.SetDeviceLineYData(number, yBuffer);
}

void CWavelengthCalibrationDlg::AfterPull() {
    if (deviceRecords.empty()) return;
    if (deviceRecords.front()->preprocessor->GetPercentOfAvgCount() > kBlockComplete && acquisitionCommand == 2)
        acquisitionCommand = 1;
}

void CWavelengthCalibrationDlg::OnIntegralTimeApplied() {
    if (HasTimer(kAcquisitionTimer)) SetTimer(kAcquisitionTimer, AcquisitionInterval());
}

void CWavelengthCalibrationDlg::BeforeRescan() {
    // The write holds the link, which the rescan is about to replace.
    WaitForWriter();
    CSpectrumDisplayBase::BeforeRescan();
}

void CWavelengthCalibrationDlg::ReloadDeviceAxes(const std::wstring&) {}

void CWavelengthCalibrationDlg::SyncTable() {
    std::list<double> marks, centres;
    chart.GetMarkingXValues(marks);
    chart.GetMarkingPeakCentres(centres);
    table_.SyncWithMarkings({marks.begin(), marks.end()}, {centres.begin(), centres.end()});
    selectedRow_ = FirstSelectedRow();
}

int CWavelengthCalibrationDlg::FirstSelectedRow() const {
    int first = -1;
    for (const QModelIndex& index : tableView_->selectionModel()->selectedRows())
        if (first < 0 || index.row() < first) first = index.row();
    return first;
}

void CWavelengthCalibrationDlg::ChartMarkingCommand(int command) {
    if (command == kMoveMarkings) {
        MoveAssignedMarkings();
        return;
    }
    MarkingCommand(command);
    SyncTable();
}

void CWavelengthCalibrationDlg::ChartContextMenu(QPoint globalAt) {
    QMenu menu(this);
    menu.addAction(Text(strMainDlg_SpectrumRegion_WavelengthCalibration_AddMarking))->setData(ID_ADD_MARKING);
    menu.addAction(Text(strMainDlg_SpectrumRegion_WavelengthCalibration_AddMarkingOnPeaks))
        ->setData(ID_ADD_MARKINGS_AT_PEAKS);
    menu.addAction(Text(strMainDlg_SpectrumRegion_WavelengthCalibration_MoveMarkings))->setData(kMoveMarkings);
    menu.addSeparator();
    menu.addAction(Text(strMainDlg_SpectrumRegion_WavelengthCalibration_DeleteAllMarkings))
        ->setData(ID_DELETE_ALL_MARKINGS);
    if (QAction* chosen = CurrentPrompts().RunMenu(menu, globalAt)) ChartMarkingCommand(chosen->data().toInt());
}

void CWavelengthCalibrationDlg::ShowTableMenu(QPoint at) {
    const QModelIndex index = tableView_->indexAt(at);
    if (!index.isValid()) return;
    tableView_->selectRow(index.row());
    QMenu menu(this);
    menu.addAction(Text(strMainDlg_SpectrumRegion_WavelengthCalibration_DeletePixelData))->setData(kDeletePixelData);
    if (CurrentPrompts().RunMenu(menu, tableView_->viewport()->mapToGlobal(at))) DeletePixelData();
}

void CWavelengthCalibrationDlg::ShowListMenu(QPoint at) {
    QMenu menu(this);
    menu.addAction(Text(strMainDlg_SpectrumRegion_WavelengthCalibration_SetStandardWavelength))
        ->setData(kSetStandardWavelength);
    if (CurrentPrompts().RunMenu(menu, standardList_->viewport()->mapToGlobal(at))) SetStandardWavelengths();
}

void CWavelengthCalibrationDlg::Insert() {
    double pixel = 0, wavelength = 0;
    const QString pixelText = pixelBox_->text().trimmed();
    const QString wavelengthText = wavelengthBox_->text().trimmed();
    if (!ReadNumber(pixelText, pixel) || pixel < 0 ||
        (!wavelengthText.isEmpty() && !ReadNumber(wavelengthText, wavelength))) {
        Tell(OwnText(calibrationText_BadPair));
        return;
    }
    if (table_.Insert(pixel, pixelText, wavelengthText)) chart.AddMarking(CPlotara::MarkingPointOf(pixel));
}

void CWavelengthCalibrationDlg::Modify() {
    if (selectedRow_ < 0 || selectedRow_ >= table_.Rows()) {
        Tell(OwnText(calibrationText_NoRowChosen));
        return;
    }
    double pixel = 0, wavelength = 0;
    const QString pixelText = pixelBox_->text().trimmed();
    const QString wavelengthText = wavelengthBox_->text().trimmed();
    if (!ReadNumber(pixelText, pixel) || pixel < 0 || !ReadNumber(wavelengthText, wavelength)) {
        Tell(OwnText(calibrationText_BadPair));
        return;
    }
    table_.SetRow(selectedRow_, pixelText, wavelengthText);
}

void CWavelengthCalibrationDlg::ClickRow(int row) {
    selectedRow_ = row >= 0 && row < table_.Rows() ? row : -1;
    if (selectedRow_ < 0) return;
    pixelBox_->setText(table_.PixelText(row));
    wavelengthBox_->setText(table_.WavelengthText(row));
}

void CWavelengthCalibrationDlg::PickStandardWavelength(int listRow) {
    if (listRow < 0 || listRow >= standardList_->count() || selectedRow_ < 0) return;
    const QString text = standardList_->item(listRow)->text();
    table_.SetWavelength(selectedRow_, text);
    wavelengthBox_->setText(text);
}

void CWavelengthCalibrationDlg::DeletePixelData() {
    const int row = FirstSelectedRow();
    if (row < 0) return;
    chart.DeleteMarking(CPlotara::MarkingPointOf(table_.Pixel(row)));
    table_.RemoveRow(row);
    selectedRow_ = FirstSelectedRow();
}

void CWavelengthCalibrationDlg::MoveAssignedMarkings() {
    const int row = FirstSelectedRow();
    double x = 0;
    // Without the read-out line there is nowhere to move to.
    if (row < 0 || !chart.GetVerticalLineXData(x)) return;
    chart.MoveMarking(CPlotara::MarkingPointOf(table_.Pixel(row)), x);
    SyncTable();
}

void CWavelengthCalibrationDlg::CalcParams() {
    const CalibrationPairs pairs = ReadCalibrationPairs(table_.RowTexts());
    switch (pairs.status) {
        case CalibrationPairs::Status::TooFew:
            Tell(FixedTextExplained(calibrationText_TooFewPairs));
            return;
        case CalibrationPairs::Status::NotFilled:
            Tell(RowProblem(calibrationText_NotFilled, pairs.problemRow));
            return;
        case CalibrationPairs::Status::Wrong:
            Tell(RowProblem(calibrationText_Wrong, pairs.problemRow));
            return;
        case CalibrationPairs::Status::Ok:
            break;
    }
    std::vector<double> pixels = pairs.pixels;
    if (!deviceRecords.empty())
        for (double& p : pixels) p += deviceRecords.front()->firstPixel;
    const CubicFit fit = FitCalibrationCubic(pixels, pairs.wavelengths);
    const QString library = QString::fromLatin1(AlgorithmLibrary::kFileName);
    if (fit.status == CubicFit::Status::NoLibrary) {
        Tell(OwnText(calibrationText_NoLibrary).arg(library));
        return;
    }
    if (fit.status == CubicFit::Status::NoRoutine) {
        Tell(OwnText(calibrationText_NoRoutine).arg(library, QStringLiteral("MultiOrderLeastSquareNoWeight")));
        return;
    }
    ShowCoefficients(fit.coefficients);
    rSquaredBox_->setText(Format("%.10lf", fit.rSquared));
    for (int k = 0; k < 4; ++k) fittedTexts_[k] = coefficientBoxes_[k]->text();
    fittedRSquared_ = fit.rSquared;
}

void CWavelengthCalibrationDlg::ShowCoefficients(const CubicCoefficients& c) {
    for (int k = 0; k < 4; ++k) coefficientBoxes_[k]->setText(CoefficientText(k, c[k]));
}

void CWavelengthCalibrationDlg::SaveParams() {
    if (writing_) return;
    CubicCoefficients next{};
    std::array<QString, 4> texts;
    for (int k = 0; k < 4; ++k) {
        texts[k] = coefficientBoxes_[k]->text();
        if (!ReadNumber(texts[k], next[k])) {
            Tell(FixedTextExplained(calibrationText_BadCoefficient));
            return;
        }
    }
    if (deviceRecords.empty()) {
        Tell(OwnText(calibrationText_NoDevice));
        return;
    }
    CKestrion* link = deviceRecords.front()->link;
    const std::wstring serial = deviceRecords.front()->serialNumber;
    CubicCoefficients previous{};
    link->GetCalibrationParams(previous.data());
    // A wrong write spoils every later measurement: the user sees both sets first.
    const QString question = OwnText(calibrationText_Confirm)
                                 .arg(QString::fromStdWString(serial), CoefficientTable(previous, next));
    if (CurrentPrompts().MessageBox(this, question, QString(), Prompts::Buttons::OkCancel) != Prompts::Answer::Ok)
        return;
    const std::optional<double> rSquared = texts == fittedTexts_ ? fittedRSquared_ : std::nullopt;

    WaitForWriter();
    writing_ = true;
    calcButton_->setEnabled(false);
    saveButton_->setEnabled(false);
    seriesStatus->setText(OwnText(calibrationText_Writing));
    seriesStatus->show();
    writer_ = std::thread([this, link, previous, next, rSquared, serial] {
        const int result = WriteDemarcateData(link, next.data(), 4);
        QMetaObject::invokeMethod(
            this, [this, result, previous, next, rSquared, serial] { Written(result, previous, next, rSquared, serial); },
            Qt::QueuedConnection);
    });
}

void CWavelengthCalibrationDlg::Written(int result, const CubicCoefficients& previous,
                                        const CubicCoefficients& written, std::optional<double> rSquared,
                                        const std::wstring& serialNumber) {
    WaitForWriter();
    writing_ = false;
    calcButton_->setEnabled(true);
    saveButton_->setEnabled(true);
    seriesStatus->hide();
    if (result != 1) {
        Tell(OwnText(calibrationText_NotAccepted));
        return;
    }
    const CalibrationRecord record{QString::fromStdWString(serialNumber), QDateTime::currentDateTime(), previous,
                                   written, rSquared};
    if (!AppendCalibrationRecord(record)) {
        Tell(OwnText(calibrationText_HistoryNotWritten)
                 .arg(QString::fromLatin1(kCalibrationHistoryFile), FormatCalibrationRecord(record)));
    }
    Tell(FixedTextExplained(calibrationText_Written));
    // Every other page that shows this device reads its new X axis.
    SendWithLParam<WM_DEVICE_AXES_CHANGED>(messageTargets.regionPanel, 0, serialNumber);
}

void CWavelengthCalibrationDlg::WaitForWriter() {
    if (writer_.joinable()) writer_.join();
}

void CWavelengthCalibrationDlg::LoadStandardWavelengths() {
    const QSignalBlocker quiet(standardList_);
    standardList_->clear();
    standardList_->addItems(ScanStandardWavelengths(ReadStandardWavelengthText()));
}

void CWavelengthCalibrationDlg::SetStandardWavelengths() {
    CSetStandardWavelengthDlg dialog(this);
    CurrentPrompts().RunModal(dialog);
    LoadStandardWavelengths();
}

void CWavelengthCalibrationDlg::MoveMarker(double x) {
    chart.SetVerticalLineXData(x);
    RefreshMarker();
}

void CWavelengthCalibrationDlg::StepMarker(int direction) {
    chart.SetNearbyXData(direction > 0 ? 1 : -1);
    RefreshMarker();
}

void CWavelengthCalibrationDlg::RefreshMarker() {
    double x = 0, y = 0;
    if (chart.GetVerticalLineXData(x)) markerBox_->setText(Format("%.3lf", x));
    if (chart.GetVerticalLineYData(y)) intensityBox_->setText(Format("%.3lf", y));
}

void CWavelengthCalibrationDlg::AfterLeftUp() {
    if (appliedMode == 4) RefreshMarker();
}

void CWavelengthCalibrationDlg::Tell(const QString& text) {
    CurrentPrompts().MessageBox(this, text, QString(), Prompts::Buttons::Ok);
}

void CWavelengthCalibrationDlg::resizeEvent(QResizeEvent*) { Layout(); }

void CWavelengthCalibrationDlg::Layout() {
    const int w = width();
    const int h = height();
    const int top = PlaceTopRow();
    seriesStatus->setGeometry(8, 0, std::max(0, nameLabel->x() - 16), top);
    toolbarDlg->setGeometry(0, top, w, kToolbarHeight);
    const int bodyTop = top + kToolbarHeight + kGap;
    const int labelHeight = 3 * fontMetrics().height() + 4;

    // From the right: the entry column, the table, the standard list.
    const int controlsLeft = w - kControlsWidth - kGap;
    controls_->setGeometry(controlsLeft, bodyTop + labelHeight, kControlsWidth, std::max(0, h - bodyTop - labelHeight - kGap));
    const int tableLeft = controlsLeft - kGap - kTableWidth;
    const int listLeft = tableLeft - kGap - kStandardListWidth;
    const int listsTop = bodyTop + labelHeight;
    const int listsHeight = std::max(0, h - listsTop - kGap);
    standardLabel_->setGeometry(listLeft, bodyTop, kStandardListWidth, labelHeight);
    standardList_->setGeometry(listLeft, listsTop, kStandardListWidth, listsHeight);
    tableLabel_->setGeometry(tableLeft, bodyTop, kTableWidth, labelHeight);
    tableView_->setGeometry(tableLeft, listsTop, kTableWidth, listsHeight);

    // The chart takes the rest; the marker row and the formula go below it.
    const int chartWidth = std::max(0, listLeft - kGap);
    const int belowHeight = 3 * kRowHeight + kGap;
    chartOrigin = QPoint(0, bodyTop);
    chartSize = QSize(chartWidth, std::max(0, h - bodyTop - belowHeight));
    PlaceChart();
    int y = bodyTop + chartSize.height() + kGap;
    int x = kGap;
    const auto place = [&](QWidget* widget, int width) {
        widget->setGeometry(x, y, width, kRowHeight);
        x += width + kGap;
    };
    place(markerLabel_, markerLabel_->sizeHint().width());
    place(markerBox_, 90);
    place(markerArrows_, 18);
    place(intensityLabel_, intensityLabel_->sizeHint().width());
    place(intensityBox_, 90);
    formulaLabel_->setGeometry(kGap, y + kRowHeight, chartWidth - kGap, kRowHeight);
    commentLabel_->setGeometry(kGap, y + 2 * kRowHeight, chartWidth - kGap, kRowHeight);
}

}  // namespace quenlix
