#include "UsbTexts.h"

#include "ProcessValues.h"

namespace quenlix {

QString UsbText(const UsbTextRow& row) {
    const int column = languageIndex == 0 || languageIndex == 1 ? languageIndex : 2;
    return QString::fromWCharArray(row[column]);
}

}  // namespace quenlix
