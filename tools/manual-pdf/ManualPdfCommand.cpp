#include "ManualPdfCommand.h"

#include <QBuffer>
#include <QTextBlock>
#include <charconv>
#include <filesystem>

#include "ManualDocument.h"
#include "ManualPages.h"
#include "ReplaceFile.h"

namespace quenlix {
namespace {

constexpr int kFailed = 1;
constexpr int kBadArguments = 2;
constexpr const char* kUsage =
    "usage: manual-pdf INPUT.md OUTPUT.pdf [--png-pages 1,5 --png-out DIR [--png-dpi N]]\n";

struct Arguments {
    std::string input;
    std::string output;
    std::vector<int> pngPages;
    std::string pngFolder;
    int pngDpi = 100;
};

bool ParseNumber(const std::string& text, int low, int high, int& value) {
    const char* end = text.data() + text.size();
    const auto [last, failure] = std::from_chars(text.data(), end, value);
    return failure == std::errc() && last == end && value >= low && value <= high;
}

bool ParsePages(const std::string& list, std::vector<int>& pages) {
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t comma = std::min(list.find(',', start), list.size());
        int page = 0;
        if (!ParseNumber(list.substr(start, comma - start), 1, 100000, page)) return false;
        pages.push_back(page);
        start = comma + 1;
    }
    return !pages.empty();
}

bool Parse(const std::vector<std::string>& args, Arguments& parsed, std::string& error) {
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool takesValue = arg == "--png-pages" || arg == "--png-out" || arg == "--png-dpi";
        if (!takesValue) {
            if (arg.starts_with("--")) {
                error = "unknown option " + arg;
                return false;
            }
            positional.push_back(arg);
            continue;
        }
        if (i + 1 == args.size()) {
            error = arg + " needs a value";
            return false;
        }
        const std::string& value = args[++i];
        if (arg == "--png-pages" && !ParsePages(value, parsed.pngPages)) {
            error = "--png-pages takes page numbers separated by commas, not " + value;
            return false;
        }
        if (arg == "--png-dpi" && !ParseNumber(value, 20, 600, parsed.pngDpi)) {
            error = "--png-dpi takes 20 to 600, not " + value;
            return false;
        }
        if (arg == "--png-out") parsed.pngFolder = value;
    }
    if (positional.size() != 2) {
        error = "expected an input Markdown file and an output PDF file";
        return false;
    }
    if (parsed.pngPages.empty() != parsed.pngFolder.empty()) {
        error = "--png-pages and --png-out go together";
        return false;
    }
    parsed.input = positional[0];
    parsed.output = positional[1];
    return true;
}

// The text of the first heading, for the PDF's title.
QString TitleOf(const QTextDocument& document) {
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        if (block.blockFormat().headingLevel() > 0) return block.text();
    return {};
}

bool WritePagePngs(const ManualPages& pages, const Arguments& args, std::ostream& out, std::string& error) {
    const std::string stem = std::filesystem::path(args.input).stem().string();
    for (const int page : args.pngPages) {
        if (page > pages.PageCount()) {
            error = "there is no page " + std::to_string(page) + ": the manual has " +
                    std::to_string(pages.PageCount());
            return false;
        }
        QBuffer png;
        png.open(QIODevice::WriteOnly);
        pages.PageImage(page, args.pngDpi).save(&png, "PNG");
        const std::string path =
            (std::filesystem::path(args.pngFolder) / (stem + "-page-" + std::to_string(page) + ".png")).string();
        const QByteArray& bytes = png.data();
        if (!WriteFileReplacing(path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())))) {
            error = "cannot write " + path;
            return false;
        }
        out << path << "\n";
    }
    return true;
}

}  // namespace

int RunManualPdf(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Arguments parsed;
    std::string error;
    if (!Parse(args, parsed, error)) {
        err << "manual-pdf: " << error << "\n" << kUsage;
        return kBadArguments;
    }
    const std::unique_ptr<QTextDocument> document = LoadManual(parsed.input, error);
    if (!document) {
        err << "manual-pdf: " << error << "\n";
        return kFailed;
    }
    const ManualPages pages(*document);
    if (!pages.WritePdf(parsed.output, TitleOf(*document), error) ||
        (!parsed.pngPages.empty() && !WritePagePngs(pages, parsed, out, error))) {
        err << "manual-pdf: " << error << "\n";
        return kFailed;
    }
    return 0;
}

}  // namespace quenlix
