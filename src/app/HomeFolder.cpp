#include "app/HomeFolder.h"

#include "platform/ProgramFolders.h"

#include <QDir>

namespace pw
{

QString chooseHomeFolder(const QString& given, const QString& programDir)
{
    QString folder;
    if (!given.isEmpty())
        folder = QDir(given).absolutePath();
    else if (platform::isInstalledProgram(programDir))
        folder = platform::userConfigFolder();
    else
        folder = QDir(programDir).absolutePath();
    folder = QDir::cleanPath(folder);
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

} // namespace pw
