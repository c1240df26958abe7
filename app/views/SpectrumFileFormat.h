#pragma once

#include <QString>

namespace quenlix {

enum class SpectrumFileFormat { Text, Csv, JcampDx };

// By the name's extension, as the save dialog adds the chosen filter's one:
// .csv, .jdx and .dx (in any case) are the exports, anything else the text files.
SpectrumFileFormat FormatOfFileName(const QString& path);

}  // namespace quenlix
