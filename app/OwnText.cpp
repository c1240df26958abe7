#include "OwnText.h"

#include "ProcessValues.h"

namespace quenlix {

QString OwnText(const OwnTextRow& row) {
    const int column = languageIndex == 0 || languageIndex == 1 ? languageIndex : 2;
    return QString::fromWCharArray(row[column]);
}

}  // namespace quenlix
