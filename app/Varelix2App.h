#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

#include "Varelix2Dlg.h"

namespace quenlix {

// The program as a whole: the excitation wavelength file, the
// single-instance guard, the line colours and the main window.
class CVarelix2App {
public:
    // The guard's lock file in the user's runtime folder, named by the
    // program's fixed identifier.
    static QString DefaultLockPath();

    // Reads "Config\Excitation Wavelength.bin" and takes the desktop's
    // button face colour as the chart background.
    explicit CVarelix2App(const QString& lockPath = DefaultLockPath());
    // Closes the main window and its devices; when this instance ran,
    // writes the excitation wavelength back.
    ~CVarelix2App();

    // False when another instance runs (after telling the user) — the
    // process then ends. Otherwise the main window is up and shown.
    bool InitInstance();
    CVarelix2Dlg* MainWindow() const { return mainWindow_.get(); }

private:
    QLockFile guard_;
    bool running_ = false;
    std::unique_ptr<CVarelix2Dlg> mainWindow_;
};

}  // namespace quenlix
