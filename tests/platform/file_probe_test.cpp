// Which files of a group are there: the answer is QFileInfo::isFile()'s for
// every kind of entry a folder holds, whether the folder is read at once (many
// paths in it) or each path is looked up on its own (a few).
#include "platform/FileProbe.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace
{

// A folder with every kind of entry, and `extra` plain files besides.
void fillFolder(const QString& dir, int extra)
{
    QDir(dir).mkpath(QStringLiteral("sub"));
    for (int i = 0; i < extra; ++i) {
        QFile f(dir + QStringLiteral("/file%1.txt").arg(i));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    QFile::link(dir + "/file0.txt", dir + "/link-to-file");
    QFile::link(dir + "/nothing", dir + "/broken-link");
    QFile::link(dir + "/sub", dir + "/link-to-folder");
    ASSERT_EQ(mkfifo(QFile::encodeName(dir + "/fifo").constData(), 0600), 0);
}

QStringList probedPaths(const QString& dir, int extra)
{
    QStringList paths;
    for (int i = 0; i < extra; ++i)
        paths << dir + QStringLiteral("/file%1.txt").arg(i);
    paths << dir + "/sub" << dir + "/link-to-file" << dir + "/broken-link"
          << dir + "/link-to-folder" << dir + "/fifo" << dir + "/missing.txt"
          << dir + "/sub/../file1.txt" << dir + "/./file2.txt" << dir + "//file3.txt"
          << dir + "/file0.txt/" << dir + "/file0.txt" // twice
          << dir + "/FILE0.TXT" << QStringLiteral("/") << QStringLiteral("relative.txt")
          << dir + "/missing-folder/file0.txt";
    return paths;
}

TEST(FileProbe, AnswersAsFileInfoForEveryKindOfEntry)
{
    // 40 files: the folder is read at once; 2: each path is looked up.
    for (const int extra : {40, 2}) {
        SCOPED_TRACE(extra);
        QTemporaryDir home;
        ASSERT_TRUE(home.isValid());
        fillFolder(home.path(), extra);
        const QStringList paths = probedPaths(home.path(), extra);
        const QList<bool> exists = pw::platform::filesExist(paths);
        ASSERT_EQ(exists.size(), paths.size());
        int files = 0;
        for (qsizetype i = 0; i < paths.size(); ++i) {
            EXPECT_EQ(exists.at(i), QFileInfo(paths.at(i)).isFile()) << paths.at(i).toStdString();
            files += exists.at(i);
        }
        // The extra files, the link to one, the three roundabout paths to
        // files and the repeated file0.
        EXPECT_EQ(files, extra + 1 + (extra > 3 ? 3 : 1) + 1);
    }
}

TEST(FileProbe, NoPathsNoAnswers)
{
    EXPECT_TRUE(pw::platform::filesExist({}).isEmpty());
}

} // namespace
