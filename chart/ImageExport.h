#pragma once

#include <QImage>
#include <string>

// Writes the image to path in the format its extension names, compared
// without regard to case: .jpg, .jpeg, .bmp, .png. Any other extension, or
// none, writes nothing. Returns whether a file was written; a file that
// cannot be written whole leaves what was there.
bool SaveChartImage(const QImage& image, const std::wstring& path);
