#include "platform/FolderLock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSocketNotifier>
#include <QThread>

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

// The hold is an exclusive flock() on the folder itself: the kernel drops it
// when the process ends, and nothing is written into the folder. The running
// dock listens on a Unix socket in the abstract namespace (which, too, goes
// with the process), named after the user and the folder; a later start
// connects to it, and the connection is the request to come to the front.

namespace pw::platform
{

struct FolderLock::Impl {
    QString folder;
    int lockFd = -1;
    int listenFd = -1;
    std::unique_ptr<QSocketNotifier> notifier;
    std::function<void()> show;

    // The socket's address: a leading NUL (abstract namespace), then
    // "pondwillow-<uid>-<hash of the folder's canonical path>".
    sockaddr_un address(socklen_t& length) const
    {
        QString canonical = QDir(folder).canonicalPath();
        if (canonical.isEmpty())
            canonical = QDir(folder).absolutePath();
        const QByteArray hash =
            QCryptographicHash::hash(canonical.toUtf8(), QCryptographicHash::Sha256)
                .toHex()
                .left(32);
        const QByteArray name = "pondwillow-" + QByteArray::number(getuid()) + '-' + hash;
        sockaddr_un a{};
        a.sun_family = AF_UNIX;
        std::memcpy(a.sun_path + 1, name.constData(), std::size_t(name.size()));
        length = socklen_t(offsetof(sockaddr_un, sun_path) + 1 + std::size_t(name.size()));
        return a;
    }

    void accept()
    {
        for (;;) {
            const int fd = ::accept4(listenFd, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd < 0)
                return;
            // Only the same user's starts may raise the dock.
            ucred peer{};
            socklen_t size = sizeof peer;
            const bool sameUser =
                getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == getuid();
            ::close(fd);
            if (sameUser && show)
                show();
        }
    }
};

FolderLock::FolderLock(const QString& folder) : d(std::make_unique<Impl>())
{
    d->folder = folder;
}

FolderLock::~FolderLock()
{
    d->notifier.reset();
    if (d->listenFd >= 0)
        ::close(d->listenFd);
    if (d->lockFd >= 0)
        ::close(d->lockFd);
}

bool FolderLock::tryLock()
{
    if (d->lockFd >= 0)
        return true;
    const QByteArray path = QFile::encodeName(d->folder);
    const int fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return true;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool held = errno == EWOULDBLOCK;
        ::close(fd);
        return !held;
    }
    d->lockFd = fd;
    return true;
}

bool FolderLock::askHolderToShow()
{
    socklen_t length = 0;
    const sockaddr_un a = d->address(length);
    // The holder listens a moment after it takes the folder: try for two
    // seconds.
    for (int attempt = 0; attempt < 40; ++attempt) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0)
            return false;
        const bool connected = ::connect(fd, reinterpret_cast<const sockaddr*>(&a), length) == 0;
        ::close(fd);
        if (connected)
            return true;
        QThread::msleep(50);
    }
    return false;
}

void FolderLock::listen(std::function<void()> show)
{
    d->show = std::move(show);
    if (d->listenFd >= 0)
        return;
    socklen_t length = 0;
    const sockaddr_un a = d->address(length);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return;
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&a), length) != 0 || ::listen(fd, 4) != 0) {
        ::close(fd);
        return;
    }
    d->listenFd = fd;
    d->notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    QObject::connect(d->notifier.get(), &QSocketNotifier::activated, [this] { d->accept(); });
}

} // namespace pw::platform
