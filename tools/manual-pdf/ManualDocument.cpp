#include "ManualDocument.h"

#include <QFont>
#include <QFontDatabase>
#include <QImage>
#include <QSet>
#include <QTextBlock>
#include <QTextFrame>
#include <QTextTable>
#include <QTextCursor>
#include <QColor>
#include <QTextImageFormat>
#include <QUrl>
#include <filesystem>

#include "BoundedFile.h"

namespace quenlix {
namespace {

constexpr std::size_t kMarkdownLimit = 1 << 20;
constexpr std::size_t kImageLimit = 16 << 20;
constexpr double kBodyPointSize = 10.5;
constexpr double kCodePointSize = 9;
constexpr double kRuleWidth = 0.75;

std::string ReasonOf(FileRefusal refusal) {
    switch (refusal) {
        case FileRefusal::CannotOpen: return "missing or not readable";
        case FileRefusal::NotRegularFile: return "not a regular file";
        case FileRefusal::TooLarge: return "too large";
        case FileRefusal::ReadError: return "read error";
        case FileRefusal::None: break;
    }
    return "";
}

bool HasCjk(const QString& text) {
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if ((u >= 0x3000 && u <= 0x9FFF) || (u >= 0xF900 && u <= 0xFAFF) || (u >= 0xFF00 && u <= 0xFFEF))
            return true;
    }
    return false;
}

// Adds every image the text names as a resource of the document.
bool AddImages(QTextDocument& document, const std::filesystem::path& folder, std::string& error) {
    QSet<QString> added;  // not asked of the document, which would look for the file itself
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (!format.isImageFormat()) continue;
            const QString name = format.toImageFormat().name();
            if (added.contains(name)) continue;
            const std::filesystem::path path = folder / name.toStdString();
            const FileContent content = ReadBoundedFile(path.string(), kImageLimit);
            QImage image;
            if (!content.Read() || !image.loadFromData(reinterpret_cast<const uchar*>(content.bytes.data()),
                                                        static_cast<int>(content.bytes.size()))) {
                error = "cannot read the image " + path.string() +
                        (content.Read() ? ": not an image" : ": " + ReasonOf(content.refusal));
                return false;
            }
            document.addResource(QTextDocument::ImageResource, QUrl(name), image);
            added.insert(name);
        }
    }
    return true;
}

// Tables with single thin rules and a shaded header row, as in print.
void StyleTables(QTextDocument& document) {
    const QColor rule(0x99, 0x99, 0x99);
    for (QTextFrame* frame : document.rootFrame()->childFrames()) {
        auto* table = qobject_cast<QTextTable*>(frame);
        if (table == nullptr) continue;
        QTextTableFormat format = table->format();
        format.setBorderCollapse(true);
        format.setBorder(kRuleWidth);
        format.setBorderBrush(rule);
        format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
        format.setCellSpacing(0);
        format.setCellPadding(3);
        table->setFormat(format);
        for (int row = 0; row < table->rows(); ++row) {
            for (int column = 0; column < table->columns(); ++column) {
                QTextTableCell cell = table->cellAt(row, column);
                QTextTableCellFormat cellFormat = cell.format().toTableCellFormat();
                cellFormat.setBorder(kRuleWidth);
                cellFormat.setBorderBrush(rule);
                cellFormat.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
                if (row == 0) cellFormat.setBackground(QColor(0xEE, 0xEE, 0xEE));
                cell.setFormat(cellFormat);
            }
        }
    }
}

// Code in a smaller size, so that a command line fits the page's width.
void ShrinkCode(QTextDocument& document) {
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().fontFixedPitch()) continue;
            QTextCharFormat smaller;
            smaller.setFontPointSize(kCodePointSize);
            QTextCursor cursor(&document);
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.mergeCharFormat(smaller);
        }
    }
}

}  // namespace

std::unique_ptr<QTextDocument> LoadManual(const std::string& markdownPath, std::string& error) {
    const FileContent content = ReadBoundedFile(markdownPath, kMarkdownLimit);
    if (!content.Read()) {
        error = "cannot read " + markdownPath + ": " + ReasonOf(content.refusal);
        return nullptr;
    }
    const QString text = QString::fromUtf8(content.bytes.data(), static_cast<qsizetype>(content.bytes.size()));

    const bool cjkInstalled = QFontDatabase::families().contains(QString::fromLatin1(kCjkFontFamily));
    if (HasCjk(text) && !cjkInstalled) {
        error = std::string("the Chinese text needs the font \"") + kCjkFontFamily +
                "\", which is not installed (Debian package fonts-wqy-microhei)";
        return nullptr;
    }
    // Latin letters in the usual sans font, Chinese in the CJK font.
    QFont font;
    QStringList families = {QStringLiteral("DejaVu Sans")};
    if (cjkInstalled) families.append(QString::fromLatin1(kCjkFontFamily));
    font.setFamilies(families);
    font.setPointSizeF(kBodyPointSize);

    auto document = std::make_unique<QTextDocument>();
    document->setDefaultFont(font);
    document->setMarkdown(text, QTextDocument::MarkdownDialectGitHub);
    if (!AddImages(*document, std::filesystem::path(markdownPath).parent_path(), error)) return nullptr;
    StyleTables(*document);
    ShrinkCode(*document);
    return document;
}

}  // namespace quenlix
