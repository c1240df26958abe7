#pragma once

#include <QAbstractTableModel>
#include <vector>

namespace quenlix {

// The rows of a spectrum table: X in column 0, Y in column 1. The values
// are kept as numbers and printed with three decimals only when the view
// asks for a cell, so a table of many thousand rows costs its two arrays
// and a refresh costs one copy and one dataChanged. Until its first Y
// values arrive a table of X values alone shows "0" in the Y column.
class SpectrumTableModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    // One row per X value; Y reads "0" until SetY.
    void ShowX(std::vector<double> x);
    // One row per pair; a Y array shorter than X is padded with 0.
    void ShowSpectrum(std::vector<double> x, std::vector<double> y);
    // New Y values for the first count rows (at most one per row).
    void SetY(const double* y, int count);
    void SetHeadings(const QString& x, const QString& y);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<double> x_;
    std::vector<double> y_;  // as many as x_
    bool yKnown_ = false;
    QString headings_[2];
};

}  // namespace quenlix
