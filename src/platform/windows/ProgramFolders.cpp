#include "platform/ProgramFolders.h"

#include <QDir>

namespace pw::platform
{

// A program under one of the Program Files folders is installed; anywhere
// else (a USB stick, an unpacked archive) it keeps its files beside it.
bool isInstalledProgram(const QString& programDir)
{
    const QString dir = QDir::cleanPath(QDir::fromNativeSeparators(programDir)) + QLatin1Char('/');
    for (const char* variable : {"ProgramFiles", "ProgramW6432", "ProgramFiles(x86)"}) {
        const QString root = qEnvironmentVariable(variable);
        if (!root.isEmpty() &&
            dir.startsWith(QDir::cleanPath(QDir::fromNativeSeparators(root)) + QLatin1Char('/'),
                           Qt::CaseInsensitive))
            return true;
    }
    return false;
}

// %APPDATA%\Pondwillow: the roaming application data of the user.
QString userConfigFolder()
{
    return QDir::cleanPath(QDir::fromNativeSeparators(qEnvironmentVariable("APPDATA")) +
                           QStringLiteral("/Pondwillow"));
}

} // namespace pw::platform
