#include "icons/IconCache.h"
#include "icons/IconFileParser.h"
#include "icons/IconProvider.h"
#include "icons/icon_fixtures.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#ifdef Q_OS_LINUX
#include <sys/stat.h>
#endif

using namespace pw::platform;

namespace
{

const QColor kRed(220, 30, 40);
const QColor kGreen(30, 180, 60);
const QColor kBlue(20, 90, 230);

::testing::AssertionResult hasCentre(const QImage& image, int size, QColor expected)
{
    if (image.isNull())
        return ::testing::AssertionFailure() << "null image";
    if (image.size() != QSize(size, size))
        return ::testing::AssertionFailure()
               << "size " << image.width() << "x" << image.height() << ", expected " << size;
    const QColor c = image.pixelColor(size / 2, size / 2);
    if (std::abs(c.red() - expected.red()) > 2 || std::abs(c.green() - expected.green()) > 2 ||
        std::abs(c.blue() - expected.blue()) > 2 || c.alpha() != 255)
        return ::testing::AssertionFailure() << "centre " << c.name(QColor::HexArgb).toStdString()
                                             << ", expected " << expected.name().toStdString();
    return ::testing::AssertionSuccess();
}

QByteArray solidIco(QColor color, int side = 32)
{
    return fixtures::icoFile({fixtures::dibImage(fixtures::solid(side, color), 32)});
}

class IconFiles : public ::testing::Test
{
protected:
    QString write(const QString& name, const QByteArray& bytes)
    {
        const QString path = dir_.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        return path;
    }

    QString path(const QString& name) const { return dir_.filePath(name); }

