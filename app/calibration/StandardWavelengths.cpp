#include "StandardWavelengths.h"

#include "ReplaceFile.h"
#include "SettingsPath.h"
#include "Utf16File.h"

namespace quenlix {
namespace {
// A list of lamp lines is a few hundred bytes; far larger is no such file.
constexpr std::size_t kFileLimit = 1 << 20;
}  // namespace

QString ReadStandardWavelengthText() {
    return ReadUtf16File(SettingsPath(kStandardWavelengthFile), kFileLimit).value_or(QString());
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
