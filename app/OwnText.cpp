#include "OwnText.h"

#include "ProcessValues.h"

namespace quenlix {

QString OwnText(const OwnTextRow& row) {
    const int column = languageIndex == 0 || languageIndex == 1 ? languageIndex : 2;
    return QString::fromWCharArray(row[column]);
}

QString FixedTextExplained(const OwnTextRow& row) {
    const QString fixed = QString::fromWCharArray(row[0]);
    return languageIndex == 0 ? fixed : fixed + u'\n' + OwnText(row);
}

}  // namespace quenlix
