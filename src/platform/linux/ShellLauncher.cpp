#include "platform/ShellLauncher.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace pw::platform {

namespace {
std::function<void(const QString&, const QString&, const QString&)>& fakeLauncher()
{
    static std::function<void(const QString&, const QString&, const QString&)> fake;
    return fake;
}
} // namespace

// No shell stands between the dock and the program: the parameter string is
// split into arguments by the usual quoting rules and handed over directly.
void shellLaunch(const QString& file, const QString& params, const QString& dir)
{
    if (fakeLauncher()) {
        fakeLauncher()(file, params, dir);
        return;
    }
    const QFileInfo info(file);
    if (info.isFile() && info.isExecutable()) {
        QProcess::startDetached(info.absoluteFilePath(), QProcess::splitCommand(params), dir);
        return;
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(info.absoluteFilePath()));
}

void setShellLaunchForTesting(
    std::function<void(const QString&, const QString&, const QString&)> fake)
{
    fakeLauncher() = std::move(fake);
}

} // namespace pw::platform
