#include "ImageExport.h"

#include <QBuffer>
#include <QByteArray>
#include <QFileInfo>
#include <QString>
#include <string_view>

#include "ReplaceFile.h"

bool SaveChartImage(const QImage& image, const std::wstring& path) {
    const QString file = QString::fromStdWString(path);
    const QString extension = QFileInfo(file).suffix().toLower();
    const char* format = nullptr;
    if (extension == QLatin1String("jpg") || extension == QLatin1String("jpeg")) {
        format = "JPG";
    } else if (extension == QLatin1String("bmp")) {
        format = "BMP";
    } else if (extension == QLatin1String("png")) {
        format = "PNG";
    }
    if (format == nullptr) return false;
    // Encoded in memory first, so the file is replaced whole or not at all.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, format)) return false;
    return quenlix::WriteFileReplacing(file.toStdString(),
                                       std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
}
