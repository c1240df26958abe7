#include <QApplication>
#include <QIcon>
#include <cstdio>

#include "CommandLine.h"
#include "Kestrion.h"
#include "SettingsPath.h"
#include "TerminationSignals.h"
#include "Varelix2App.h"

int main(int argc, char** argv) {
    using quenlix::CommandLine;
    const CommandLine options = quenlix::ParseCommandLine(argc, argv);
    // Before anything reads a setting, and before --help tells the folder.
    quenlix::ChooseSettingsFolder(options.settingsFolder);
    switch (options.action) {
        case CommandLine::Action::Help:
            std::fputs(quenlix::UsageText(argv[0]).c_str(), stdout);
            return 0;
        case CommandLine::Action::Version:
            std::printf("quenlix %s\n", QUENLIX_VERSION);
            return 0;
        case CommandLine::Action::Error:
            std::fprintf(stderr, "quenlix: %s\nTry 'quenlix --help'.\n", options.error.c_str());
            return 2;
        case CommandLine::Action::Run:
            break;
    }
    if (!quenlix::FindsWindowSystem(options)) {
        std::fputs(quenlix::kNoDisplayText, stderr);
        return 1;
    }
    if (options.simulatedDevices > 0) {
        UseSimulatedSpectrometers(options.simulatedDevices, options.firstSimulatedMiscalibrated, options.scenes);
    } else {
        UseUsbSpectrometers();
    }
    QApplication application(argc, argv);
    // The desktop entry and the installed icon go by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral(QUENLIX_APP_ID));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral(QUENLIX_APP_ID)));
    quenlix::CVarelix2App app;
    // Ended from outside, the program closes its window as the close box
    // does; before the window exists it just leaves the event loop.
    const quenlix::TerminationSignals endRequests([&app] {
        if (app.MainWindow()) {
            app.MainWindow()->close();
        } else {
            QCoreApplication::quit();
        }
    });
    if (!app.InitInstance()) return 0;
    return application.exec();
}
