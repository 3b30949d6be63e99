#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace pw::platform
{

// Writes the whole file through a temporary file beside it, renamed over the
// old one only when every byte has been written, flushed to the disk and the
// temporary file closed without an error. On any failure (a short write, a
// full disk, an I/O error on flush or close, a failed rename) the old file is
// left untouched and the temporary file is removed. Returns the OS's reason
// for a failure, empty on success.
QString writeFileAtomically(const QString& path, const QByteArray& content);

// The steps of an atomic write, for tests that make one of them fail.
enum class WriteStep { Create, Write, Sync, Close, Rename };

// Makes the next atomic write fail at that step with that OS error code
// (errno on Linux, GetLastError() on Windows), as if the system had reported
// it; a failing Write step first writes half of the content, as a short write
// on a filling disk does. nullopt clears a fault that has not happened yet.
void failNextWriteForTesting(std::optional<WriteStep> step, int osError = 0);

namespace detail
{
// The fault set for the next write, taken once: the per-OS implementation asks
// for it at the start of each write.
struct WriteFault {
    WriteStep step;
    int osError;
};
std::optional<WriteFault> takeWriteFault();
} // namespace detail

} // namespace pw::platform
