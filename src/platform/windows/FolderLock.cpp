#include "platform/FolderLock.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>

#include <windows.h>

// The hold is a named mutex, which Windows drops with the process. A later
// start broadcasts a message registered under the folder's name; the dock
// holding the folder sees it among its windows' messages and comes to the
// front.

namespace pw::platform
{

namespace
{

std::wstring folderKey(const QString& folder)
{
    QString canonical = QDir(folder).canonicalPath();
    if (canonical.isEmpty())
        canonical = QDir(folder).absolutePath();
    const QByteArray hash =
        QCryptographicHash::hash(canonical.toLower().toUtf8(), QCryptographicHash::Sha256)
            .toHex()
            .left(32);
    return (QStringLiteral("Pondwillow-") + QString::fromLatin1(hash)).toStdWString();
}

class ShowFilter : public QAbstractNativeEventFilter
{
public:
    ShowFilter(UINT message, std::function<void()> show) : message_(message), show_(std::move(show))
    {
    }

    bool nativeEventFilter(const QByteArray& type, void* data, qintptr*) override
    {
        if (type == "windows_generic_MSG" && static_cast<MSG*>(data)->message == message_) {
            // A broadcast reaches every top-level window: act once per post.
            const DWORD time = static_cast<MSG*>(data)->time;
            if (time != lastTime_) {
                lastTime_ = time;
                show_();
            }
            return true;
        }
        return false;
    }

private:
    UINT message_;
    std::function<void()> show_;
    DWORD lastTime_ = 0;
};

} // namespace

struct FolderLock::Impl {
    std::wstring key;
    HANDLE mutex = nullptr;
    std::unique_ptr<ShowFilter> filter;

    UINT showMessage() const { return RegisterWindowMessageW((key + L"-show").c_str()); }
};

FolderLock::FolderLock(const QString& folder) : d(std::make_unique<Impl>())
{
    d->key = folderKey(folder);
}

FolderLock::~FolderLock()
{
    if (d->filter && QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(d->filter.get());
    if (d->mutex)
        CloseHandle(d->mutex);
}

bool FolderLock::tryLock()
{
    if (d->mutex)
        return true;
    const std::wstring name = L"Local\\" + d->key;
    HANDLE mutex = CreateMutexW(nullptr, FALSE, name.c_str());
    if (!mutex)
        return true;
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        return false;
    }
    d->mutex = mutex;
    return true;
}

bool FolderLock::askHolderToShow()
{
    const UINT message = d->showMessage();
    if (!message)
        return false;
    // The dock that comes to the front may take the foreground from us.
    AllowSetForegroundWindow(ASFW_ANY);
    return PostMessageW(HWND_BROADCAST, message, 0, 0) != 0;
}

void FolderLock::listen(std::function<void()> show)
{
    const UINT message = d->showMessage();
    if (!message || !QCoreApplication::instance())
        return;
    if (d->filter)
        QCoreApplication::instance()->removeNativeEventFilter(d->filter.get());
    d->filter = std::make_unique<ShowFilter>(message, std::move(show));
    QCoreApplication::instance()->installNativeEventFilter(d->filter.get());
}

} // namespace pw::platform
