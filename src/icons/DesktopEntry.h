#pragma once

#include <QByteArray>
#include <QString>

// Reading desktop entry files (the launchers of Linux desktops): plain text,
// groups in brackets, "key=value" lines. Pure functions over the file's bytes.
namespace pw::platform
{

// The Icon key of the [Desktop Entry] group, its escapes resolved; empty when
// there is none. Other groups (actions) have their own icons, which are not
// the entry's; localised keys (Icon[de]) are other keys.
QString desktopEntryIconValue(const QByteArray& text);

// A desktop entry's string value with its escapes resolved: \s, \n, \t, \r
// and a backslash before any other character stands for that character; a
// backslash at the end stays.
QString unescapeDesktopValue(const QString& value);

} // namespace pw::platform
