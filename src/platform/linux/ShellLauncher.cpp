#include "platform/ShellLauncher.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace pw::platform
{

// No shell stands between the dock and the program: the parameter string is
// split into arguments by the usual quoting rules and handed over directly.
// Any other file opens in the desktop's default application.
void shellLaunchNative(const QString& file, const QString& params, const QString& dir)
{
    const QFileInfo info(file);
    if (info.isFile() && info.isExecutable()) {
        QProcess::startDetached(info.absoluteFilePath(), QProcess::splitCommand(params), dir);
        return;
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(info.absoluteFilePath()));
}

} // namespace pw::platform
