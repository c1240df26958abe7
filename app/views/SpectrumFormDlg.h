#pragma once

#include <QString>
#include <QTableView>

#include "ReceiveData.h"
#include "SpectrumTableModel.h"

namespace quenlix {

// A page that lists one spectrum as a table of X and Y values: the live
// spectrum of one device, refreshed as its averaged spectra arrive, or the
// content of one spectrum file. The column headings name the units.
class CSpectrumFormDlg : public CReceiveData {
public:
    explicit CSpectrumFormDlg(QWidget* parent = nullptr);
    ~CSpectrumFormDlg() override;

    // Lists the display window of the device with that number in X unit
    // xType (0..5) and follows its spectra from then on.
    void ShowDevice(int number, int xType);
    // Lists the file in its own units. A file that is not a readable spectrum
    // is told to the user and nothing is listed: false.
    bool ShowFile(const QString& path);

    void ApplyLanguage(int index) override;
    void OnNewSpectrum(int number, const double* yBuffer) override;
    void OnAxesReloaded(const ViewDevice& device) override;

    QTableView* Table() const { return table_; }
    const SpectrumTableModel& Rows() const { return rows_; }

protected:
    void OnTimer(int id) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void SetHeadings();

    SpectrumTableModel rows_;
    QTableView* table_;
};

}  // namespace quenlix
