#include "SetCoordsRegionDlg.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QShowEvent>
#include <QVBoxLayout>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <type_traits>

#include "BoundedFile.h"
#include "Lexora.h"
#include "MessagePayloads.h"
#include "NumberText.h"
#include "ReplaceFile.h"
#include "SettingsPath.h"
#include "UiText.h"

namespace quenlix {
namespace {

constexpr const char* kModeFile = "config/set coords mode.bin";
// The mode file holds 4 bytes and a range file 16; anything longer is damaged.
constexpr std::size_t kReadLimit = 64;

// The narrowest range an entry may have on an axis type, and the decimals
// that show it: 0.01 nm is 0.00001 µm.
struct AxisScale {
    double narrowest;
    const char* format;
};
// By X type code: nm, µm, pixel, GHz, wavenumber, Raman shift.
constexpr AxisScale kXScales[6] = {{0.2, "%.2lf"}, {0.0002, "%.5lf"}, {0.2, "%.2lf"},
                                   {0.2, "%.2lf"}, {0.2, "%.2lf"},    {0.2, "%.2lf"}};
// By Y type code: intensity, dark-subtracted intensity, transmissivity %,
// reflectivity %, absorbance, decibel.
constexpr AxisScale kYScales[6] = {{0.2, "%.1lf"},  {0.2, "%.1lf"},    {0.01, "%.3lf"},
                                   {0.01, "%.3lf"}, {0.001, "%.4lf"}, {0.2, "%.1lf"}};

AxisScale ScaleOf(const AxisScale (&scales)[6], int type) {
    return type >= 0 && type < 6 ? scales[type] : scales[0];
}

template <typename T>
T FromLittleEndian(const char* bytes) {
    using Bits = std::conditional_t<sizeof(T) == 8, std::uint64_t, std::uint32_t>;
    Bits bits = 0;
    for (std::size_t i = sizeof(T); i-- > 0;) bits = (bits << 8) | static_cast<unsigned char>(bytes[i]);
    return std::bit_cast<T>(bits);
}

template <typename T>
void AppendLittleEndian(std::string& bytes, T value) {
    using Bits = std::conditional_t<sizeof(T) == 8, std::uint64_t, std::uint32_t>;
    auto bits = std::bit_cast<Bits>(value);
    for (std::size_t i = 0; i < sizeof(T); ++i, bits >>= 8) bytes += static_cast<char>(bits & 0xFF);
}

std::string Bytes(const char* name) { return ReadBoundedFile(SettingsPath(name), kReadLimit).bytes; }

// Files that cannot be written are skipped: the dialog works on without them.
void WriteBytes(const char* name, const std::string& bytes) {
    WriteFileReplacing(SettingsPathForWrite(name), bytes);
}

// A 32-bit little-endian 1 or 2; anything else gives 1.
int ReadMode() {
    const std::string bytes = Bytes(kModeFile);
    if (bytes.size() != 4) return 1;
    const auto mode = FromLittleEndian<std::int32_t>(bytes.data());
    return mode == 2 ? 2 : 1;
}

struct Range {
    double min;
    double max;
};

// axis 1 for X, 2 for Y.
std::string RangeFileName(int axis, int type) {
    char name[64];
    std::snprintf(name, sizeof name, "config/last coords%d%d.bin", axis, type);
    return name;
}

// Two little-endian doubles, minimum then maximum; none unless the file is
// exactly that with finite values.
std::optional<Range> ReadRange(const std::string& name) {
    const std::string bytes = Bytes(name.c_str());
    if (bytes.size() != 16) return std::nullopt;
    const Range range{FromLittleEndian<double>(bytes.data()), FromLittleEndian<double>(bytes.data() + 8)};
    if (!std::isfinite(range.min) || !std::isfinite(range.max)) return std::nullopt;
    return range;
}

void WriteRange(const std::string& name, Range range) {
    std::string bytes;
    AppendLittleEndian(bytes, range.min);
    AppendLittleEndian(bytes, range.max);
    WriteBytes(name.c_str(), bytes);
}

}  // namespace

CSetCoordsRegionDlg::CSetCoordsRegionDlg(QWidget* parent)
    : QDialog(parent),
      mode(ReadMode()),
      xGroup_(new QGroupBox(Text(strMainDlg_SpecRegion_SpecDisplay_SetAxisRegionDlg_ModifyXRegion), this)),
      xMinLabel_(new QLabel(Text(strMainDlg_SpecRegion_SpecDisplay_SetAxisRegionDlg_XMin), xGroup_)),
      xMin_(new QLineEdit(xGroup_)),
      xMaxLabel_(new QLabel(Text(strMainDlg_SpecRegion_SpecDisplay_SetAxisRegionDlg_XMax), xGroup_)),
      xMax_(new QLineEdit(xGroup_)),
      yGroup_(new QGroupBox(Text(strMainDlg_SpecRegion_SpecDisplay_SetAxisRegionDlg_ModifyYRegion), this)),
      yMinLabel_(new QLabel(Text(strMainDlg_SpecRegion_SpecDisplay_SetAxisRegionDlg_YMin), yGroup_)),
      yMin_(new QLineEdit(yGroup_)),
      yMaxLabel_(new QLabel(Text(strMainDlg_SpecRegion_SpecDisplay_SetAxisRegionDlg_YMax), yGroup_)),
      yMax_(new QLineEdit(yGroup_)),
      lastRanges_(new QRadioButton(Text(strMainDlg_SpecRegion_SpecDisplay_SetAxisRegionDlg_InitMode1), this)),
      chartAxes_(new QRadioButton(Text(strMainDlg_SpecRegion_SpecDisplay_SetAxisRegionDlg_InitMode2), this)),
      modify_(new QPushButton(Text(strMainDlg_SpecRegion_SpecDisplay_SetAxisRegionDlg_Modify), this)),
      close_(new QPushButton(Text(strMainDlg_SpecRegion_SpecDisplay_SetAxisRegionDlg_Cancel), this)) {
    setWindowTitle(Text(strMainDlg_SpecRegion_SpecDisplay_SetAxisRegionDlg_SetAxisRegion));
    const auto fillGroup = [](QGroupBox* group, QLabel* minLabel, QLineEdit* min, QLabel* maxLabel, QLineEdit* max) {
        auto* row = new QHBoxLayout(group);
        row->addWidget(minLabel);
        row->addWidget(min, 1);
        row->addSpacing(12);
        row->addWidget(maxLabel);
        row->addWidget(max, 1);
    };
    fillGroup(xGroup_, xMinLabel_, xMin_, xMaxLabel_, xMax_);
    fillGroup(yGroup_, yMinLabel_, yMin_, yMaxLabel_, yMax_);
    auto* column = new QVBoxLayout(this);
    column->addWidget(xGroup_);
    column->addWidget(yGroup_);
    column->addWidget(lastRanges_);
    column->addWidget(chartAxes_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(modify_);
    buttons->addWidget(close_);
    column->addLayout(buttons);
    setMinimumWidth(420);

    modify_->setDefault(true);
    connect(modify_, &QPushButton::clicked, this, [this] { OnModify(); });
    connect(close_, &QPushButton::clicked, this, &QDialog::reject);
    connect(lastRanges_, &QRadioButton::clicked, this, [this] { OnModeChosen(1); });
    connect(chartAxes_, &QRadioButton::clicked, this, [this] { OnModeChosen(2); });
}

void CSetCoordsRegionDlg::SetRegion(double xMin, double xMax, double yMin, double yMax) {
    region[0] = xMin;
    region[1] = xMax;
    region[2] = yMin;
    region[3] = yMax;
}

void CSetCoordsRegionDlg::SetAxisTypes(int x, int y) {
    xType = x;
    yType = y;
}

void CSetCoordsRegionDlg::SetTarget(Window* view) { target = view; }

void CSetCoordsRegionDlg::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) ShowStartingValues();
    QDialog::showEvent(event);
}