    QTemporaryDir dir_;
};

TEST_F(IconFiles, ExtractsTheIconsOfIconFilesProgramsAndDesktopEntries)
{
    const QString png = write("picture.png", fixtures::png(fixtures::solid(64, kBlue)));
    QByteArray oversized = solidIco(kRed);
    oversized.append(iconfile::kMaxBytesRead, '\0');
    QDir(dir_.path()).mkdir("folder.ico");

    const struct {
        const char* name;
        std::optional<QByteArray> bytes; // none: the file is not written
        std::optional<QColor> expected;  // none: no icon
    } cases[] = {
        {"app.ico", solidIco(kRed), kRed},
        {"APP2.ICO", solidIco(kGreen), kGreen},
        {"tool.exe", fixtures::peFile({fixtures::dibImage(fixtures::solid(32, kGreen), 32)}).bytes,
         kGreen},
        {"library.dll", fixtures::peFile({fixtures::pngImage(fixtures::solid(48, kRed))}).bytes,
         kRed},
        {"viewer.desktop", "[Desktop Entry]\nType=Application\nIcon=" + png.toUtf8() + "\n", kBlue},
        {"notes.txt", solidIco(kRed), std::nullopt},
        {"empty.ico", QByteArray(), std::nullopt},
        {"empty.exe", QByteArray(), std::nullopt},
        {"empty.desktop", QByteArray(), std::nullopt},
        {"text.exe", "MZ but not a program", std::nullopt},
        {"oversized.ico", oversized, std::nullopt},
        {"folder.ico", std::nullopt, std::nullopt},
        {"missing.ico", std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = c.bytes ? write(c.name, *c.bytes) : path(c.name);
        const QImage image = extractFileIcon(file, 32);
        if (c.expected) {
            EXPECT_TRUE(hasCentre(image, 32, *c.expected));
            EXPECT_EQ(image.format(), QImage::Format_ARGB32_Premultiplied);
        } else {
            EXPECT_TRUE(image.isNull());
        }
    }
}

TEST_F(IconFiles, TakesTheIconOfTheDesktopEntryGroupOnly)
{
    const QString red = write("red.png", fixtures::png(fixtures::solid(32, kRed)));
    const QString green = write("green.ico", solidIco(kGreen, 48));
    const QString svg = write("blue.svg", "<svg xmlns='http://www.w3.org/2000/svg' width='16' "
                                          "height='16'><rect width='16' height='16' "
                                          "fill='#145ae6'/></svg>");
    QImage wide(4097, 1, QImage::Format_ARGB32);
    wide.fill(kRed);
    const QString tooWide = write("wide.png", fixtures::png(wide));

    const struct {
        const char* name;
        QString text;
        std::optional<QColor> expected;
    } cases[] = {
        {"picture", "[Desktop Entry]\nIcon=" + red + "\n", kRed},
        {"spaces around the key and CR LF", "[Desktop Entry]\r\nName=x\r\n  Icon = " + red + "\r\n",
         kRed},
        {"icon file", "[Desktop Entry]\nIcon=" + green + "\n", kGreen},
        {"vector picture", "[Desktop Entry]\nIcon=" + svg + "\n", kBlue},
        {"entry group before an action",
         "[Desktop Entry]\nIcon=" + red + "\n[Desktop Action new]\nIcon=" + green + "\n", kRed},
        {"icon in an action only",
         "[Desktop Entry]\nName=x\n[Desktop Action new]\nIcon=" + red + "\n", std::nullopt},
        {"commented out", "[Desktop Entry]\n#Icon=" + red + "\n", std::nullopt},
        {"localised key is another key", "[Desktop Entry]\nIcon[de]=" + red + "\n", std::nullopt},
        {"empty value", "[Desktop Entry]\nIcon=\n", std::nullopt},
        {"missing picture", "[Desktop Entry]\nIcon=" + path("none.png") + "\n", std::nullopt},
        {"picture wider than allowed", "[Desktop Entry]\nIcon=" + tooWide + "\n", std::nullopt},
        {"relative path", "[Desktop Entry]\nIcon=icons/red.png\n", std::nullopt},
        {"unknown theme name", "[Desktop Entry]\nIcon=no-such-icon-anywhere-4711\n", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QImage image = extractFileIcon(write("entry.desktop", c.text.toUtf8()), 24);
        if (c.expected)
            EXPECT_TRUE(hasCentre(image, 24, *c.expected));
        else
            EXPECT_TRUE(image.isNull());
    }
}

TEST_F(IconFiles, FindsThemeIconsNamedByDesktopEntries)
{
    // The desktop's own document icon, from the installed icon theme.
    const QImage image =
        extractFileIcon(write("editor.desktop", "[Desktop Entry]\nIcon=text-x-generic\n"), 48);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(48, 48));
    EXPECT_NE(image, genericDocumentIcon(48));
}

#ifdef Q_OS_LINUX
TEST_F(IconFiles, DoesNotWaitOnSpecialFiles)
{
    for (const char* name : {"pipe.ico", "pipe.exe", "pipe.desktop"}) {
        SCOPED_TRACE(name);
        ASSERT_EQ(::mkfifo(QFile::encodeName(path(name)).constData(), 0600), 0);
        QElapsedTimer timer;
        timer.start();
        EXPECT_TRUE(extractFileIcon(path(name), 32).isNull());
        EXPECT_LT(timer.elapsed(), 2000);
    }
}
#endif

TEST(FileTypeIcons, AlwaysGiveAPictureOfTheSize)
{
    for (const QString& name :
         {QStringLiteral("notes.txt"), QStringLiteral("README"), QStringLiteral("archive.tar.gz"),
          QStringLiteral("x.unknown-type"), QStringLiteral("C:\\docs\\notes.txt"), QString()}) {
        for (const int size : {16, 48, 100}) {
            SCOPED_TRACE(testing::Message() << name.toStdString() << " at " << size);
            const QImage image = fileTypeIcon(name, size);
            ASSERT_FALSE(image.isNull());
            EXPECT_EQ(image.size(), QSize(size, size));
            EXPECT_EQ(image.format(), QImage::Format_ARGB32_Premultiplied);
        }
    }
}

TEST(FileTypeIcons, UseTheDesktopThemeAndNotTheFileContents)
{
    // A text document gets the theme's icon, not the built-in sheet; the file
    // need not exist and is not looked at.
    const QImage text = fileTypeIcon("/nonexistent/dir/notes.txt", 48);
    EXPECT_NE(text, genericDocumentIcon(48));
    EXPECT_EQ(text, fileTypeIcon("other.txt", 48));
}

TEST(GenericDocumentIcon, IsASheetOnATransparentSquare)
{
    for (const int size : {1, 16, 32, 48, 256}) {
        SCOPED_TRACE(size);
        const QImage image = genericDocumentIcon(size);
        ASSERT_EQ(image.size(), QSize(size, size));
        EXPECT_EQ(image.format(), QImage::Format_ARGB32_Premultiplied);
        if (size >= 16) {
            EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0);
            EXPECT_EQ(image.pixelColor(size - 1, 0).alpha(), 0);
            EXPECT_EQ(image.pixelColor(size / 2, size / 2).alpha(), 255);
        }
    }
}

TEST(IconSizes, OutOfRangeGiveNoPicture)
{
    for (const int size : {0, -5, iconfile::kMaxRequestedSize + 1}) {
        SCOPED_TRACE(size);
        EXPECT_TRUE(fileTypeIcon("notes.txt", size).isNull());
        EXPECT_TRUE(genericDocumentIcon(size).isNull());
        EXPECT_TRUE(iconfile::decodeIco(solidIco(kRed), size).isNull());
    }
}

class IconCacheTest : public IconFiles
{
protected:
    void SetUp() override { IconCache::instance().clear(); }
    void TearDown() override { IconCache::instance().clear(); }

