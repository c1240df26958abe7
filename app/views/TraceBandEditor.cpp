#include "TraceBandEditor.h"

#include <QGridLayout>

#include "TraceTexts.h"

namespace quenlix {
namespace {
// The quantity list, in the order of BandQuantity.
const OwnTextRow* const kQuantityNames[] = {&traceText_Integral, &traceText_PeakHeight, &traceText_PeakCentre,
                                            &traceText_Fwhm,     &traceText_Ratio,      &traceText_RubyPressure};
constexpr BandQuantity kQuantities[] = {BandQuantity::Integral, BandQuantity::PeakHeight, BandQuantity::PeakCentre,
                                        BandQuantity::Fwhm,     BandQuantity::Ratio,      BandQuantity::RubyPressure};

int QuantityItem(BandQuantity quantity) {
    for (int i = 0; i < 6; ++i)
        if (kQuantities[i] == quantity) return i;
    return 0;
}

QDoubleSpinBox* EdgeBox(QWidget* parent) {
    auto* box = new QDoubleSpinBox(parent);
    box->setDecimals(3);
    box->setRange(-1e6, 1e6);
    box->setKeyboardTracking(false);
    return box;
}
}  // namespace

QString BandQuantityName(BandQuantity quantity) { return OwnText(*kQuantityNames[QuantityItem(quantity)]); }

TraceBandEditor::TraceBandEditor(QWidget* parent) : QWidget(parent) {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(2, 2, 2, 2);
    grid->setVerticalSpacing(2);
    for (int i = 0; i < kMaxTraceBands; ++i) {
        Row& row = rows_[i];
        row = {new QCheckBox(this), EdgeBox(this), EdgeBox(this), new QComboBox(this), new QLabel(this),
               new QComboBox(this)};
        for (int q = 0; q < 6; ++q) row.quantity->addItem(QString());
        for (int b = 0; b < kMaxTraceBands; ++b) row.ratioOf->addItem(QString());
        grid->addWidget(row.ticked, i, 0);
        grid->addWidget(row.from, i, 1);
        grid->addWidget(new QLabel(QStringLiteral("–"), this), i, 2);
        grid->addWidget(row.to, i, 3);
        grid->addWidget(row.quantity, i, 4);
        grid->addWidget(row.over, i, 5);
        grid->addWidget(row.ratioOf, i, 6);
        connect(row.ticked, &QCheckBox::toggled, this, [this] { Changed(); });
        connect(row.from, &QDoubleSpinBox::valueChanged, this, [this] { Changed(); });
        connect(row.to, &QDoubleSpinBox::valueChanged, this, [this] { Changed(); });
        connect(row.quantity, &QComboBox::currentIndexChanged, this, [this, i] {
            ShowRatioChoice(rows_[i]);
            Changed();
        });
        connect(row.ratioOf, &QComboBox::currentIndexChanged, this, [this] { Changed(); });
        ShowRatioChoice(row);
    }
    grid->setColumnStretch(7, 1);
    ApplyLanguage();
}

void TraceBandEditor::SetBands(const std::vector<TraceBand>& bands) {
    setting_ = true;
    for (int i = 0; i < kMaxTraceBands; ++i) {
        Row& row = rows_[i];
        const bool used = i < static_cast<int>(bands.size());
        row.ticked->setChecked(used);
        if (!used) continue;
        const TraceBand& band = bands[i];
        row.from->setValue(band.xFrom);
        row.to->setValue(band.xTo);
        row.quantity->setCurrentIndex(QuantityItem(band.quantity));
        row.ratioOf->setCurrentIndex(band.ratioOf >= 0 && band.ratioOf < kMaxTraceBands ? band.ratioOf : 0);
        ShowRatioChoice(row);
    }
    setting_ = false;
}

std::vector<TraceBand> TraceBandEditor::Bands() const {
    std::array<int, kMaxTraceBands> indexOfRow;
    int ticked = 0;
    for (int i = 0; i < kMaxTraceBands; ++i) indexOfRow[i] = rows_[i].ticked->isChecked() ? ticked++ : -1;
    std::vector<TraceBand> bands;
    for (const Row& row : rows_) {
        if (!row.ticked->isChecked()) continue;
        TraceBand band;
        band.xFrom = row.from->value();
        band.xTo = row.to->value();
        band.quantity = kQuantities[std::max(row.quantity->currentIndex(), 0)];
        if (band.quantity == BandQuantity::Ratio) band.ratioOf = indexOfRow[std::max(row.ratioOf->currentIndex(), 0)];
        bands.push_back(band);
    }
    return bands;
}

void TraceBandEditor::ApplyLanguage() {
    setting_ = true;
    for (int i = 0; i < kMaxTraceBands; ++i) {
        Row& row = rows_[i];
        row.ticked->setText(OwnText(traceText_Band).arg(i + 1));
        for (int q = 0; q < 6; ++q) row.quantity->setItemText(q, OwnText(*kQuantityNames[q]));
        for (int b = 0; b < kMaxTraceBands; ++b) row.ratioOf->setItemText(b, OwnText(traceText_Band).arg(b + 1));
        row.over->setText(OwnText(traceText_Over));
    }
    setting_ = false;
}

void TraceBandEditor::Changed() {
    if (!setting_ && changed_) changed_();
}

void TraceBandEditor::ShowRatioChoice(Row& row) {
    const bool ratio = row.quantity->currentIndex() == QuantityItem(BandQuantity::Ratio);
    row.over->setVisible(ratio);
    row.ratioOf->setVisible(ratio);
}

}  // namespace quenlix
