#pragma once

// Helpers for tests that read and write files in a private directory.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <ostream>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace pw::test
{

inline void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(f.write(bytes), bytes.size());
}

inline QByteArray readBytes(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return "<missing>";
    return f.readAll();
}

// A fresh directory per test.
class TempDirTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
    // Everything in the directory, sorted by code point.
    QStringList entries() const
    {
        QStringList names =
            QDir(dir_.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
        names.sort();
        return names;
    }
    QTemporaryDir dir_;
};

#ifdef Q_OS_UNIX
// Makes writes beyond a file size fail (EFBIG), for root as well.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &old_);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
};
#endif

} // namespace pw::test
