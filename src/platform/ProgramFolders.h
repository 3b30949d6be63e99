#pragma once

#include <QString>

namespace pw::platform
{

// Whether the program in `programDir` is installed (its files then go to the
// user's config folder) rather than run from where it was built or unpacked
// (its files then stay beside it).
bool isInstalledProgram(const QString& programDir);

// The folder an installed dock keeps its files in, without a final
// separator; it may not exist yet.
QString userConfigFolder();

} // namespace pw::platform
