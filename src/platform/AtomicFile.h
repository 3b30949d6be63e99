#pragma once

#include <QByteArray>
#include <QString>

namespace pw::platform
{

// Writes the whole file through a temporary file beside it, renamed over the
// old one only when every byte is on disk. On failure the old file is left
// untouched and nothing is left behind; returns the OS's reason, empty on
// success.
QString writeFileAtomically(const QString& path, const QByteArray& content);

} // namespace pw::platform
