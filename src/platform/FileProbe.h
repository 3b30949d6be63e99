#pragma once

#include <QList>
#include <QStringList>

namespace pw::platform
{
// Which of `paths` name a file now: a regular file, or a link to one (not a
// folder, a broken link or a missing file), as QFileInfo::isFile() tells.
// A path named twice is looked at once. Where many of the paths lie in one
// small folder, the folder is read once instead of each file being looked
// up on its own.
QList<bool> filesExist(const QStringList& paths);
} // namespace pw::platform
