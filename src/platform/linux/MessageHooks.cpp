// The end of the desktop session on Linux, offered as the query-end-session
// message. X11 events have no Windows message ids, so nothing else is offered:
// the session manager's save requests and the signals a log-off or shutdown
// sends (SIGTERM, SIGHUP) are the events that mean "the session is ending".
#include "platform/MessageHooks.h"

#include <QApplication>
#include <QPointer>
#include <QSessionManager>
#include <QSocketNotifier>
#include <QWidget>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <iterator>
#include <sys/socket.h>
#include <unistd.h>

namespace
{

constexpr std::uint32_t queryEndSession = 0x0011;
constexpr int watchedSignals[] = {SIGTERM, SIGHUP};
constexpr std::size_t signalCount = std::size(watchedSignals);

// The write end of the socket pair, for the signal handler.
std::atomic<int> signalWriteFd{-1};

struct LinuxHooks {
    pw::MessageHooks::Callback callback;
    int fds[2] = {-1, -1}; // [0] written by the signal handler, [1] read on the GUI thread
    struct sigaction previous[signalCount] = {};
    bool handled[signalCount] = {};
    QPointer<QSocketNotifier> notifier;
    QString lastSessionKey;
    bool installed = false;
    // A handler failed during the offers of the current end of the session.
    bool failed = false;
};

LinuxHooks& hooks()
{
    static LinuxHooks h;
    return h;
}

extern "C" void onTerminationSignal(int signal)
{
    const int savedErrno = errno;
    const int fd = signalWriteFd.load(std::memory_order_relaxed);
    if (fd >= 0) {
        // One pending byte is enough; a full socket just drops this one.
        const char byte = static_cast<char>(signal);
        [[maybe_unused]] const ssize_t n = ::write(fd, &byte, 1);
    }
    errno = savedErrno;
}

// Offers the query once per top-level window of the program.
void offerToTopLevels()
{
    QList<QPointer<QWidget>> windows;
    for (QWidget* w : QApplication::topLevelWidgets())
        windows.append(w);
    // A copy: a handler may remove the hooks while the offers go on.
    const pw::MessageHooks::Callback callback = hooks().callback;
    for (const QPointer<QWidget>& w : windows) {
        if (!w || !hooks().installed)
            continue;
        callback(static_cast<std::uintptr_t>(w->internalWinId()), queryEndSession, 0, 0);
    }
}

void onSignalReadable()
{
    auto& h = hooks();
    bool received = false;
    char buffer[64];
    for (;;) {
        const ssize_t n = ::read(h.fds[1], buffer, sizeof buffer);
        if (n > 0) {
            received = true;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        break;
    }
    if (!received)
        return;
    h.failed = false;
    offerToTopLevels();
    // Unconditional: closing the windows first could be refused, and the
    // session is ending. The windows are destroyed after the loop returns; a
    // handler that failed (a save that did not happen) makes the status 1.
    QCoreApplication::exit(h.failed ? 1 : 0);
}

// Qt splits one save request of the session manager into a commit and a
// save, both with the same session key: the windows are offered the query
// once for it.
void onSessionSave(const QString& sessionKey)
{
    auto& h = hooks();
    if (!sessionKey.isEmpty() && sessionKey == h.lastSessionKey)
        return;
    h.lastSessionKey = sessionKey;
    offerToTopLevels();
}

} // namespace

namespace pw
{

void MessageHooks::install(Callback callback)
{
    auto& h = hooks();
    if (h.installed) {
        h.callback = std::move(callback);
        return;
    }
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, h.fds) != 0) {
        h.fds[0] = h.fds[1] = -1;
    } else {
        signalWriteFd.store(h.fds[0]);
        for (std::size_t i = 0; i < signalCount; ++i) {
            struct sigaction current = {};
            ::sigaction(watchedSignals[i], nullptr, &current);
            // A signal the caller chose to ignore (nohup) stays ignored.
            if (current.sa_handler == SIG_IGN)
                continue;
            struct sigaction action = {};
            action.sa_handler = onTerminationSignal;
            sigemptyset(&action.sa_mask);
            action.sa_flags = SA_RESTART;
            h.handled[i] = ::sigaction(watchedSignals[i], &action, &h.previous[i]) == 0;
        }
    }
    h.callback = std::move(callback);
    h.installed = true;
    if (QCoreApplication::instance())
        attachApplication();
}

void MessageHooks::attachApplication()
{
    auto& h = hooks();
    QCoreApplication* app = QCoreApplication::instance();
    if (!h.installed || h.notifier || !app)
        return;
    // A child of the application, so it never outlives it. Signals that came
    // before this point wait in the socket and are handled once the loop runs.
    auto* notifier = new QSocketNotifier(QSocketNotifier::Read, app);
    h.notifier = notifier;
    if (h.fds[1] >= 0) {
        notifier->setSocket(h.fds[1]);
        notifier->setEnabled(true);
        QObject::connect(notifier, &QSocketNotifier::activated, notifier, &onSignalReadable);
    }
#if QT_CONFIG(sessionmanager)
    if (auto* gui = qobject_cast<QGuiApplication*>(app)) {
        // The notifier is the context: deleting it ends both connections.
        QObject::connect(gui, &QGuiApplication::commitDataRequest, notifier,
                         [](QSessionManager& m) { onSessionSave(m.sessionKey()); });
        QObject::connect(gui, &QGuiApplication::saveStateRequest, notifier,
                         [](QSessionManager& m) { onSessionSave(m.sessionKey()); });
    }
#endif
}

void MessageHooks::handlerFailed()
{
    hooks().failed = true;
}

void MessageHooks::remove()
{
    auto& h = hooks();
    if (!h.installed)
        return;
    for (std::size_t i = 0; i < signalCount; ++i) {
        if (h.handled[i])
            ::sigaction(watchedSignals[i], &h.previous[i], nullptr);
        h.handled[i] = false;
    }
    signalWriteFd.store(-1);
    delete h.notifier.data();
    h.notifier = nullptr;
    for (int& fd : h.fds) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
    h.callback = nullptr;
    h.lastSessionKey.clear();
    h.installed = false;
}

} // namespace pw
