#pragma once

class QWidget;

namespace quenlix {

// Tells the person at the screen that a settings file could not be written
// (the setting holds for this session only): "Save failure!" and the file.
void TellSaveFailure(QWidget* owner, const char* settingsName);

}  // namespace quenlix
