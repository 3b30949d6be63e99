#pragma once

#include <QString>
#include <functional>
#include <memory>

namespace pw::platform
{

// One dock per folder. The dock that starts first on a folder holds it for
// as long as it runs; a later start on the same folder asks that dock to come
// to the front instead of opening a second one, whose changes would
// overwrite the first one's at exit. The hold ends with the process, however
// it ends (a crash, SIGKILL, a power cut), so nothing stale blocks the next
// start.
class FolderLock
{
public:
    // `folder`: the dock's folder, which exists.
    explicit FolderLock(const QString& folder);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    // Takes the folder for this process; false when another process holds it.
    // A folder that cannot be locked at all (a file system without locks) is
    // taken: the dock runs as it did before there was a lock.
    bool tryLock();

    // From a start that did not get the folder: asks the dock that holds it to
    // come to the front, waiting a moment for a dock that is still starting.
    // False when no dock answered.
    bool askHolderToShow();

    // Once the folder is held: calls `show` on this thread, from the event
    // loop, whenever a later start asks. Costs nothing while nobody asks.
    void listen(std::function<void()> show);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace pw::platform
