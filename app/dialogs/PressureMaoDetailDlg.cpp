#include "PressureMaoDetailDlg.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QPainter>
#include <QPixmap>
#include <vector>

#include "Lexora.h"
#include "NumberText.h"
#include "UiText.h"

namespace quenlix {
namespace {

constexpr int kFormulaPixels = 16;

// One stretch of formula text: a variable in italics, or in a smaller size
// an index set below the line (the 0 of λ0) or an exponent set above it.
enum class Style { Upright, Italic, Index, Exponent };
struct Piece {
    QString text;
    Style style;
};
using Run = std::vector<Piece>;

QFont StyledFont(const QFont& base, Style style) {
    QFont font = base;
    font.setItalic(style == Style::Italic);
    if (style == Style::Index || style == Style::Exponent) font.setPixelSize(base.pixelSize() * 7 / 10);
    return font;
}

// Width of run set from x on baseline; drawn when painter is set.
int PutRun(QPainter* painter, const QFont& base, const Run& run, int x, int baseline) {
    const int start = x;
    const int ascent = QFontMetrics(base).ascent();
    for (const Piece& piece : run) {
        const QFont font = StyledFont(base, piece.style);
        int y = baseline;
        if (piece.style == Style::Index) y += ascent / 4;
        if (piece.style == Style::Exponent) y -= ascent / 2;
        if (painter) {
            painter->setFont(font);
            painter->drawText(x, y, piece.text);
        }
        x += QFontMetrics(font).horizontalAdvance(piece.text);
    }
    return x - start;
}

const Piece kLambda{QStringLiteral("λ"), Style::Italic};
const Piece kZero{QStringLiteral("0"), Style::Index};

// P = 1904/7.665 · [(1 + (λ − λ0)/λ0)^7.665 − 1] with stacked fractions,
// set from x = 0 around the height `axis` of the fraction bars; drawn when
// painter is set. Returns the width.
int PutFormula(QPainter* painter, const QFont& base, int axis) {
    const QFontMetrics metrics(base);
    const int numeratorBaseline = axis - 3 - metrics.descent();
    const int denominatorBaseline = axis + 3 + metrics.ascent();
    const int baseline = axis + metrics.xHeight() / 2;
    QFont tall = base;
    tall.setPixelSize(base.pixelSize() * 2);
    const QFontMetrics tallMetrics(tall);
    const int tallBaseline = axis + (tallMetrics.ascent() - tallMetrics.descent()) / 2;

    int x = 0;
    const auto text = [&](const Run& run) { x += PutRun(painter, base, run, x, baseline); };
    // Brackets as tall as the fractions they enclose.
    const auto bracket = [&](const QString& glyph) {
        if (painter) {
            painter->setFont(tall);
            painter->drawText(x, tallBaseline, glyph);
        }
        x += tallMetrics.horizontalAdvance(glyph);
    };
    const auto fraction = [&](const Run& top, const Run& bottom) {
        const int topWidth = PutRun(nullptr, base, top, 0, 0);
        const int bottomWidth = PutRun(nullptr, base, bottom, 0, 0);
        const int width = std::max(topWidth, bottomWidth) + 6;
        if (painter) {
            PutRun(painter, base, top, x + (width - topWidth) / 2, numeratorBaseline);
            PutRun(painter, base, bottom, x + (width - bottomWidth) / 2, denominatorBaseline);
            painter->drawLine(x + 1, axis, x + width - 2, axis);
        }
        x += width;
    };
    text({{QStringLiteral("P"), Style::Italic}, {QStringLiteral(" = "), Style::Upright}});
    fraction({{QStringLiteral("1904"), Style::Upright}}, {{QStringLiteral("7.665"), Style::Upright}});
    text({{QStringLiteral(" "), Style::Upright}});
    bracket(QStringLiteral("["));
    bracket(QStringLiteral("("));
    text({{QStringLiteral("1 + "), Style::Upright}});
    fraction({kLambda, {QStringLiteral(" − "), Style::Upright}, kLambda, kZero}, {kLambda, kZero});
    bracket(QStringLiteral(")"));
    x += PutRun(painter, base, {{QStringLiteral("7.665"), Style::Exponent}}, x, axis);
    text({{QStringLiteral(" − 1"), Style::Upright}});
    bracket(QStringLiteral("]"));
    return x;
}

QFont FormulaFont(const QFont& dialogFont) {
    QFont font = dialogFont;
    font.setPixelSize(kFormulaPixels);
    return font;
}

QPixmap FormulaPicture(const QFont& font, const QColor& ink) {
    const QFontMetrics metrics(font);
    constexpr int kMargin = 4;
    const int axis = kMargin + metrics.height() + 4;
    QPixmap picture(PutFormula(nullptr, font, axis) + 2 * kMargin, 2 * axis);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(ink);
    painter.translate(kMargin, 0);
    PutFormula(&painter, font, axis);
    return picture;
}

// "λ0 :" in the formula's letters, before the λ0 field.
QPixmap ReferenceSymbolPicture(const QFont& font, const QColor& ink) {
    const Run symbol{kLambda, kZero, {QStringLiteral("  :"), Style::Upright}};
    const QFontMetrics metrics(font);
    const int baseline = metrics.ascent() + 1;
    QPixmap picture(PutRun(nullptr, font, symbol, 0, 0) + 2, metrics.height() + metrics.ascent() / 4 + 2);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(ink);
    PutRun(&painter, font, symbol, 1, baseline);
    return picture;
}

}  // namespace

CPressureMaoDetailDlg::CPressureMaoDetailDlg(double referenceWavelength, QWidget* parent)
    : QDialog(parent),
      referenceWavelength(referenceWavelength),
      formulaTitle_(new QLabel(Text(strMainDlg_SpecRegion_SpecDisplay_CheckSpecInfo_PressureDetail_Formula), this)),
      formula_(new QLabel(this)),
      pressureLabel_(new QLabel(Text(strMainDlg_SpecRegion_SpecDisplay_CheckSpecInfo_PressureDetail_Pressure), this)),
      wavelengthLabel_(
          new QLabel(Text(strMainDlg_SpecRegion_SpecDisplay_CheckSpecInfo_PressureDetail_Wavelength), this)),
      referenceSymbol_(new QLabel(this)),
      referenceBox_(new QLineEdit(this)),
      referenceUnit_(new QLabel(QStringLiteral("(nm)"), this)),
      citationTitle_(
          new QLabel(Text(strMainDlg_SpecRegion_SpecDisplay_CheckSpecInfo_PressureDetail_Reference), this)),
      citation_(new QLabel(QStringLiteral("H. K. Mao, J. Xu and P. M. Bell, J. Geophys. Res. 91, 4673 (1986)"), this)),
      ok_(new QPushButton(Text(strGeneral_Sure), this)),
      cancel_(new QPushButton(Text(strGeneral_Cancel), this)) {
    setWindowTitle(Text(strMainDlg_SpecRegion_SpecDisplay_CheckSpecInfo_PressureDetail_WindowText));
    const QFont font = FormulaFont(this->font());
    const QColor ink = palette().color(QPalette::WindowText);
    formula_->setPixmap(FormulaPicture(font, ink));
    referenceSymbol_->setPixmap(ReferenceSymbolPicture(font, ink));

    auto* grid = new QGridLayout(this);
    grid->addWidget(formulaTitle_, 0, 0, 1, 4);
    grid->addWidget(formula_, 1, 0, 1, 4);
    grid->addWidget(pressureLabel_, 2, 0, 1, 4);
    grid->addWidget(wavelengthLabel_, 3, 0, 1, 4);
    grid->addWidget(referenceSymbol_, 4, 0);
    grid->addWidget(referenceBox_, 4, 1);
    grid->addWidget(referenceUnit_, 4, 2);
    grid->setColumnStretch(3, 1);
    grid->setRowMinimumHeight(5, 8);
    grid->addWidget(citationTitle_, 6, 0, 1, 4);
    grid->addWidget(citation_, 7, 0, 1, 4);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    grid->addLayout(buttons, 8, 0, 1, 4);
    referenceBox_->setFixedWidth(100);

    // Enter in the field checks the typed λ0 and leaves the dialog open.
    for (QPushButton* button : {ok_, cancel_}) button->setAutoDefault(false);
    connect(referenceBox_, &QLineEdit::editingFinished, this, [this] { TakeTypedReference(); });
    connect(ok_, &QPushButton::clicked, this, [this] {
        TakeTypedReference();
        accept();
    });
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    referenceBox_->setText(PrintedNumber("%.2lf", referenceWavelength));
}

void CPressureMaoDetailDlg::TakeTypedReference() {
    const std::optional<double> typed = ScanFiniteNumber(referenceBox_->text());
    if (typed && *typed > 0) referenceWavelength = *typed;
    referenceBox_->setText(PrintedNumber("%.2lf", referenceWavelength));
}

}  // namespace quenlix
