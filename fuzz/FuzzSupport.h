#pragma once

// Shared by the fuzz targets: a failed property aborts with a message, so the
// fuzzer keeps the input that broke it; readers that take a file name get the
// input through a private file on a memory-backed file system.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace pw::fuzz
{

[[noreturn]] inline void fail(const char* what, const char* file, int line)
{
    std::fprintf(stderr, "%s:%d: property broken: %s\n", file, line, what);
    std::abort();
}

#define PW_FUZZ_CHECK(condition)                                                                   \
    do {                                                                                           \
        if (!(condition))                                                                          \
            ::pw::fuzz::fail(#condition, __FILE__, __LINE__);                                      \
    } while (false)

inline QByteArray bytesOf(const std::uint8_t* data, std::size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// A directory of this process's own, inside $PONDWILLOW_FUZZ_SCRATCH when it
// is set, else /dev/shm when there is one (the readers go through real files,
// and writes there cost no disk syncs), else the system's temporary directory.
inline QString scratchDirectory()
{
    // Kept to the very end of the process: the directory goes at exit, after
    // the static objects are gone.
    static const QString* const dir = [] {
        QString base = qEnvironmentVariable("PONDWILLOW_FUZZ_SCRATCH");
        if (base.isEmpty())
            base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm")
                                                             : QDir::tempPath();
        const auto* path = new QString(
            base + QStringLiteral("/pondwillow-fuzz-%1").arg(static_cast<qint64>(::getpid())));
        QDir().mkpath(*path);
        std::atexit([] { QDir(scratchDirectory()).removeRecursively(); });
        return path;
    }();
    return *dir;
}

// Writes bytes to name in the scratch directory and returns its path.
inline QString writeScratchFile(const QString& name, const QByteArray& bytes)
{
    const QString path = scratchDirectory() + u'/' + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        fail("cannot write the scratch file", __FILE__, __LINE__);
    return path;
}

// Qt's picture decoders warn about every damaged picture; the fuzzer feeds
// them little else, and the warnings would drown its own output.
inline void silenceQtMessages()
{
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
}

// True when no line holds a line break.
inline bool singleLines(const QStringList& lines)
{
    for (const QString& line : lines) {
        if (line.contains(u'\r') || line.contains(u'\n'))
            return false;
    }
    return true;
}

} // namespace pw::fuzz
