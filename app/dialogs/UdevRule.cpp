#include "UdevRule.h"

namespace quenlix {

QString UdevRuleLine(uint16_t vendor, uint16_t product) {
    return QStringLiteral(
               "SUBSYSTEM==\"usb\", ATTRS{idVendor}==\"%1\", ATTRS{idProduct}==\"%2\", MODE=\"0660\", "
               "GROUP=\"plugdev\", TAG+=\"uaccess\"")
        .arg(vendor, 4, 16, QLatin1Char('0'))
        .arg(product, 4, 16, QLatin1Char('0'));
}

QString UdevInstallCommands() {
    return QStringLiteral(
               "sudo cp %1 /etc/udev/rules.d/\nsudo udevadm control --reload-rules && sudo udevadm trigger")
        .arg(QLatin1String(kUdevRulesFile));
}

}  // namespace quenlix
