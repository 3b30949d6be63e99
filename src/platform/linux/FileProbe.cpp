#include "platform/FileProbe.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <dirent.h>
#include <sys/stat.h>

namespace pw::platform
{
namespace
{
// A folder is read when it holds at least this many of the paths...
constexpr qsizetype kReadFrom = 8;
// ...and, by its size, at most this many entries for each of them: reading a
// large folder for a few of its files would cost more than looking them up.
constexpr qint64 kEntriesPerPath = 16;
// A folder's size for each entry it holds, at the least: file systems count
// a folder's size in blocks of entries (ext4) or bytes of names (tmpfs, btrfs).
constexpr qint64 kBytesPerEntry = 24;

bool isFile(const QString& path)
{
    return QFileInfo(path).isFile();
}

// Whether `path` is absolute with no ".", ".." or empty part: then its name
// in its folder is the part after the last slash.
bool isPlain(const QString& path)
{
    if (!path.startsWith(QLatin1Char('/')) || path.endsWith(QLatin1Char('/')))
        return false;
    return !path.contains(QLatin1String("//")) && !path.contains(QLatin1String("/./")) &&
           !path.contains(QLatin1String("/../")) && !path.endsWith(QLatin1String("/.")) &&
           !path.endsWith(QLatin1String("/.."));
}

// The names in a folder that are files, and those that may be (links and
// entries whose kind the file system does not tell), or false when the
// folder cannot be read.
bool readFolder(const QString& folder, QSet<QString>& files, QSet<QString>& maybe)
{
    DIR* dir = opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return false;
    while (const dirent* e = readdir(dir)) {
        switch (e->d_type) {
        case DT_REG:
            files.insert(QFile::decodeName(e->d_name));
            break;
        case DT_LNK:
        case DT_UNKNOWN:
            maybe.insert(QFile::decodeName(e->d_name));
            break;
        default:
            break;
        }
    }
    closedir(dir);
    return true;
}

bool worthReading(const QString& folder, qsizetype paths)
{
    if (paths < kReadFrom)
        return false;
    struct stat st {
    };
    if (stat(QFile::encodeName(folder).constData(), &st) != 0 || !S_ISDIR(st.st_mode))
        return false;
    return st.st_size / kBytesPerEntry <= kEntriesPerPath * paths;
}
} // namespace

QList<bool> filesExist(const QStringList& paths)
{
    QList<bool> exists(paths.size(), false);
    // The distinct paths, and the indices that name each.
    QHash<QString, QList<qsizetype>> where;
    for (qsizetype i = 0; i < paths.size(); ++i)
        where[paths.at(i)] << i;
    // The plain ones by folder; the others are looked up on their own.
    QHash<QString, QStringList> byFolder;
    const auto answer = [&](const QString& path, bool isFile) {
        for (const qsizetype i : std::as_const(where[path]))
            exists[i] = isFile;
    };
    for (auto it = where.cbegin(); it != where.cend(); ++it) {
        if (isPlain(it.key()))
            byFolder[it.key().left(std::max<qsizetype>(1, it.key().lastIndexOf('/')))] << it.key();
        else
            answer(it.key(), isFile(it.key()));
    }
    for (auto it = byFolder.cbegin(); it != byFolder.cend(); ++it) {
        QSet<QString> files;
        QSet<QString> maybe;
        if (worthReading(it.key(), it->size()) && readFolder(it.key(), files, maybe)) {
            for (const QString& path : *it) {
                const QString name = path.mid(path.lastIndexOf('/') + 1);
                answer(path, files.contains(name) || (maybe.contains(name) && isFile(path)));
            }
        } else {
            for (const QString& path : *it)
                answer(path, isFile(path));
        }
    }
    return exists;
}
} // namespace pw::platform
