#include "ManualPages.h"

#include <QAbstractTextDocumentLayout>
#include <QPageLayout>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextFrame>
#include <QTextImageFormat>
#include <QTextLayout>
#include <QTextList>
#include <QUrl>
#include <algorithm>
#include <cmath>
#include <vector>

#include "ReplaceFile.h"

namespace quenlix {
namespace {

constexpr int kResolution = 300;  // dots per inch of the layout and the PDF
constexpr double kCssDpi = 96.0;
constexpr double kSideMarginMm = 20;
constexpr double kTopMarginMm = 18;
constexpr double kBottomMarginMm = 22;
constexpr double kFooterFromBottomMm = 12;
constexpr double kFooterPointSize = 9;
constexpr double kMostOfPage = 0.6;  // the tallest an image may be, of the text height

double Dots(double mm) { return mm / 25.4 * kResolution; }
// Frame margins and image sizes of a document are in 96-dpi pixels, scaled
// to the device it is laid out on.
double CssPixels(double mm) { return mm / 25.4 * kCssDpi; }

void SetUpWriter(QPdfWriter& writer) {
    writer.setResolution(kResolution);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
}

// How far a block is indented, in 96-dpi pixels.
double IndentOf(const QTextBlock& block) {
    const QTextBlockFormat format = block.blockFormat();
    double indent = format.leftMargin() + format.indent() * block.document()->indentWidth();
    if (block.textList() != nullptr) indent += block.textList()->format().indent() * block.document()->indentWidth();
    return indent;
}

// The top of a block's first line, in document coordinates.
double FirstLineTop(QTextDocument& document, const QTextBlock& block) {
    const QRectF rect = document.documentLayout()->blockBoundingRect(block);
    const QTextLayout* layout = block.layout();
    if (layout == nullptr || layout->lineCount() == 0) return rect.top();
    return rect.top() + layout->lineAt(0).y();
}

}  // namespace

ManualPages::ManualPages(QTextDocument& document) : document_(document), metrics_(&unusedOutput_) {
    SetUpWriter(metrics_);
    pageWidth_ = metrics_.width();
    pageHeight_ = metrics_.height();
    textWidth_ = pageWidth_ - 2 * Dots(kSideMarginMm);
    textHeight_ = pageHeight_ - Dots(kTopMarginMm) - Dots(kBottomMarginMm);

    document_.setDocumentMargin(0);
    document_.documentLayout()->setPaintDevice(&metrics_);
    QTextFrameFormat frame = document_.rootFrame()->frameFormat();
    frame.setLeftMargin(CssPixels(kSideMarginMm));
    frame.setRightMargin(CssPixels(kSideMarginMm));
    frame.setTopMargin(CssPixels(kTopMarginMm));
    frame.setBottomMargin(CssPixels(kBottomMarginMm));
    document_.rootFrame()->setFrameFormat(frame);
    document_.setPageSize(QSizeF(pageWidth_, pageHeight_));
    FitImages();
    LayOutAfresh();
    KeepHeadingsWithText();
}

ManualPages::~ManualPages() { document_.documentLayout()->setPaintDevice(nullptr); }

void ManualPages::LayOutAfresh() {
    // A format changed after layout is laid out again incrementally, which
    // can leave later blocks without lines (so unprinted); setting the page
    // size lays out the whole document anew.
    document_.setPageSize(document_.pageSize());
    document_.pageCount();
}

int ManualPages::PageCount() const { return document_.pageCount(); }

void ManualPages::FitImages() {
    const double widest = textWidth_ * kCssDpi / kResolution;
    // Each image with the room its block's indentation leaves (a picture
    // under a list item), all taken before any size changes.
    struct Placed {
        int position;
        int length;
        QTextImageFormat format;
        double widest;  // in 96-dpi pixels
    };
    std::vector<Placed> images;
    for (QTextBlock block = document_.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (!it.fragment().charFormat().isImageFormat()) continue;
            images.push_back({it.fragment().position(), it.fragment().length(),
                              it.fragment().charFormat().toImageFormat(), widest - IndentOf(block)});
        }
    }
    const double tallest = textHeight_ * kMostOfPage * kCssDpi / kResolution;
    for (const Placed& placed : images) {
        QTextImageFormat format = placed.format;
        const QImage image = document_.resource(QTextDocument::ImageResource, QUrl(format.name())).value<QImage>();
        if (image.isNull()) continue;
        const double scale = std::min({1.0, placed.widest / image.width(), tallest / image.height()});
        format.setWidth(image.width() * scale);
        format.setHeight(image.height() * scale);
        QTextCursor cursor(&document_);
        cursor.setPosition(placed.position);
        cursor.setPosition(placed.position + placed.length, QTextCursor::KeepAnchor);
        cursor.setCharFormat(format);
    }
}

void ManualPages::KeepHeadingsWithText() {
    for (QTextBlock block = document_.begin(); block.isValid(); block = block.next()) {
        const QTextBlock next = block.next();
        if (block.blockFormat().headingLevel() == 0 || !next.isValid()) continue;
        const int headingPage = static_cast<int>(FirstLineTop(document_, block) / pageHeight_);
        const int textPage = static_cast<int>(FirstLineTop(document_, next) / pageHeight_);
        if (headingPage == textPage) continue;
        QTextBlockFormat format;
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        QTextCursor(block).mergeBlockFormat(format);
        LayOutAfresh();
    }
}

void ManualPages::PaintPage(QPainter& painter, int index) const {
    painter.save();
    const QRectF page(0, index * pageHeight_, pageWidth_, pageHeight_);
    painter.translate(0, -page.top());
    painter.setClipRect(page);
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = page;
    context.palette.setColor(QPalette::Text, Qt::black);
    document_.documentLayout()->draw(&painter, context);
    painter.restore();

    // Sized in dots of the layout, so it scales with the page on any device.
    QFont font = document_.defaultFont();
    font.setPixelSize(static_cast<int>(std::lround(kFooterPointSize * kResolution / 72.0)));
    painter.setFont(font);
    painter.setPen(Qt::darkGray);
    const double footerTop = pageHeight_ - Dots(kFooterFromBottomMm);
    painter.drawText(QRectF(0, footerTop, pageWidth_, Dots(kFooterFromBottomMm)), Qt::AlignHCenter | Qt::AlignTop,
                     QStringLiteral("%1 / %2").arg(index + 1).arg(PageCount()));
}

bool ManualPages::WritePdf(const std::string& path, const QString& title, std::string& error) const {
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        SetUpWriter(writer);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Quenlix"));
        QPainter painter(&writer);
        for (int index = 0; index < PageCount(); ++index) {
            if (index > 0) writer.newPage();
            PaintPage(painter, index);
        }
    }
    const QByteArray& bytes = pdf.data();
    if (!WriteFileReplacing(path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())))) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

QImage ManualPages::PageImage(int page, int dpi) const {
    const double scale = static_cast<double>(dpi) / kResolution;
    QImage image(static_cast<int>(std::lround(pageWidth_ * scale)), static_cast<int>(std::lround(pageHeight_ * scale)),
                 QImage::Format_RGB32);
    const int dotsPerMeter = static_cast<int>(std::lround(dpi / 0.0254));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    painter.scale(scale, scale);
    PaintPage(painter, page - 1);
    return image;
}

}  // namespace quenlix
