#include "CalibrationTableModel.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "Plotara.h"

namespace quenlix {
namespace {

// The marking's pixel as its row shows it: the line's centre to a hundredth,
// kept where the text still maps back to the marking's point.
QString PixelTextOf(double marking, double centre) {
    const double x = std::clamp(centre, marking - 0.19, marking + 0.79);
    char text[32];
    std::snprintf(text, sizeof text, x == marking ? "%.0lf" : "%.2lf", x);
    return QString::fromLatin1(text);
}

}  // namespace

void CalibrationTableModel::SetHeaders(const QString& pixel, const QString& wavelength) {
    pixelHeader_ = pixel;
    wavelengthHeader_ = wavelength;
    emit headerDataChanged(Qt::Horizontal, PixelColumn, WavelengthColumn);
}

void CalibrationTableModel::SyncWithMarkings(const std::vector<double>& markingX, const std::vector<double>& shownX) {
    const std::size_t count = std::min(markingX.size(), shownX.size());
    const int rowsBefore = Rows();
    int s = 0;
    std::size_t k = 0;
    int firstChanged = rowsBefore;
    while (s < Rows() && k < count) {
        const double m = markingX[k], r = CPlotara::MarkingPointOf(Pixel(s));
        if (m < r) {
            beginInsertRows({}, s, s);
            rows_.insert(rows_.begin() + s, Row{PixelTextOf(markingX[k], shownX[k]), QString()});
            endInsertRows();
            firstChanged = std::min(firstChanged, s);
            ++s;
            ++k;
        } else if (m > r) {
            RemoveRow(s);
            firstChanged = std::min(firstChanged, s);
        } else {
            ++s;
            ++k;
        }
    }
    if (s < Rows()) {
        beginRemoveRows({}, s, Rows() - 1);
        rows_.erase(rows_.begin() + s, rows_.end());
        endRemoveRows();
    }
    if (k < count) {
        beginInsertRows({}, Rows(), Rows() + static_cast<int>(count - k) - 1);
        for (; k < count; ++k) rows_.push_back(Row{PixelTextOf(markingX[k], shownX[k]), QString()});
        endInsertRows();
    }
    IdsChangedFrom(firstChanged);
}

bool CalibrationTableModel::Insert(double pixel, const QString& pixelText, const QString& wavelengthText) {
    int s = 0;
    for (; s < Rows(); ++s) {
        const double r = Pixel(s);
        if (std::abs(r - pixel) < 0.0001) {
            SetWavelength(s, wavelengthText);
            return false;
        }
        if (r > pixel) break;
    }
    beginInsertRows({}, s, s);
    rows_.insert(rows_.begin() + s, Row{pixelText, wavelengthText});
    endInsertRows();
    IdsChangedFrom(s);
    return true;
}

void CalibrationTableModel::SetRow(int row, const QString& pixelText, const QString& wavelengthText) {
    if (row < 0 || row >= Rows()) return;
    rows_[row] = Row{pixelText, wavelengthText};
    emit dataChanged(index(row, PixelColumn), index(row, WavelengthColumn));
}

void CalibrationTableModel::SetWavelength(int row, const QString& wavelengthText) {
    if (row < 0 || row >= Rows()) return;
    rows_[row].wavelength = wavelengthText;
    emit dataChanged(index(row, WavelengthColumn), index(row, WavelengthColumn));
}

void CalibrationTableModel::RemoveRow(int row) {
    if (row < 0 || row >= Rows()) return;
    beginRemoveRows({}, row, row);
    rows_.erase(rows_.begin() + row);
    endRemoveRows();
    IdsChangedFrom(row);
}

QString CalibrationTableModel::PixelText(int row) const {
    return row >= 0 && row < Rows() ? rows_[row].pixel : QString();
}

QString CalibrationTableModel::WavelengthText(int row) const {
    return row >= 0 && row < Rows() ? rows_[row].wavelength : QString();
}

double CalibrationTableModel::Pixel(int row) const {
    double value = 0;
    return ReadOneNumber(PixelText(row).toStdWString(), value) ? value : 0;
}

std::vector<CalibrationRowText> CalibrationTableModel::RowTexts() const {
    std::vector<CalibrationRowText> texts;
    texts.reserve(rows_.size());
    for (const Row& row : rows_) texts.push_back({row.pixel.toStdWString(), row.wavelength.toStdWString()});
    return texts;
}

void CalibrationTableModel::IdsChangedFrom(int first) {
    if (first < Rows()) emit dataChanged(index(first, IdColumn), index(Rows() - 1, IdColumn));
}

int CalibrationTableModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : Rows(); }

int CalibrationTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant CalibrationTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= Rows()) return {};
    if (role == Qt::TextAlignmentRole) return int(Qt::AlignCenter);
    if (role != Qt::DisplayRole) return {};
    switch (index.column()) {
        case IdColumn: return index.row();
        case PixelColumn: return rows_[index.row()].pixel;
        case WavelengthColumn: return rows_[index.row()].wavelength;
        default: return {};
    }
}

QVariant CalibrationTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
        case IdColumn: return QStringLiteral("ID");
        case PixelColumn: return pixelHeader_;
        case WavelengthColumn: return wavelengthHeader_;
        default: return {};
    }
}

}  // namespace quenlix
