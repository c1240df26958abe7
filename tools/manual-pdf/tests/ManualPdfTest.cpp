#include <gtest/gtest.h>

#include <QAbstractTextDocumentLayout>
#include <QFontDatabase>
#include <QImage>
#include <QTextBlock>
#include <QTextLayout>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "ManualDocument.h"
#include "ManualPages.h"
#include "ManualPdfCommand.h"

namespace fs = std::filesystem;

namespace {

constexpr QRgb kMagenta = qRgb(255, 0, 255);

std::string Slurp(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void WriteText(const fs::path& file, const std::string& text) { std::ofstream(file, std::ios::binary) << text; }

// Long enough for several pages, with Chinese text and, when asked, a wide
// magenta image from its own folder.
void WriteSample(const fs::path& file, bool withImage) {
    std::string text = "# 样例手册 Sample\n\n";
    if (withImage) text += "![wide](images/wide.png)\n\n";
    for (int i = 0; i < 120; ++i)
        text += "Paragraph " + std::to_string(i) + ": 光谱仪分析软件 reads spectra, stores dark and reference.\n\n";
    WriteText(file, text);
}

int RunTool(const std::vector<std::string>& args, std::string* errors = nullptr) {
    std::ostringstream out, err;
    const int status = quenlix::RunManualPdf(args, out, err);
    if (errors != nullptr) *errors = err.str();
    return status;
}

class ManualPdf : public ::testing::Test {
protected:
    void SetUp() override {
        if (!QFontDatabase::families().contains(QString::fromLatin1(quenlix::kCjkFontFamily)))
            GTEST_SKIP() << "the CJK font is not installed (fonts-wqy-microhei)";
        fs::create_directory("images");
        QImage wide(2400, 200, QImage::Format_RGB32);
        wide.fill(kMagenta);
        ASSERT_TRUE(wide.save("images/wide.png"));
    }
};

// A wide image in the sample is embedded in the PDF and shrunk to the text
// width on the page; the Chinese text is set in the CJK font.
TEST_F(ManualPdf, RendersPagesWithTheImageAndTheChineseFont) {
    WriteSample("with.md", true);
    WriteSample("without.md", false);
    fs::create_directory("pages");
    ASSERT_EQ(RunTool({"with.md", "with.pdf", "--png-pages", "1,2", "--png-out", "pages", "--png-dpi", "50"}), 0);
    ASSERT_EQ(RunTool({"without.md", "without.pdf"}), 0);

    const std::string pdf = Slurp("with.pdf");
    EXPECT_TRUE(pdf.starts_with("%PDF-"));
    EXPECT_NE(pdf.find("WenQuanYi"), std::string::npos) << "the Chinese text is not in the CJK font";
    EXPECT_GT(pdf.size(), Slurp("without.pdf").size() + 1000) << "the image is not embedded";

    const QImage first("pages/with-page-1.png");
    ASSERT_FALSE(first.isNull());
    EXPECT_TRUE(fs::exists("pages/with-page-2.png"));
    int left = first.width(), right = -1;
    for (int y = 0; y < first.height(); ++y)
        for (int x = 0; x < first.width(); ++x)
            if (first.pixel(x, y) == kMagenta) left = std::min(left, x), right = std::max(right, x);
    ASSERT_GE(right, 0) << "the image is not on the first page";
    // 20 mm margins at 50 dpi are 39 dots; the image fills the text width.
    EXPECT_NEAR(left, 39, 2);
    EXPECT_NEAR(right, first.width() - 40, 2);

    std::string errors;
    EXPECT_EQ(RunTool({"with.md", "again.pdf", "--png-pages", "99", "--png-out", "pages"}, &errors), 1);
    EXPECT_NE(errors.find("no page 99"), std::string::npos) << errors;
}

TEST_F(ManualPdf, LongTextHasSeveralPagesAndNoHeadingEndsAPage) {
    WriteSample("long.md", false);
    std::string error;
    const auto document = quenlix::LoadManual("long.md", error);
    ASSERT_TRUE(document) << error;
    const quenlix::ManualPages pages(*document);
    EXPECT_GE(pages.PageCount(), 3);

    // Shrinking an image must not leave the text after it unlaid (and so unprinted).
    WriteSample("image.md", true);
    const auto withImage = quenlix::LoadManual("image.md", error);
    ASSERT_TRUE(withImage) << error;
    const quenlix::ManualPages imagePages(*withImage);
    for (QTextBlock block = withImage->begin(); block.isValid(); block = block.next())
        EXPECT_GT(block.layout()->lineCount(), 0) << block.text().toStdString();

    // Some count of lines before it brings the heading to the foot of a page.
    for (int lines = 40; lines < 100; ++lines) {
        std::string text;
        for (int i = 0; i < lines; ++i) text += "Line " + std::to_string(i) + "\n\n";
        WriteText("heading.md", text + "## Heading\n\nThe text under the heading.\n");
        const auto doc = quenlix::LoadManual("heading.md", error);
        ASSERT_TRUE(doc) << error;
        const quenlix::ManualPages laidOut(*doc);
        const QTextBlock heading = doc->lastBlock().previous();
        ASSERT_EQ(heading.text(), "Heading");
        const double pageHeight = doc->pageSize().height();
        const auto pageOf = [&](const QTextBlock& block) {
            const double top = doc->documentLayout()->blockBoundingRect(block).top() + block.layout()->lineAt(0).y();
            return static_cast<int>(top / pageHeight);
        };
        EXPECT_EQ(pageOf(heading), pageOf(doc->lastBlock())) << lines << " lines before the heading";
    }
}

TEST(ManualPdfArguments, MissingFilesAndBadArgumentsAreRefused) {
    std::string errors;
    EXPECT_EQ(RunTool({"absent.md", "out.pdf"}, &errors), 1);
    EXPECT_NE(errors.find("cannot read absent.md"), std::string::npos) << errors;
    EXPECT_FALSE(fs::exists("out.pdf"));

    WriteText("broken.md", "# Title\n\n![gone](images/gone.png)\n");
    EXPECT_EQ(RunTool({"broken.md", "out.pdf"}, &errors), 1);
    EXPECT_NE(errors.find("images/gone.png"), std::string::npos) << errors;
    EXPECT_FALSE(fs::exists("out.pdf"));

    WriteText("fine.md", "# Title\n");
    EXPECT_EQ(RunTool({"fine.md", "no-such-folder/out.pdf"}, &errors), 1);
    EXPECT_NE(errors.find("cannot write"), std::string::npos) << errors;
    EXPECT_EQ(RunTool({"fine.md"}, &errors), 2);
    EXPECT_EQ(RunTool({"fine.md", "out.pdf", "--png-pages", "1,x", "--png-out", "."}, &errors), 2);
    EXPECT_EQ(RunTool({"fine.md", "out.pdf", "--png-pages", "1"}, &errors), 2);
    EXPECT_EQ(RunTool({"fine.md", "out.pdf", "--colour"}, &errors), 2);
}

}  // namespace
