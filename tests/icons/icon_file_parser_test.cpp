#include "icons/IconFileParser.h"
#include "icons/icon_fixtures.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <random>

using namespace pw::platform;
using fixtures::IconImage;

namespace
{

const QColor kRed(220, 30, 40);
const QColor kGreen(30, 180, 60);
const QColor kBlue(20, 90, 230);
const QColor kYellow(240, 210, 20);
const QColor kMagenta(200, 20, 200);

QImage decodePe(const QByteArray& bytes, int size)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return iconfile::decodePeIcon(buffer, size);
}

QByteArray peGroup(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return iconfile::extractPeIconGroup(buffer);
}

// Colour channels within tolerance (alpha included).
::testing::AssertionResult near(QColor actual, QColor expected, int tolerance = 2)
{
    const bool ok = std::abs(actual.red() - expected.red()) <= tolerance &&
                    std::abs(actual.green() - expected.green()) <= tolerance &&
                    std::abs(actual.blue() - expected.blue()) <= tolerance &&
                    std::abs(actual.alpha() - expected.alpha()) <= tolerance;
    if (ok)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "got rgba(" << actual.red() << "," << actual.green() << "," << actual.blue() << ","
           << actual.alpha() << "), expected rgba(" << expected.red() << "," << expected.green()
           << "," << expected.blue() << "," << expected.alpha() << ")";
}

QColor centre(const QImage& image)
{
    return image.pixelColor(image.width() / 2, image.height() / 2);
}

// 16, 32 (8 and 32 bits per pixel), 48 and 256 pixels, each in its own colour.
QList<IconImage> sizedImages()
{
    return {fixtures::dibImage(fixtures::solid(16, kRed), 4),
            fixtures::dibImage(fixtures::solid(32, kMagenta), 8),
            fixtures::dibImage(fixtures::solid(32, kGreen), 32),
            fixtures::dibImage(fixtures::solid(48, kBlue), 24),
            fixtures::pngImage(fixtures::solid(256, kYellow))};
}

TEST(IcoDecoding, ChoosesTheNearestImageAtLeastAsLargeAndScalesItToTheSize)
{
    const QByteArray ico = fixtures::icoFile(sizedImages());
    const struct {
        int size;
        QColor expected;
    } cases[] = {
        {8, kRed},   {16, kRed},  {17, kGreen},  {24, kGreen},   {32, kGreen},
        {40, kBlue}, {48, kBlue}, {49, kYellow}, {256, kYellow}, {300, kYellow},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        const QImage image = iconfile::decodeIco(ico, c.size);
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.size(), QSize(c.size, c.size));
        EXPECT_EQ(image.format(), QImage::Format_ARGB32_Premultiplied);
        EXPECT_TRUE(near(centre(image), c.expected));
    }
}

TEST(IcoDecoding, FallsBackToTheNextImageWhenTheNearestIsDamaged)
{
    QList<IconImage> images = sizedImages();
    images[2].data.truncate(60); // the 32-pixel 32-bit image
    images[1].data.truncate(60); // the 32-pixel 8-bit image
    const QImage image = iconfile::decodeIco(fixtures::icoFile(images), 32);
    ASSERT_FALSE(image.isNull());
    EXPECT_TRUE(near(centre(image), kBlue));
}

TEST(IcoDecoding, DecodesEveryBitmapDepthWithItsMask)
{
    // 13 pixels wide, so every depth has padded rows; the pattern differs under
    // flips in both directions, the mask clears the diagonal.
    const QColor a(200, 30, 40);
    const QColor b(20, 160, 220);
    QImage picture(13, 13, QImage::Format_ARGB32);
    for (int y = 0; y < 13; ++y) {
        for (int x = 0; x < 13; ++x)
            picture.setPixelColor(x, y, x == y ? QColor(0, 0, 0, 0) : ((y < 4) != (x < 6)) ? b : a);
    }
    const struct {
        int bitCount;
        bool storeAlpha;
    } cases[] = {{1, true}, {4, true}, {8, true}, {24, true}, {32, true}, {32, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.bitCount << " bits, alpha stored " << c.storeAlpha);
        const QByteArray ico =
            fixtures::icoFile({fixtures::dibImage(picture, c.bitCount, c.storeAlpha)});
        const QImage image = iconfile::decodeIco(ico, 13);
        ASSERT_FALSE(image.isNull());
        ASSERT_EQ(image.size(), QSize(13, 13));
        for (int y = 0; y < 13; ++y) {
            for (int x = 0; x < 13; ++x) {
                SCOPED_TRACE(testing::Message() << "pixel " << x << "," << y);
                if (x == y)
                    EXPECT_EQ(image.pixelColor(x, y).alpha(), 0);
                else
                    EXPECT_TRUE(near(image.pixelColor(x, y), picture.pixelColor(x, y), 0));
            }
        }
    }
}