void CSetCoordsRegionDlg::ShowStartingValues() {
    Range x{region[0], region[1]};
    Range y{region[2], region[3]};
    // A last range that was never stored, or is damaged, is the chart's.
    if (mode == 1) {
        x = ReadRange(RangeFileName(1, xType)).value_or(x);
        y = ReadRange(RangeFileName(2, yType)).value_or(y);
    }
    const char* xFormat = ScaleOf(kXScales, xType).format;
    const char* yFormat = ScaleOf(kYScales, yType).format;
    xMin_->setText(PrintedNumber(xFormat, x.min));
    xMax_->setText(PrintedNumber(xFormat, x.max));
    yMin_->setText(PrintedNumber(yFormat, y.min));
    yMax_->setText(PrintedNumber(yFormat, y.max));
    lastRanges_->setChecked(mode == 1);
    chartAxes_->setChecked(mode == 2);
}

void CSetCoordsRegionDlg::OnModeChosen(int chosen) {
    mode = chosen;
    std::string bytes;
    AppendLittleEndian(bytes, static_cast<std::int32_t>(mode));
    WriteBytes(kModeFile, bytes);
    ShowStartingValues();
}

void CSetCoordsRegionDlg::OnModify() {
    const std::optional<double> xMin = ScanFiniteNumber(xMin_->text());
    const std::optional<double> xMax = ScanFiniteNumber(xMax_->text());
    const std::optional<double> yMin = ScanFiniteNumber(yMin_->text());
    const std::optional<double> yMax = ScanFiniteNumber(yMax_->text());
    const bool xValid = xMin && xMax && *xMax - *xMin > ScaleOf(kXScales, xType).narrowest;
    const bool yValid = yMin && yMax && *yMax - *yMin > ScaleOf(kYScales, yType).narrowest;
    if (xValid && yValid) {
        SendWithLParam<WM_SET_AXIS_REGION>(target, 0, std::array<double, 4>{*xMin, *xMax, *yMin, *yMax});
    }
    // Refused ranges are remembered as well, so they can be corrected next time.
    if (xMin && xMax) WriteRange(RangeFileName(1, xType), {*xMin, *xMax});
    if (yMin && yMax) WriteRange(RangeFileName(2, yType), {*yMin, *yMax});
}

}  // namespace quenlix
