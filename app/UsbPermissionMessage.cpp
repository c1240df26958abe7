#include "UsbPermissionMessage.h"

#include <QStringList>
#include <QTimer>
#include <QVariant>
#include <QWidget>

#include "Lexora.h"
#include "Prompts.h"
#include "UiText.h"
#include "UdevRule.h"
#include "UsbTexts.h"

namespace quenlix {
namespace {

// The owner's property that is true while its message is queued or open.
constexpr const char* kPending = "usbPermissionMessagePending";

void Tell(QWidget* owner, const QStringList& devices) {
    const QString dialogPath =
        Text(strMainMenu_Device) + QStringLiteral(" > ") + OwnText(usbMenu_Spectrometers);
    const QString text = OwnText(usbPermission_Text)
                             .arg(devices.join(QLatin1Char('\n')), QLatin1String(kUdevRulesFile), dialogPath,
                                  UdevInstallCommands());
    CurrentPrompts().MessageBox(owner, text, OwnText(usbPermission_Caption), Prompts::Buttons::Ok);
}

}  // namespace

void TellInaccessibleSpectrometers(QWidget* owner, const std::vector<std::string>& devices) {
    if (devices.empty() || owner->property(kPending).toBool()) return;
    QStringList lines;
    for (const std::string& device : devices) lines << QString::fromStdString(device);
    // Kept on the owner, so a window that closes first leaves nothing behind.
    owner->setProperty(kPending, true);
    QTimer::singleShot(0, owner, [owner, lines] {
        Tell(owner, lines);
        owner->setProperty(kPending, false);
    });
}

}  // namespace quenlix
