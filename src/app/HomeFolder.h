#pragma once

#include <QString>

namespace pw
{

// The folder the dock keeps its files in, with its final separator: the
// folder given on the command line (`given`, relative to the working folder)
// when there is one; else the user's config folder when the program in
// `programDir` is installed; else `programDir` itself, so that a dock run
// from where it was built or unpacked keeps its files beside it.
QString chooseHomeFolder(const QString& given, const QString& programDir);

} // namespace pw
