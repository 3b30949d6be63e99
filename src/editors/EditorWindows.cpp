#include "editors/EditorWindows.h"

#include "editors/Unit2.h"
#include "editors/Unit3.h"

namespace pw
{
EditorWindows::EditorWindows() = default;

EditorWindows::~EditorWindows()
{
    // The parameter window goes first, then the settings window.
    if (parameters_) {
        Form3 = nullptr;
        parameters_.reset();
    }
    if (settings_) {
        Form2 = nullptr;
        settings_.reset();
    }
}

TForm2* EditorWindows::settings()
{
    if (!Form2) {
        settings_ = std::make_unique<TForm2>();
        Form2 = settings_.get();
    }
    return Form2;
}

TForm3* EditorWindows::parameters()
{
    if (!Form3) {
        parameters_ = std::make_unique<TForm3>();
        Form3 = parameters_.get();
    }
    return Form3;
}

void EditorWindows::openSettings()
{
    settings()->exec();
}

void EditorWindows::openParameters(const QString& line)
{
    parameters()->editEntry(line);
}
} // namespace pw
