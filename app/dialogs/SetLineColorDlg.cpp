#include "SetLineColorDlg.h"

#include <QPainter>
#include <QPixmap>
#include <QPolygon>
#include <list>

#include "LineColorList.h"
#include "Lexora.h"
#include "ProcessValues.h"
#include "Prompts.h"
#include "SaveFailureMessage.h"
#include "UiText.h"

namespace quenlix {
namespace {

constexpr QRect kPreviewArea(200, 65, 130, 220);

QColor FromColorRef(std::uint32_t color) {
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

// An arrow up or down; with a bar at its tip when it moves to the end.
QIcon MoveIcon(bool upwards, bool toEnd) {
    QPixmap picture(16, 16);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    const int tip = upwards ? 4 : 12;
    const int base = upwards ? 11 : 5;
    painter.drawPolygon(QPolygon({QPoint(8, tip), QPoint(3, base), QPoint(13, base)}));
    if (toEnd) painter.drawRect(3, upwards ? 1 : 13, 10, 2);
    return QIcon(picture);
}

}  // namespace

CSetLineColorDlg::CSetLineColorDlg(QWidget* parent)
    : QDialog(parent),
      colors(lineColorList.begin(), lineColorList.end()),
      group_(new QGroupBox(FormatText(strMainDlg_SetLineColor_SetColor, static_cast<int>(kMaxLineColors)), this)),
      list_(new QListWidget(this)),
      toFirst_(new QToolButton(this)),
      up_(new QToolButton(this)),
      down_(new QToolButton(this)),
      toLast_(new QToolButton(this)),
      preview_(new QLabel(this)),
      add_(new QPushButton(Text(strGeneral_Add), this)),
      modify_(new QPushButton(Text(strGeneral_Modify), this)),
      delete_(new QPushButton(Text(strGeneral_Delete), this)),
      sure_(new QPushButton(Text(strMainDlg_SetLineColor_Sure), this)),
      close_(new QPushButton(Text(strMainDlg_SetLineColor_Close), this)) {
    setWindowTitle(Text(strMainDlg_SetLineColor_WindowText));
    setFixedSize(470, 335);
    group_->setGeometry(10, 10, 450, 285);
    list_->setGeometry(25, 65, 90, 220);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    const std::pair<QToolButton*, QIcon> moves[] = {{toFirst_, MoveIcon(true, true)},
                                                    {up_, MoveIcon(true, false)},
                                                    {down_, MoveIcon(false, false)},
                                                    {toLast_, MoveIcon(false, true)}};
    int y = 95;
    for (const auto& [button, icon] : moves) {
        button->setIcon(icon);
        button->setGeometry(140, y, 40, 30);
        y += 40;
    }
    preview_->setGeometry(kPreviewArea);
    y = 65;
    for (QPushButton* button : {add_, modify_, delete_}) {
        button->setGeometry(345, y, 100, 30);
        y += 40;
    }
    sure_->setGeometry(250, 300, 100, 28);
    close_->setGeometry(360, 300, 100, 28);
    sure_->setDefault(true);

    connect(add_, &QPushButton::clicked, this, [this] { OnAdd(); });
    connect(modify_, &QPushButton::clicked, this, [this] { OnModify(); });
    connect(delete_, &QPushButton::clicked, this, [this] { OnDelete(); });
    connect(toFirst_, &QToolButton::clicked, this, [this] { MoveSelected(0); });
    connect(up_, &QToolButton::clicked, this, [this] { MoveSelected(SelectedRow() - 1); });
    connect(down_, &QToolButton::clicked, this, [this] { MoveSelected(SelectedRow() + 1); });
    connect(toLast_, &QToolButton::clicked, this,
            [this] { MoveSelected(static_cast<int>(colors.size()) - 1); });
    connect(sure_, &QPushButton::clicked, this, [this] { OnSure(); });
    connect(close_, &QPushButton::clicked, this, &QDialog::reject);
    ShowNumbers(-1);
}

int CSetLineColorDlg::SelectedRow() const {
    const QList<QListWidgetItem*> selected = list_->selectedItems();
    return selected.isEmpty() ? -1 : list_->row(selected.first());
}

void CSetLineColorDlg::ShowNumbers(int selectedRow) {
    list_->clear();
    for (std::size_t k = 0; k < colors.size(); ++k) list_->addItem(QString::number(k));
    if (selectedRow >= 0) list_->setCurrentRow(selectedRow);
    PaintPreview();
}

// Drawn off-screen and shown whole, so the preview never flickers.
void CSetLineColorDlg::PaintPreview() {
    QPixmap picture(kPreviewArea.size());
    picture.fill(FromColorRef(chartBackgroundColor));
    QPainter painter(&picture);
    QFont font = painter.font();
    font.setPixelSize(12);
    painter.setFont(font);
    for (std::size_t k = 0; k < colors.size(); ++k) {
        const int y = 15 + 15 * static_cast<int>(k);
        painter.setPen(QPen(FromColorRef(colors[k]), 2));
        painter.drawLine(20, y, 120, y);
        painter.drawText(QRect(5, y - 10, 15, 15), Qt::AlignLeft | Qt::AlignTop, QString::number(k));
    }
    preview_->setPixmap(picture);
}

void CSetLineColorDlg::OnAdd() {
    if (colors.size() >= kMaxLineColors) {
        CurrentPrompts().MessageBox(this, QStringLiteral("谱线颜色数量应该不大于10"), Text(strGeneral_MsgboxPrompt),
                                    Prompts::Buttons::Ok);
        return;
    }
    const std::optional<std::uint32_t> chosen = CurrentPrompts().ChooseColor(this, 0);
    if (!chosen) return;
    const int selected = SelectedRow();
    colors.insert(selected < 0 ? colors.end() : colors.begin() + selected, *chosen);
    list_->addItem(QString::number(colors.size() - 1));
    PaintPreview();
}

void CSetLineColorDlg::OnModify() {
    const int selected = SelectedRow();
    if (selected < 0) return;
    if (const std::optional<std::uint32_t> chosen = CurrentPrompts().ChooseColor(this, 0)) {
        colors[selected] = *chosen;
        PaintPreview();
    }
}

void CSetLineColorDlg::OnDelete() {
    if (colors.size() <= 1) {
        CurrentPrompts().MessageBox(this, QStringLiteral("至少应该有一种颜色"), Text(strGeneral_MsgboxPrompt),
                                    Prompts::Buttons::Ok);
        return;
    }
    const int selected = SelectedRow();
    if (selected < 0) return;
    colors.erase(colors.begin() + selected);
    ShowNumbers(std::min(selected, static_cast<int>(colors.size()) - 1));
}

void CSetLineColorDlg::MoveSelected(int to) {
    const int from = SelectedRow();
    if (from < 0 || to < 0 || to >= static_cast<int>(colors.size()) || to == from) return;
    const std::uint32_t moved = colors[from];
    colors.erase(colors.begin() + from);
    colors.insert(colors.begin() + to, moved);
    list_->setCurrentRow(to);
    PaintPreview();
}

void CSetLineColorDlg::OnSure() {
    const std::list<std::uint32_t> chosen(colors.begin(), colors.end());
    if (!SaveLineColorList(chosen)) {
        TellSaveFailure(this, kLineColorFile);
        return;
    }
    lineColorList = chosen;
    accept();
}

}  // namespace quenlix
