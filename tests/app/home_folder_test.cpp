// Where the dock keeps its files: a folder given on the command line, the
// user's config folder for an installed program, or beside the program.
#include "app/HomeFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

class HomeFolder : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.isValid());
        savedConfig = qgetenv("XDG_CONFIG_HOME");
        hadConfig = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
        // An installed layout: <prefix>/bin beside the desktop entry.
        ASSERT_TRUE(QDir(root.path()).mkpath("usr/bin"));
        ASSERT_TRUE(QDir(root.path()).mkpath("usr/share/applications"));
        QFile entry(root.filePath("usr/share/applications/org.pondwillow.Pondwillow.desktop"));
        ASSERT_TRUE(entry.open(QIODevice::WriteOnly));
        // A build folder and an unpacked archive, with no such neighbour; one
        // of them in a folder named bin.
        ASSERT_TRUE(QDir(root.path()).mkpath("build/src"));
        ASSERT_TRUE(QDir(root.path()).mkpath("unpacked/bin"));
    }

    void TearDown() override
    {
        if (hadConfig)
            qputenv("XDG_CONFIG_HOME", savedConfig);
        else
            qunsetenv("XDG_CONFIG_HOME");
    }

    QString path(const QString& relative) const { return root.filePath(relative); }

    QTemporaryDir root;
    QByteArray savedConfig;
    bool hadConfig = false;
};

TEST_F(HomeFolder, ChosenByTheCommandLineTheInstallationAndTheConfigFolder)
{
    qputenv("XDG_CONFIG_HOME", path("config").toUtf8());
    EXPECT_EQ(pw::chooseHomeFolder({}, path("build/src")), path("build/src") + '/');
    EXPECT_EQ(pw::chooseHomeFolder({}, path("unpacked/bin")), path("unpacked/bin") + '/');
    EXPECT_EQ(pw::chooseHomeFolder({}, path("usr/bin")), path("config/pondwillow/"));
    // A folder given wins over both, relative to the working folder.
    EXPECT_EQ(pw::chooseHomeFolder(path("docks/left"), path("usr/bin")), path("docks/left/"));
    EXPECT_EQ(pw::chooseHomeFolder("rel/x/..", path("build/src")),
              QDir::cleanPath(QDir::current().absoluteFilePath("rel")) + '/');
}

TEST_F(HomeFolder, AnUnsetOrRelativeConfigHomeMeansDotConfig)
{
    const QString fallback = QDir::homePath() + "/.config/pondwillow/";
    qunsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(pw::chooseHomeFolder({}, path("usr/bin")), fallback);
    qputenv("XDG_CONFIG_HOME", "relative/config");
    EXPECT_EQ(pw::chooseHomeFolder({}, path("usr/bin")), fallback);
}

} // namespace
