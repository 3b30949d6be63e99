#include "icons/IconCache.h"

#include "icons/IconProvider.h"

#include <QDateTime>
#include <QFileInfo>

namespace pw::platform
{

namespace
{
// Entries kept before the cache starts afresh; far more than a dock shows.
constexpr qsizetype kMaxEntries = 2048;
} // namespace

IconCache& IconCache::instance()
{
    static IconCache cache;
    return cache;
}

QImage IconCache::fileIcon(const QString& path, int size)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return {};
    const qint64 modified = info.lastModified().toMSecsSinceEpoch();
    const qint64 bytes = info.size();

    const Key key(path, size);
    const auto found = files_.constFind(key);
    if (found != files_.cend() && found->modified == modified && found->bytes == bytes)
        return found->image;

    if (files_.size() >= kMaxEntries)
        files_.clear();
    // Files without an icon are remembered as well, so they are not read again.
    QImage image = extractFileIcon(path, size);
    files_.insert(key, {modified, bytes, image});
    return image;
}

QImage IconCache::typeIcon(const QString& path, int size)
{
    const Key key(QFileInfo(path).fileName(), size);
    const auto found = types_.constFind(key);
    if (found != types_.cend())
        return *found;
    if (types_.size() >= kMaxEntries)
        types_.clear();
    QImage image = fileTypeIcon(path, size);
    types_.insert(key, image);
    return image;
}

QImage IconCache::icon(const QString& path, int size)
{
    const QImage own = fileIcon(path, size);
    return own.isNull() ? typeIcon(path, size) : own;
}

void IconCache::clear()
{
    files_.clear();
    types_.clear();
}

} // namespace pw::platform
