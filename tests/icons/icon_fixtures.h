#pragma once

// Icon files and Windows programs with icon resources, built byte by byte so
// that tests can damage any field of them.
#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QList>

namespace fixtures
{

// One image of an icon file: its directory fields and its stored bytes.
struct IconImage {
    int width = 0;
    int height = 0;
    int bitCount = 0;
    QByteArray data;
};

// A picture of side x side in one colour.
QImage solid(int side, QColor color);

// picture as a Windows bitmap of bitCount bits per pixel with an AND mask
// that is set where the picture is transparent (alpha below 128). Pictures of
// 8 bits per pixel or fewer may use as many colours as the palette holds; the
// colours are stored from the end of the palette backwards. With 32 bits per
// pixel the alpha channel is stored unless storeAlpha is false (alpha bytes 0,
// as older writers leave them).
QByteArray dib(const QImage& picture, int bitCount, bool storeAlpha = true);
QByteArray png(const QImage& picture);

IconImage dibImage(const QImage& picture, int bitCount, bool storeAlpha = true);
IconImage pngImage(const QImage& picture);

QByteArray icoFile(const QList<IconImage>& images);

// A PE program with one resource section: one RT_GROUP_ICON naming the images
// as RT_ICON 1..n, each in one language. The offsets let tests damage it.
struct PeFile {
    QByteArray bytes;
    qsizetype sectionCount = 0;        // u16 NumberOfSections
    qsizetype resourceRva = 0;         // u32 resource data directory RVA
    qsizetype resourceSection = 0;     // file offset of the resource section
    qsizetype rootIdCount = 0;         // u16 id entry count of the root directory
    qsizetype groupTypeTarget = 0;     // u32 root entry for RT_GROUP_ICON: its subdirectory
    qsizetype groupNameTarget = 0;     // u32 group type entry: the group's language directory
    qsizetype groupLanguageTarget = 0; // u32 group language entry: its data entry
    qsizetype iconTypeIdCount = 0;     // u16 id entry count of the RT_ICON directory
    qsizetype groupDataSize = 0;       // u32 size in the group's data entry
    qsizetype groupData = 0;           // GRPICONDIR
    qsizetype firstIconData = 0;       // bytes of RT_ICON 1
};
PeFile peFile(const QList<IconImage>& images, bool pe32Plus = false);

void put16(QByteArray& bytes, qsizetype at, quint32 value);
void put32(QByteArray& bytes, qsizetype at, quint32 value);

} // namespace fixtures
