#include "platform/FileProbe.h"

#include <QFileInfo>
#include <QHash>

namespace pw::platform
{
QList<bool> filesExist(const QStringList& paths)
{
    QList<bool> exists;
    exists.reserve(paths.size());
    QHash<QString, bool> seen;
    for (const QString& path : paths) {
        auto it = seen.constFind(path);
        if (it == seen.cend())
            it = seen.insert(path, QFileInfo(path).isFile());
        exists << *it;
    }
    return exists;
}
} // namespace pw::platform