TEST(IcoDecoding, KeepsThe32BitAlphaChannelAndIgnoresTheMaskThen)
{
    QImage picture = fixtures::solid(16, kGreen);
    picture.setPixelColor(0, 0, QColor(255, 0, 0, 0));      // invisible, though coloured
    picture.setPixelColor(5, 5, QColor(200, 100, 50, 100)); // masked too, as alpha < 128
    picture.setPixelColor(6, 5, QColor(200, 100, 50, 200));
    const QImage image =
        iconfile::decodeIco(fixtures::icoFile({fixtures::dibImage(picture, 32)}), 16);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0);
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
    EXPECT_TRUE(near(image.pixelColor(5, 5), QColor(200, 100, 50, 100), 3));
    EXPECT_TRUE(near(image.pixelColor(6, 5), QColor(200, 100, 50, 200), 2));
    EXPECT_TRUE(near(image.pixelColor(15, 15), kGreen, 0));
}

TEST(IcoDecoding, DecodesPngImagesWithTheirTransparency)
{
    QImage picture = fixtures::solid(48, kBlue);
    for (int x = 0; x < 48; ++x)
        picture.setPixelColor(x, 0, Qt::transparent);
    const QImage image = iconfile::decodeIco(fixtures::icoFile({fixtures::pngImage(picture)}), 48);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.format(), QImage::Format_ARGB32_Premultiplied);
    EXPECT_EQ(image.pixelColor(10, 0).alpha(), 0);
    EXPECT_TRUE(near(image.pixelColor(10, 1), kBlue, 0));
}

TEST(PeIcons, TakesTheFirstIconGroupOfAProgram)
{
    const QList<IconImage> images{fixtures::dibImage(fixtures::solid(16, kRed), 32),
                                  fixtures::pngImage(fixtures::solid(32, kGreen))};
    for (const bool pe32Plus : {false, true}) {
        SCOPED_TRACE(pe32Plus ? "PE32+" : "PE32");
        const QByteArray pe = fixtures::peFile(images, pe32Plus).bytes;
        const QImage small = decodePe(pe, 16);
        const QImage large = decodePe(pe, 32);
        ASSERT_FALSE(small.isNull());
        ASSERT_FALSE(large.isNull());
        EXPECT_EQ(small.size(), QSize(16, 16));
        EXPECT_EQ(large.size(), QSize(32, 32));
        EXPECT_TRUE(near(centre(small), kRed, 0));
        EXPECT_TRUE(near(centre(large), kGreen, 0));

        // The group comes out as an icon file of both images.
        const QByteArray group = peGroup(pe);
        ASSERT_GE(group.size(), 6);
        EXPECT_EQ(group.at(4), 2);
        EXPECT_TRUE(near(centre(iconfile::decodeIco(group, 16)), kRed, 0));
    }
}

TEST(PeIcons, SkipsGroupEntriesWhoseIconIsMissing)
{
    fixtures::PeFile pe = fixtures::peFile({fixtures::dibImage(fixtures::solid(32, kRed), 32),
                                            fixtures::dibImage(fixtures::solid(16, kBlue), 32)});
    fixtures::put16(pe.bytes, pe.groupData + 6 + 12, 77); // the 32-pixel entry names RT_ICON 77
    const QImage image = decodePe(pe.bytes, 32);
    ASSERT_FALSE(image.isNull());
    EXPECT_TRUE(near(centre(image), kBlue, 0));
}

struct Damage {
    const char* name;
    std::function<void(QByteArray&)> apply;
};

