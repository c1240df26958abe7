#include "Prompts.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QUrl>

namespace quenlix {

Prompts::Answer Prompts::MessageBox(QWidget* owner, const QString& text, const QString& caption,
                                    Buttons buttons) {
    QMessageBox::StandardButtons shown = QMessageBox::Ok;
    if (buttons == Buttons::YesNo) shown = QMessageBox::Yes | QMessageBox::No;
    if (buttons == Buttons::YesNoCancel)
        shown = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    if (buttons == Buttons::OkCancel) shown = QMessageBox::Ok | QMessageBox::Cancel;
    const auto icon = buttons == Buttons::OkCancel ? QMessageBox::Question : QMessageBox::Information;
    QMessageBox box(icon, caption, text, shown, owner);
    // Some messages hold commands to copy.
    box.setTextInteractionFlags(Qt::TextSelectableByMouse);
    switch (box.exec()) {
        case QMessageBox::Yes: return Answer::Yes;
        case QMessageBox::No: return Answer::No;
        case QMessageBox::Cancel: return Answer::Cancel;
        default: return Answer::Ok;
    }
}

std::optional<std::uint32_t> Prompts::ChooseColor(QWidget* owner, std::uint32_t initial) {
    const QColor start(initial & 0xFF, (initial >> 8) & 0xFF, (initial >> 16) & 0xFF);
    const QColor chosen = QColorDialog::getColor(start, owner);
    if (!chosen.isValid()) return std::nullopt;
    return static_cast<std::uint32_t>(chosen.red() | (chosen.green() << 8) | (chosen.blue() << 16));
}

QString Prompts::OpenFileName(QWidget* owner, const QString& title, const QString& filter) {
    return QFileDialog::getOpenFileName(owner, title, QString(), filter);
}

QString Prompts::SaveFileName(QWidget* owner, const QString& title, const QString& filter,
                              const QString& defaultSuffix) {
    QFileDialog dialog(owner, title, QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setDefaultSuffix(defaultSuffix);
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& chosen) {
        // "JPEG(*.jpg *.jpeg)" gives "jpg".
        const qsizetype star = chosen.indexOf(QLatin1String("*."));
        if (star < 0) return;
        qsizetype end = star + 2;
        while (end < chosen.size() && chosen[end].isLetterOrNumber()) ++end;
        dialog.setDefaultSuffix(chosen.mid(star + 2, end - star - 2));
    });
    if (dialog.exec() != QDialog::Accepted) return QString();
    return dialog.selectedFiles().value(0);
}

QString Prompts::FolderName(QWidget* owner, const QString& title) {
    return QFileDialog::getExistingDirectory(owner, title);
}

int Prompts::RunModal(QDialog& dialog) { return dialog.exec(); }

QAction* Prompts::RunMenu(QMenu& menu, const QPoint& at) { return menu.exec(at); }

void Prompts::OpenDocument(const QString& path) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

namespace {
Prompts defaultPrompts;
Prompts* installed = nullptr;
}  // namespace

Prompts& CurrentPrompts() { return installed ? *installed : defaultPrompts; }

void InstallPrompts(Prompts* replacement) { installed = replacement; }

}  // namespace quenlix