    static void setModified(const QString& file, const QDateTime& time)
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(time, QFileDevice::FileModificationTime));
    }
};

// The cache is seen to skip the file when its contents change behind an
// unchanged modification time and size, and to read it again when either
// of the two changes.
TEST_F(IconCacheTest, ReadsAFileAgainOnlyWhenItsTimeOrSizeChanges)
{
    IconCache& cache = IconCache::instance();
    const QDateTime time = QDateTime::currentDateTime().addSecs(-3600);
    const QString file = write("app.ico", solidIco(kRed));
    setModified(file, time);
    ASSERT_TRUE(hasCentre(cache.fileIcon(file, 32), 32, kRed));

    ASSERT_EQ(solidIco(kGreen).size(), solidIco(kRed).size());
    write("app.ico", solidIco(kGreen));
    setModified(file, time);
    EXPECT_TRUE(hasCentre(cache.fileIcon(file, 32), 32, kRed)) << "read again though unchanged";
    EXPECT_TRUE(hasCentre(cache.icon(file, 32), 32, kRed));

    setModified(file, time.addSecs(10));
    EXPECT_TRUE(hasCentre(cache.fileIcon(file, 32), 32, kGreen)) << "new time not noticed";

    write("app.ico", solidIco(kBlue, 48));
    setModified(file, time.addSecs(10));
    EXPECT_TRUE(hasCentre(cache.fileIcon(file, 32), 32, kBlue)) << "new size not noticed";

    // Each size is an entry of its own.
    EXPECT_TRUE(hasCentre(cache.fileIcon(file, 16), 16, kBlue));
    EXPECT_TRUE(hasCentre(cache.fileIcon(file, 32), 32, kBlue));
}

TEST_F(IconCacheTest, ClearForgetsEverything)
{
    IconCache& cache = IconCache::instance();
    const QDateTime time = QDateTime::currentDateTime().addSecs(-60);
    const QString file = write("app.ico", solidIco(kRed));
    setModified(file, time);
    ASSERT_TRUE(hasCentre(cache.fileIcon(file, 32), 32, kRed));
    write("app.ico", solidIco(kGreen));
    setModified(file, time);
    cache.clear();
    EXPECT_TRUE(hasCentre(cache.fileIcon(file, 32), 32, kGreen));
}

TEST_F(IconCacheTest, FallsBackToTheTypeIconAndForgetsRemovedFiles)
{
    IconCache& cache = IconCache::instance();
    const QString text = write("notes.txt", "hello");
    EXPECT_TRUE(cache.fileIcon(text, 32).isNull());
    const QImage type = cache.icon(text, 32);
    EXPECT_EQ(type, fileTypeIcon(text, 32));
    EXPECT_EQ(cache.typeIcon(text, 32), type);

    const QString file = write("app.ico", solidIco(kRed));
    ASSERT_FALSE(cache.fileIcon(file, 32).isNull());
    ASSERT_TRUE(QFile::remove(file));
    EXPECT_TRUE(cache.fileIcon(file, 32).isNull());
    EXPECT_FALSE(cache.icon(file, 32).isNull());
}

} // namespace
