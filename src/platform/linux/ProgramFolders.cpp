#include "platform/ProgramFolders.h"

#include <QDir>
#include <QFileInfo>

namespace pw::platform
{

// An installation lays the program out as <prefix>/bin/pondwillow beside
// <prefix>/share/applications/org.pondwillow.Pondwillow.desktop (a package
// in /usr, `cmake --install` in /usr/local or ~/.local). A build folder or an
// unpacked archive has no such neighbour.
bool isInstalledProgram(const QString& programDir)
{
    const QDir dir(programDir);
    return dir.dirName() == QLatin1String("bin") &&
           QFileInfo::exists(dir.filePath(
               QStringLiteral("../share/applications/org.pondwillow.Pondwillow.desktop")));
}

// $XDG_CONFIG_HOME/pondwillow, or ~/.config/pondwillow when that variable is
// unset or not an absolute path (as the base directory rules say).
QString userConfigFolder()
{
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.config");
    return QDir::cleanPath(base + QStringLiteral("/pondwillow"));
}

} // namespace pw::platform
