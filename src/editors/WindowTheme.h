#pragma once

#include <QString>

class QWidget;

// The look of the settings and parameter windows: a dark theme of its own,
// with control parts drawn from pictures in the resource folder ":/theme" and
// white text. The dock, its menus and the desktop's dialogs keep their looks.
namespace pw::theme
{

// The resource folder that holds the style sheet and every picture it names.
inline constexpr char folder[] = ":/theme";

// The style sheet, as the resources hold it.
QString styleSheet();

// Dresses a window in the theme: its background picture, stretched over the
// window at its present size, and the style sheet on each of its controls.
// The sheet goes on the controls and not on the window so that a message box
// or a file dialog opened over the window, a child of the window, keeps the
// desktop's look. A caption too wide for its label is set smaller to fit.
void apply(QWidget* window);

} // namespace pw::theme
