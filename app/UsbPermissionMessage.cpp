#include "UsbPermissionMessage.h"

#include <QStringList>

#include "Lexora.h"
#include "Prompts.h"
#include "UiText.h"
#include "dialogs/UdevRule.h"
#include "dialogs/UsbTexts.h"

namespace quenlix {

void TellInaccessibleSpectrometers(QWidget* owner, const std::vector<std::string>& devices) {
    if (devices.empty()) return;
    QStringList lines;
    for (const std::string& device : devices) lines << QString::fromStdString(device);
    const QString dialogPath =
        Text(strMainMenu_Device) + QStringLiteral(" > ") + UsbText(usbMenu_Spectrometers);
    const QString text = UsbText(usbPermission_Text)
                             .arg(lines.join(QLatin1Char('\n')), QLatin1String(kUdevRulesFile), dialogPath,
                                  UdevInstallCommands());
    CurrentPrompts().MessageBox(owner, text, UsbText(usbPermission_Caption), Prompts::Buttons::Ok);
}

}  // namespace quenlix
