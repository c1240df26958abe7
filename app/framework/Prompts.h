#pragma once

#include <QString>
#include <cstdint>
#include <optional>

class QAction;
class QDialog;
class QMenu;
class QPoint;
class QWidget;

namespace quenlix {

// Everything that waits for the person at the screen or hands work to the
// desktop goes through one Prompts object, so tests can answer in their place.
class Prompts {
public:
    // OkCancel asks a question (question icon); the others inform.
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
    enum class Answer { Ok, Yes, No, Cancel };

    virtual ~Prompts() = default;

    virtual Answer MessageBox(QWidget* owner, const QString& text, const QString& caption,
                              Buttons buttons);
    // A colour as 0x00BBGGRR; nothing when the chooser was cancelled.
    virtual std::optional<std::uint32_t> ChooseColor(QWidget* owner, std::uint32_t initial);
    // Empty text when cancelled. Filters as Qt writes them ("PNG(*.png);;…").
    virtual QString OpenFileName(QWidget* owner, const QString& title, const QString& filter);
    // A name typed without an extension gets the chosen filter's first one
    // (defaultSuffix for the first filter). Replacing a file is not asked
    // here: the caller asks in its own words.
    virtual QString SaveFileName(QWidget* owner, const QString& title, const QString& filter,
                                 const QString& defaultSuffix);
    virtual QString FolderName(QWidget* owner, const QString& title);
    // Runs the dialog modally and returns its result code (QDialog::Accepted …).
    virtual int RunModal(QDialog& dialog);
    // Pops the menu up at a global position; the chosen action, or none.
    virtual QAction* RunMenu(QMenu& menu, const QPoint& at);
    // Opens a document with the desktop's default application; failures are not reported.
    virtual void OpenDocument(const QString& path);
};

// The program's Prompts; a default one until another is installed.
Prompts& CurrentPrompts();
// Installs replacement (not owned) until it is uninstalled with nullptr.
void InstallPrompts(Prompts* replacement);

}  // namespace quenlix
