// quenlix-icon-render SVG PNG SIZE: draws an SVG icon into a square PNG of
// SIZE pixels, for the icon theme's fixed-size folders. The build runs it
// with QT_QPA_PLATFORM=offscreen.
#include <QBuffer>
#include <QByteArray>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <charconv>
#include <cstdio>
#include <cstring>

#include "BoundedFile.h"
#include "ReplaceFile.h"

namespace {

constexpr std::size_t kLargestSvg = 1 << 20;
constexpr int kLargestSize = 1024;

int Fail(const char* what, const char* path) {
    std::fprintf(stderr, "quenlix-icon-render: %s: %s\n", path, what);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    if (argc != 4) {
        std::fputs("Usage: quenlix-icon-render SVG PNG SIZE\n", stderr);
        return 1;
    }
    int size = 0;
    const char* sizeEnd = argv[3] + std::strlen(argv[3]);
    const auto [stop, fault] = std::from_chars(argv[3], sizeEnd, size);
    if (fault != std::errc() || stop != sizeEnd || size < 1 || size > kLargestSize)
        return Fail("the size is a whole number of pixels from 1 to 1024", argv[3]);

    const quenlix::FileContent svg = quenlix::ReadBoundedFile(argv[1], kLargestSvg);
    if (!svg.Read()) return Fail("cannot be read", argv[1]);
    QSvgRenderer renderer(QByteArray::fromStdString(svg.bytes));
    if (!renderer.isValid()) return Fail("is no SVG image", argv[1]);

    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    painter.end();

    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG") || !quenlix::WriteFileReplacing(argv[2], png.toStdString()))
        return Fail("cannot be written", argv[2]);
    return 0;
}
