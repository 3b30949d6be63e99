// Atomic file replacement with POSIX calls: every step's error is checked
// before the rename, since a full disk or a failing device may report itself
// only at the flush or the close.
#include "storage/AtomicFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pw::platform
{

namespace
{

QString reasonFor(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// A temporary file beside the target, created new (never an existing file or
// link), with the permissions the umask allows.
int createTemporary(const QString& target, QByteArray* name)
{
    const QFileInfo info(target);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString candidate =
            info.absolutePath() + QLatin1String("/.") + info.fileName() + QLatin1Char('.') +
            QString::number(QRandomGenerator::global()->generate(), 16) + QLatin1String(".tmp");
        *name = QFile::encodeName(candidate);
        const int fd = ::open(name->constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

// Writes everything, going on after short writes; false with errno set when
// the system refuses a byte.
bool writeAll(int fd, const char* data, qsizetype size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, static_cast<size_t>(size));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

} // namespace

QString writeFileAtomically(const QString& path, const QByteArray& content)
{
    const auto fault = detail::takeWriteFault();
    const auto faultAt = [&fault](WriteStep step) {
        if (!fault || fault->step != step)
            return false;
        errno = fault->osError;
        return true;
    };

    // A link is followed: the file it names is replaced, the link stays.
    QString target = path;
    const QFileInfo info(path);
    if (info.isSymLink())
        target = info.symLinkTarget();
    const QByteArray targetName = QFile::encodeName(target);

    QByteArray tempName;
    const int fd = faultAt(WriteStep::Create) ? -1 : createTemporary(target, &tempName);
    if (fd < 0)
        return reasonFor(errno);

    const auto fail = [&](bool open) {
        const int error = errno;
        if (open)
            ::close(fd);
        ::unlink(tempName.constData());
        return reasonFor(error);
    };

    // The new file keeps the old one's permissions.
    struct stat old = {};
    if (::stat(targetName.constData(), &old) == 0 && S_ISREG(old.st_mode))
        ::fchmod(fd, old.st_mode & 07777);

    if (faultAt(WriteStep::Write)) {
        const int error = errno;
        writeAll(fd, content.constData(), content.size() / 2);
        errno = error;
        return fail(true);
    }
    if (!writeAll(fd, content.constData(), content.size()))
        return fail(true);
    if (faultAt(WriteStep::Sync) || ::fsync(fd) != 0)
        return fail(true);
    if (faultAt(WriteStep::Close)) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return fail(false);
    }
    if (::close(fd) != 0)
        return fail(false);
    if (faultAt(WriteStep::Rename) || ::rename(tempName.constData(), targetName.constData()) != 0)
        return fail(false);

    // The rename itself reaches the disk with the directory; a directory that
    // cannot be synced (some file systems refuse) still holds the new file.
    const int dir = ::open(QFile::encodeName(QFileInfo(target).absolutePath()).constData(),
                           O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return QString();
}

} // namespace pw::platform
