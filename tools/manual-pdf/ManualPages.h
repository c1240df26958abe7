#pragma once

#include <QBuffer>
#include <QImage>
#include <QPdfWriter>
#include <QString>
#include <QTextDocument>
#include <string>

namespace quenlix {

// A manual's A4 pages. The document is laid out once, on the resolution of
// the PDF, and each page is painted from that one layout into the PDF or
// into an image, so a page image shows exactly the page of the PDF. Images
// wider than the text (or taller than most of a page) are shrunk to fit,
// and a heading never ends a page without the text it heads.
class ManualPages {
public:
    // Takes over the document's layout; the document must outlive this.
    explicit ManualPages(QTextDocument& document);
    ~ManualPages();  // hands the document's layout back to the screen

    int PageCount() const;

    // The whole manual as a PDF with page numbers in the footer. False with
    // error set when the file cannot be written.
    bool WritePdf(const std::string& path, const QString& title, std::string& error) const;

    // One page (counted from 1) drawn at dpi dots per inch on white.
    QImage PageImage(int page, int dpi) const;

private:
    void FitImages();
    void LayOutAfresh();
    void KeepHeadingsWithText();
    void PaintPage(QPainter& painter, int index) const;

    QTextDocument& document_;
    QBuffer unusedOutput_;
    QPdfWriter metrics_;  // the device the text is measured on
    double pageWidth_ = 0;
    double pageHeight_ = 0;
    double textWidth_ = 0;
    double textHeight_ = 0;
};

}  // namespace quenlix
