#include "Varelix2App.h"

#include <QStandardPaths>
#include <cstdio>

#include "LineColorList.h"
#include "Lexora.h"
#include "Prompts.h"
#include "ProcessValues.h"
#include "SettingsFiles.h"
#include "SettingsPath.h"
#include "UiText.h"

namespace quenlix {

QString CVarelix2App::DefaultLockPath() {
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) +
           QStringLiteral("/{6F1C2B7E-3A94-4D58-9E21-7C0B5A1D8E43}.lock");
}

CVarelix2App::CVarelix2App(const QString& lockPath) : guard_(lockPath) {
    chartBackgroundColor = SystemButtonFaceColor();
    excitationWavelengthSetting = ReadExcitationWavelengthFile(excitationWavelengthSetting);
}

CVarelix2App::~CVarelix2App() {
    mainWindow_.reset();
    // A refused second instance leaves the running one's file alone. The
    // window is gone (and a signal may be closing the program): say it on
    // standard error rather than in a box nobody may be there to close.
    if (running_ && !WriteExcitationWavelengthFile(excitationWavelengthSetting)) {
        std::fprintf(stderr, "quenlix: could not save %s\n", SettingsPath(kExcitationFile).c_str());
    }
}

bool CVarelix2App::InitInstance() {
    guard_.setStaleLockTime(0);  // only a lock whose process has died is stale
    if (!guard_.tryLock(0)) {
        // The language file is not read yet: the text is in the initial language.
        CurrentPrompts().MessageBox(nullptr, Text(strMainDlg_AppRepeatOpen), Text(strGeneral_MsgboxPrompt),
                                    Prompts::Buttons::Ok);
        return false;
    }
    running_ = true;
    LoadLineColorList();
    mainWindow_ = std::make_unique<CVarelix2Dlg>();
    mainWindow_->Start();
    return true;
}

}  // namespace quenlix
