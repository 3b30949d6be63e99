// One dock per folder: the hold, and a later start's request to come to the
// front.
#include "platform/FolderLock.h"

#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace
{

TEST(FolderLock, OneHolderPerFolderUntilItGoes)
{
    QTemporaryDir a;
    QTemporaryDir b;
    auto first = std::make_unique<pw::platform::FolderLock>(a.path());
    ASSERT_TRUE(first->tryLock());
    EXPECT_TRUE(first->tryLock()) << "taking it again is a no-op";
    pw::platform::FolderLock second(a.path());
    EXPECT_FALSE(second.tryLock());
    // The same folder by another name is the same folder.
    pw::platform::FolderLock sameByAnotherName(a.path() + "/./");
    EXPECT_FALSE(sameByAnotherName.tryLock());
    pw::platform::FolderLock other(b.path());
    EXPECT_TRUE(other.tryLock());
    first.reset();
    EXPECT_TRUE(second.tryLock());
}

TEST(FolderLock, ALaterStartAsksTheHolderToShow)
{
    QTemporaryDir dir;
    pw::platform::FolderLock holder(dir.path());
    ASSERT_TRUE(holder.tryLock());
    int shown = 0;
    holder.listen([&] { ++shown; });

    pw::platform::FolderLock later(dir.path());
    ASSERT_FALSE(later.tryLock());
    ASSERT_TRUE(later.askHolderToShow());
    ASSERT_TRUE(QTest::qWaitFor([&] { return shown == 1; }, 2000));

    // A dock on another folder is not asked.
    QTemporaryDir otherDir;
    pw::platform::FolderLock otherHolder(otherDir.path());
    ASSERT_TRUE(otherHolder.tryLock());
    int otherShown = 0;
    otherHolder.listen([&] { ++otherShown; });
    ASSERT_TRUE(later.askHolderToShow());
    ASSERT_TRUE(QTest::qWaitFor([&] { return shown == 2; }, 2000));
    EXPECT_EQ(otherShown, 0);
}

} // namespace
