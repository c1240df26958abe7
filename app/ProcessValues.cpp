#include "ProcessValues.h"

#include <QApplication>
#include <QPalette>

namespace quenlix {

int languageIndex = 2;
std::uint32_t chartBackgroundColor = 0;  // set from the desktop at start-up
std::uint32_t chartAxisColor = 0;
std::uint32_t chartGridColor = 0xAAAA;
std::uint32_t chartTextColor = 0;
double excitationWavelengthSetting = 785.0;
MessageTargets messageTargets;

std::uint32_t SystemButtonFaceColor() {
    const QColor face = QApplication::palette().color(QPalette::Button);
    return static_cast<std::uint32_t>(face.red() | (face.green() << 8) | (face.blue() << 16));
}

}  // namespace quenlix
