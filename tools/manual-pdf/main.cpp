#include <QGuiApplication>
#include <iostream>
#include <string>
#include <vector>

#include "ManualPdfCommand.h"

// Runs at build time, where there may be no display: always offscreen.
int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    int qtArgc = 3;
    char name[] = "manual-pdf";
    char platformOption[] = "-platform";
    char platform[] = "offscreen";
    char* qtArgv[] = {name, platformOption, platform, nullptr};
    QGuiApplication app(qtArgc, qtArgv);
    return quenlix::RunManualPdf(args, std::cout, std::cerr);
}
