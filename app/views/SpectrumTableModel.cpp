#include "SpectrumTableModel.h"

#include <algorithm>

#include "NumberText.h"

namespace quenlix {

void SpectrumTableModel::ShowX(std::vector<double> x) {
    beginResetModel();
    y_.assign(x.size(), 0.0);
    x_ = std::move(x);
    yKnown_ = false;
    endResetModel();
}

void SpectrumTableModel::ShowSpectrum(std::vector<double> x, std::vector<double> y) {
    beginResetModel();
    y.resize(x.size(), 0.0);
    x_ = std::move(x);
    y_ = std::move(y);
    yKnown_ = true;
    endResetModel();
}

void SpectrumTableModel::SetY(const double* y, int count) {
    const int rows = std::min(count, rowCount());
    if (rows <= 0) return;
    std::copy(y, y + rows, y_.begin());
    yKnown_ = true;
    static const QList<int> kDisplayRole{Qt::DisplayRole};  // shared: no list made per refresh
    emit dataChanged(index(0, 1), index(rows - 1, 1), kDisplayRole);
}

void SpectrumTableModel::SetHeadings(const QString& x, const QString& y) {
    if (headings_[0] == x && headings_[1] == y) return;
    headings_[0] = x;
    headings_[1] = y;
    emit headerDataChanged(Qt::Horizontal, 0, 1);
}

int SpectrumTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(x_.size());
}

int SpectrumTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 2; }

QVariant SpectrumTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() > 1) return {};
    if (role == Qt::TextAlignmentRole) return int(Qt::AlignCenter);
    if (role != Qt::DisplayRole) return {};
    const auto row = static_cast<std::size_t>(index.row());
    if (index.column() == 0) return PrintedNumber("%.3f", x_[row]);
    return yKnown_ ? PrintedNumber("%.3lf", y_[row]) : QStringLiteral("0");
}

QVariant SpectrumTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section > 1) return {};
    if (role == Qt::TextAlignmentRole) return int(Qt::AlignCenter);
    return role == Qt::DisplayRole ? QVariant(headings_[section]) : QVariant();
}

}  // namespace quenlix
