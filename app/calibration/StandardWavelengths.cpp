#include "StandardWavelengths.h"

#include <filesystem>
#include <system_error>

#include "ReplaceFile.h"
#include "SettingsPath.h"
#include "ShippedFile.h"
#include "Utf16File.h"

namespace quenlix {
namespace {
// A list of lamp lines is a few hundred bytes; far larger is no such file.
constexpr std::size_t kFileLimit = 1 << 20;
}  // namespace

QString ReadStandardWavelengthText() {
    std::string path = SettingsPath(kStandardWavelengthFile);
    // Only a missing file gives way to the example; one that is there but
    // refused is the user's, and an empty list tells them so.
    std::error_code error;
    if (std::filesystem::symlink_status(path, error).type() == std::filesystem::file_type::not_found)
        path = FindShippedFile(kStandardWavelengthExample, ShippedKind::Data).found;
    if (path.empty()) return {};
    return ReadUtf16File(path, kFileLimit).value_or(QString());
}

bool WriteStandardWavelengthText(const QString& text) {
    return WriteFileReplacing(SettingsPathForWrite(kStandardWavelengthFile), Utf16FileBytes(text));
}

QStringList ScanStandardWavelengths(const QString& text) {
    QStringList entries;
    QString run;
    for (const QChar ch : text) {
        if ((ch >= u'0' && ch <= u'9') || ch == u'.') {
            run += ch;
        } else if (!run.isEmpty()) {
            entries += run;
            run.clear();
        }
    }
    if (!run.isEmpty()) entries += run;
    return entries;
}

}  // namespace quenlix
