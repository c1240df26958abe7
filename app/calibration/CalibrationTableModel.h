#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <vector>

#include "CalibrationFit.h"

namespace quenlix {

// The calibration table: one row per marking on the chart, in ascending
// pixel order, with columns "ID" (the row's index), pixel and wavelength.
// The cell texts are the pairs' only store. A row's pixel is the marking's
// point, or the centre of the line found there, between points ("1365.96");
// a row belongs to the marking at the point the chart marks that pixel at
// (CPlotara::MarkingPointOf).
class CalibrationTableModel : public QAbstractTableModel {
public:
    enum Column { IdColumn, PixelColumn, WavelengthColumn, ColumnCount };

    void SetHeaders(const QString& pixel, const QString& wavelength);

    // Brings the rows in line with the chart's markings (their X values in
    // ascending order, and for each the X to show as its pixel): rows whose
    // marking is gone are removed, markings without a row get one with an
    // empty wavelength; a wavelength already given stays with its pixel.
    void SyncWithMarkings(const std::vector<double>& markingX, const std::vector<double>& shownX);

    // A pair typed in: the row of that pixel takes the wavelength (false),
    // or a new row goes in at its place in pixel order (true: the chart
    // needs a marking there).
    bool Insert(double pixel, const QString& pixelText, const QString& wavelengthText);
    void SetRow(int row, const QString& pixelText, const QString& wavelengthText);
    void SetWavelength(int row, const QString& wavelengthText);
    void RemoveRow(int row);

    int Rows() const { return static_cast<int>(rows_.size()); }
    QString PixelText(int row) const;
    QString WavelengthText(int row) const;
    // The row's pixel read as a number (0 when it is none).
    double Pixel(int row) const;
    std::vector<CalibrationRowText> RowTexts() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    struct Row {
        QString pixel;
        QString wavelength;
    };
    // IDs are indexes: rows from first on show new ones.
    void IdsChangedFrom(int first);

    std::vector<Row> rows_;
    QString pixelHeader_ = QStringLiteral("Pixel");
    QString wavelengthHeader_ = QStringLiteral("Wavelength");
};

}  // namespace quenlix
