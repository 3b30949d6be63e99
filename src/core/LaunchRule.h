#pragma once

#include <QString>
#include <QStringView>
#include <optional>

// What a click on a tile hands to the desktop: the file, its parameter string
// and the working directory, worked out from the entry's line alone.
namespace pw
{

struct LaunchTarget {
    QString file;
    QString params;
    QString dir;
    friend bool operator==(const LaunchTarget&, const LaunchTarget&) = default;
};

// The position of the separator that ends a path's directory part, or -1. A
// Windows path (one holding "\" or starting with a drive letter and ":")
// separates at "\", "/" and ":"; any other path at "/" alone, since ":" and
// "\" are ordinary characters of a Linux file name.
qsizetype lastSeparator(QStringView path);

// The working directory for a file: its directory part without the final
// separator, except where that separator is the root ("/", "\", "C:\",
// "C:/") or follows a drive letter's ":". Empty for a bare file name.
QString launchDirectory(QStringView file);

// The launch of an entry line:
// - file, parameters, hint: the first two fields;
// - a file alone, or a file and one field: the parameters are the file's
//   directory part with its final separator (empty for a bare name);
// - more than three fields (a comma inside the hint): the first two, as the
//   group's loading reads such a line.
// A line of no fields launches nothing.
std::optional<LaunchTarget> launchFor(QStringView line);

} // namespace pw