TEST(IcoDecoding, RefusesDamagedFiles)
{
    const QByteArray valid = fixtures::icoFile({fixtures::dibImage(fixtures::solid(32, kRed), 8)});
    const qsizetype image = 6 + 16; // the bitmap header
    const Damage cases[] = {
        {"empty", [](QByteArray& b) { b.clear(); }},
        {"header cut short", [](QByteArray& b) { b.truncate(5); }},
        {"directory cut short", [](QByteArray& b) { b.truncate(12); }},
        {"not an icon type", [](QByteArray& b) { fixtures::put16(b, 2, 3); }},
        {"no images", [](QByteArray& b) { fixtures::put16(b, 4, 0); }},
        {"65535 images", [](QByteArray& b) { fixtures::put16(b, 4, 0xffff); }},
        {"offset past the end", [](QByteArray& b) { fixtures::put32(b, 6 + 12, 0xfffffff0u); }},
        {"length past the end", [](QByteArray& b) { fixtures::put32(b, 6 + 8, 0x7fffffffu); }},
        {"image cut short", [](QByteArray& b) { b.truncate(b.size() - 200); }},
        {"bitmap rows cut short",
         [](QByteArray& b) {
             b.truncate(b.size() - 200);
             fixtures::put32(b, 6 + 8, quint32(b.size() - image));
         }},
        {"600 x 600 with all its data",
         [](QByteArray& b) {
             b = fixtures::icoFile({fixtures::dibImage(fixtures::solid(600, kRed), 1)});
         }},
        {"header size huge", [](QByteArray& b) { fixtures::put32(b, image, 0xffffffffu); }},
        {"header size small", [](QByteArray& b) { fixtures::put32(b, image, 12); }},
        {"width huge", [](QByteArray& b) { fixtures::put32(b, image + 4, 100000); }},
        {"width negative", [](QByteArray& b) { fixtures::put32(b, image + 4, 0xffffffe0u); }},
        {"height huge", [](QByteArray& b) { fixtures::put32(b, image + 8, 0x7ffffffeu); }},
        {"height zero", [](QByteArray& b) { fixtures::put32(b, image + 8, 1); }},
        {"height negative", [](QByteArray& b) { fixtures::put32(b, image + 8, 0xffffffc0u); }},
        {"7 bits per pixel", [](QByteArray& b) { fixtures::put16(b, image + 14, 7); }},
        {"compressed", [](QByteArray& b) { fixtures::put32(b, image + 16, 1); }},
        {"palette larger than the depth",
         [](QByteArray& b) { fixtures::put32(b, image + 32, 257); }},
        {"palette count huge", [](QByteArray& b) { fixtures::put32(b, image + 32, 0xffffffffu); }},
        {"PNG signature only",
         [](QByteArray& b) {
             b = fixtures::icoFile({{32, 32, 32, QByteArray("\x89PNG\r\n\x1a\n", 8)}});
         }},
        {"PNG claiming 100000 x 100000",
         [](QByteArray& b) {
             QByteArray p = fixtures::png(fixtures::solid(32, kRed));
             fixtures::put32(p, 16, 0xa0860100u); // big-endian 100000
             fixtures::put32(p, 20, 0xa0860100u);
             b = fixtures::icoFile({{32, 32, 32, p}});
         }},
        {"PNG cut short",
         [](QByteArray& b) {
             b = fixtures::icoFile(
                 {{32, 32, 32, fixtures::png(fixtures::solid(32, kRed)).left(40)}});
         }},
    };
    for (const Damage& c : cases) {
        SCOPED_TRACE(c.name);
        QByteArray bytes = valid;
        c.apply(bytes);
        bytes = QByteArray(bytes.constData(), bytes.size()); // no slack behind the data
        EXPECT_TRUE(iconfile::decodeIco(bytes, 32).isNull());
    }
    EXPECT_FALSE(iconfile::decodeIco(valid, 32).isNull());
}

