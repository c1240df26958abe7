#include "SaveFailureMessage.h"

#include "Lexora.h"
#include "Prompts.h"
#include "SettingsPath.h"
#include "UiText.h"

namespace quenlix {

void TellSaveFailure(QWidget* owner, const char* settingsName) {
    const QString text = Text(strMainDlg_SpectrumRegion_SetStandardWavelength_SaveNotOk) + QStringLiteral("\n") +
                         QString::fromStdString(SettingsPath(settingsName));
    CurrentPrompts().MessageBox(owner, text, Text(strGeneral_MsgboxPrompt), Prompts::Buttons::Ok);
}

}  // namespace quenlix
