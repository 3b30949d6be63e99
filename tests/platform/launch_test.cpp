// The real launcher against a private desktop: XDG folders of the test's own
// hold a recorder application, the default for text files and folders, and
// every launch writes what it received to a log.
#include "platform/ShellLauncher.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <ostream>

using namespace Qt::StringLiterals;

inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace
{

class Launch : public ::testing::Test
{
protected:
    // Made once, before the first launch: GIO reads the XDG folders once.
    static void makeDesktop()
    {
        static QTemporaryDir desktop;
        if (!recorder().isEmpty())
            return;
        ASSERT_TRUE(desktop.isValid());
        const QString data = desktop.filePath(u"data"_s);
        const QString config = desktop.filePath(u"config"_s);
        qputenv("XDG_DATA_HOME", data.toUtf8());
        qputenv("XDG_CONFIG_HOME", config.toUtf8());
        qputenv("XDG_DATA_DIRS", desktop.filePath(u"none"_s).toUtf8() + ":/usr/share");
        qputenv("XDG_CONFIG_DIRS", desktop.filePath(u"none"_s).toUtf8());
        ASSERT_TRUE(QDir().mkpath(data + u"/applications"_s));
        ASSERT_TRUE(QDir().mkpath(config));
        recorder() = data + u"/record.sh"_s;
        log() = data + u"/launch.log"_s;
        // Each run writes its working directory and arguments, then renames
        // the log into place, so a reader never sees half of it.
        write(recorder(),
              "#!/bin/sh\n"
              "{ printf 'cwd=%s\\n' \"$PWD\"; for a; do printf 'arg=%s\\n' \"$a\"; done; }"
              " > \"" +
                  log().toUtf8() + ".part\" && mv \"" + log().toUtf8() + ".part\" \"" +
                  log().toUtf8() + "\"\n");
        QFile::setPermissions(recorder(), QFile::permissions(recorder()) | QFile::ExeOwner);
        write(data + u"/applications/recorder.desktop"_s,
              "[Desktop Entry]\nType=Application\nName=Recorder\nExec=" + recorder().toUtf8() +
                  " opened %f\nMimeType=text/plain;inode/directory;\n");
        write(config + u"/mimeapps.list"_s, "[Default Applications]\ntext/plain=recorder.desktop\n"
                                            "inode/directory=recorder.desktop\n");
    }

    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(makeDesktop());
        ASSERT_TRUE(dir_.isValid());
        QFile::remove(log());
    }

    static QString& recorder()
    {
        static QString path;
        return path;
    }
    static QString& log()
    {
        static QString path;
        return path;
    }
    static void write(const QString& path, const QByteArray& bytes)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
        f.write(bytes);
    }
    QString path(const QString& name) const { return dir_.filePath(name); }

    // What the recorder received, a line each: cwd=..., arg=...
    static QStringList recorded()
    {
        if (!QTest::qWaitFor([] { return QFile::exists(log()); }, 10000))
            return {u"<nothing launched>"_s};
        QFile f(log());
        if (!f.open(QIODevice::ReadOnly))
            return {u"<unreadable>"_s};
        return QString::fromUtf8(f.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }

    QTemporaryDir dir_;
};

TEST_F(Launch, AProgramGetsItsArgumentsAndFolderAndNoShell)
{
    const QString program = path(u"my tool.sh"_s);
    QFile::copy(recorder(), program);
    // Shell syntax in the parameters is text for the program, never run.
    const QString params =
        uR"(-v "two words" 'single $(touch pwned)' ; `touch pwned` | x\ y $HOME)"_s;
    pw::platform::shellLaunch(program, params, dir_.path());
    EXPECT_EQ(recorded(), (QStringList{u"cwd="_s + dir_.path(), u"arg=-v"_s, u"arg=two words"_s,
                                       u"arg=single $(touch pwned)"_s, u"arg=;"_s, u"arg=`touch"_s,
                                       u"arg=pwned`"_s, u"arg=|"_s, u"arg=x y"_s, u"arg=$HOME"_s}));
    EXPECT_FALSE(QFile::exists(path(u"pwned"_s)));
}

TEST_F(Launch, ADesktopFileStartsItsApplication)
{
    // Without the execute bit, as desktop files usually are.
    const QString entry = path(u"tool.desktop"_s);
    write(entry, "[Desktop Entry]\nType=Application\nName=Tool\nExec=" + recorder().toUtf8() +
                     " from-desktop %F\nPath=" + dir_.path().toUtf8() + "\n");
    const QString doc = path(u"a b.txt"_s);
    write(doc, "x");
    pw::platform::shellLaunch(entry, u"\""_s + doc + u"\""_s, QString());
    EXPECT_EQ(recorded(),
              (QStringList{u"cwd="_s + dir_.path(), u"arg=from-desktop"_s, u"arg="_s + doc}));
}

TEST_F(Launch, DocumentsFoldersAndFilesThatAreNoProgramsOpenInTheDefaultApplication)
{
    const QString doc = path(u"notes.txt"_s);
    write(doc, "echo should-not-run > ran\n");
    const QString marked = path(u"marked.txt"_s); // execute bit, as on a FAT mount
    write(marked, "touch ran\n");
    QFile::setPermissions(marked, QFile::permissions(marked) | QFile::ExeOwner);
    for (const QString& target : {doc, marked, dir_.path()}) {
        SCOPED_TRACE(target.toStdString());
        QFile::remove(log());
        pw::platform::shellLaunch(target, u"ignored"_s, dir_.path());
        const QStringList got = recorded();
        ASSERT_EQ(got.size(), 3) << got.join(u" ").toStdString();
        EXPECT_EQ(got.mid(1), (QStringList{u"arg=opened"_s, u"arg="_s + target}));
    }
    EXPECT_FALSE(QFile::exists(path(u"ran"_s)));
}

TEST_F(Launch, AFailedLaunchIsWrittenToStandardError)
{
    ::testing::internal::CaptureStderr();
    pw::platform::shellLaunch(path(u"missing.exe"_s), QString(), QString());
    const QString program = path(u"run.sh"_s);
    QFile::copy(recorder(), program);
    pw::platform::shellLaunch(program, u"\"unbalanced"_s, QString());
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("cannot launch " + path(u"missing.exe"_s).toStdString()), std::string::npos)
        << err;
    EXPECT_NE(err.find("cannot launch " + program.toStdString()), std::string::npos) << err;
    QTest::qWait(200);
    EXPECT_FALSE(QFile::exists(log()));
}

} // namespace
