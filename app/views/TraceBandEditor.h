#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QWidget>
#include <array>
#include <functional>
#include <vector>

#include "BandQuantities.h"

namespace quenlix {

// The quantity's name in the current language.
QString BandQuantityName(BandQuantity quantity);

// The rows where the bands of a time trace are set: one row per band with
// a tick, the two edges, the quantity and, for a ratio, the band below the
// fraction bar. Told through the changed callback when the user finished
// an edit, not while setting rows from the program.
class TraceBandEditor : public QWidget {
public:
    explicit TraceBandEditor(QWidget* parent = nullptr);

    // Row i from band i; rows beyond the bands unticked.
    void SetBands(const std::vector<TraceBand>& bands);
    // The ticked rows in order. A ratio's ratioOf counts among them: -1
    // when the row it names is not ticked.
    std::vector<TraceBand> Bands() const;
    void SetChangedListener(std::function<void()> listener) { changed_ = std::move(listener); }
    void ApplyLanguage();

    QCheckBox* Ticked(int row) const { return rows_[row].ticked; }
    QDoubleSpinBox* From(int row) const { return rows_[row].from; }
    QDoubleSpinBox* To(int row) const { return rows_[row].to; }
    QComboBox* Quantity(int row) const { return rows_[row].quantity; }
    QComboBox* RatioOf(int row) const { return rows_[row].ratioOf; }

private:
    struct Row {
        QCheckBox* ticked;
        QDoubleSpinBox* from;
        QDoubleSpinBox* to;
        QComboBox* quantity;
        QLabel* over;
        QComboBox* ratioOf;
    };
    void Changed();
    void ShowRatioChoice(Row& row);

    std::array<Row, kMaxTraceBands> rows_;
    std::function<void()> changed_;
    bool setting_ = false;
};

}  // namespace quenlix