TEST(PeIcons, RefuseDamagedPrograms)
{
    const fixtures::PeFile valid =
        fixtures::peFile({fixtures::dibImage(fixtures::solid(32, kRed), 32)});
    using P = fixtures::PeFile;
    const struct {
        const char* name;
        std::function<void(P&)> apply;
    } cases[] = {
        {"empty", [](P& p) { p.bytes.clear(); }},
        {"DOS header only", [](P& p) { p.bytes.truncate(2); }},
        {"PE header offset past the end",
         [](P& p) { fixtures::put32(p.bytes, 0x3c, 0x7ffffff0u); }},
        {"PE header offset wraps", [](P& p) { fixtures::put32(p.bytes, 0x3c, 0xffffffffu); }},
        {"no PE signature", [](P& p) { p.bytes[0x41] = 'X'; }},
        {"no sections", [](P& p) { fixtures::put16(p.bytes, p.sectionCount, 0); }},
        {"65535 sections", [](P& p) { fixtures::put16(p.bytes, p.sectionCount, 0xffff); }},
        {"resources outside every section",
         [](P& p) { fixtures::put32(p.bytes, p.resourceRva, 0x90000); }},
        {"cut inside the resources", [](P& p) { p.bytes.truncate(p.resourceSection + 40); }},
        {"root with 65535 entries", [](P& p) { fixtures::put16(p.bytes, p.rootIdCount, 0xffff); }},
        {"icon type with 65535 entries",
         [](P& p) { fixtures::put16(p.bytes, p.iconTypeIdCount, 0xffff); }},
        {"group type is the root itself",
         [](P& p) { fixtures::put32(p.bytes, p.groupTypeTarget, 0x80000000u); }},
        {"group points to its own directory",
         [](P& p) {
             const quint32 self = quint32(p.groupNameTarget - 4 - 16 - p.resourceSection);
             fixtures::put32(p.bytes, p.groupNameTarget, 0x80000000u | self);
         }},
        {"language entry is a directory",
         [](P& p) {
             const quint32 self = quint32(p.groupLanguageTarget - 4 - 16 - p.resourceSection);
             fixtures::put32(p.bytes, p.groupLanguageTarget, 0x80000000u | self);
         }},
        {"directory offset past the section",
         [](P& p) { fixtures::put32(p.bytes, p.groupNameTarget, 0x8ffffff0u); }},
        {"group data size huge",
         [](P& p) { fixtures::put32(p.bytes, p.groupDataSize, 0x7fffffffu); }},
        {"group with 65535 icons", [](P& p) { fixtures::put16(p.bytes, p.groupData + 4, 0xffff); }},
        {"group names a missing icon",
         [](P& p) { fixtures::put16(p.bytes, p.groupData + 6 + 12, 9); }},
        {"icon data is garbage",
         [](P& p) {
             for (int i = 0; i < 64; ++i)
                 p.bytes[p.firstIconData + i] = char(0xff);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        P pe = valid;
        c.apply(pe);
        EXPECT_TRUE(decodePe(QByteArray(pe.bytes.constData(), pe.bytes.size()), 32).isNull());
    }
    EXPECT_FALSE(decodePe(valid.bytes, 32).isNull());
}

// Keeps the image decoders' complaints about damaged data out of the output.
class QuietMessages
{
public:
    QuietMessages()
        : previous_(
              qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {}))
    {
    }
    ~QuietMessages() { qInstallMessageHandler(previous_); }
    QuietMessages(const QuietMessages&) = delete;
    QuietMessages& operator=(const QuietMessages&) = delete;

private:
    QtMessageHandler previous_;
};

TEST(IconDecoding, SurvivesRandomDamage)
{
    const QuietMessages quiet;
    const QList<IconImage> images{fixtures::dibImage(fixtures::solid(16, kRed), 4),
                                  fixtures::dibImage(fixtures::solid(24, kBlue), 1),
                                  fixtures::dibImage(fixtures::solid(32, kGreen), 32),
                                  fixtures::pngImage(fixtures::solid(48, kYellow))};
    const QByteArray ico = fixtures::icoFile(images);
    const QByteArray pe = fixtures::peFile(images).bytes;

    std::mt19937 random(20240611);
    auto below = [&random](qsizetype n) {
        return qsizetype(std::uniform_int_distribution<qint64>(0, n - 1)(random));
    };
    QElapsedTimer timer;
    timer.start();
    for (int round = 0; round < 2000; ++round) {
        const bool isPe = round % 2 == 1;
        QByteArray bytes = isPe ? pe : ico;
        const int mutations = 1 + int(below(4));
        for (int m = 0; m < mutations && !bytes.isEmpty(); ++m) {
            switch (below(4)) {
            case 0: // flip a bit
                bytes[below(bytes.size())] ^= char(1 << below(8));
                break;
            case 1: // any byte value
                bytes[below(bytes.size())] = char(below(256));
                break;
            case 2: // a large 32-bit value
                if (bytes.size() >= 4)
                    fixtures::put32(bytes, below(bytes.size() - 3),
                                    below(2) == 0 ? 0xffffffffu : 0x7ffffff0u);
                break;
            case 3: // cut short
                bytes.truncate(below(bytes.size()));
                break;
            }
        }
        bytes = QByteArray(bytes.constData(), bytes.size()); // no slack behind the data
        const int size = 12 + int(below(40));
        SCOPED_TRACE(testing::Message() << "round " << round);
        const QImage image = isPe ? decodePe(bytes, size) : iconfile::decodeIco(bytes, size);
        if (!image.isNull()) {
            ASSERT_EQ(image.size(), QSize(size, size));
        }
    }
    // Generous, even under sanitizers; a loop that never ends fails here
    // rather than in the test runner's timeout.
    EXPECT_LT(timer.elapsed(), 60000);
}

} // namespace
