#include "ImageExport.h"

#include <QFileInfo>
#include <QString>

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
    return format != nullptr && image.save(file, format);
}
