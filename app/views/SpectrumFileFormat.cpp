#include "SpectrumFileFormat.h"

#include <QFileInfo>

namespace quenlix {

SpectrumFileFormat FormatOfFileName(const QString& path) {
    const QString extension = QFileInfo(path).suffix().toLower();
    if (extension == QLatin1String("csv")) return SpectrumFileFormat::Csv;
    if (extension == QLatin1String("jdx") || extension == QLatin1String("dx"))
        return SpectrumFileFormat::JcampDx;
    return SpectrumFileFormat::Text;
}

}  // namespace quenlix
