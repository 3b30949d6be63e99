#pragma once

#include <QRgb>
#include <QString>
#include <functional>
#include <optional>

class QWidget;

// Every modal prompt of the program goes through here, so tests can preset
// the answer instead of blocking on a dialog.
namespace pw::prompt
{

// The error report: a message box with an OK button.
void showError(QWidget* parent, const QString& message);

// Tests: route error reports to a function instead of a message box; an
// empty function restores the real box.
void setErrorSinkForTesting(std::function<void(const QString&)> sink);

// The open-file dialog; an empty string when cancelled.
QString openFileName(QWidget* parent, const QString& filter = {});
void setNextFileNameForTesting(std::function<QString()> answer);

// The colour dialog, alpha included; nothing when cancelled.
std::optional<QRgb> pickColor(QWidget* parent, QRgb initial);
void setNextColorForTesting(std::function<std::optional<QRgb>()> answer);

} // namespace pw::prompt
