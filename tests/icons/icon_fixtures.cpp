#include "icons/icon_fixtures.h"

#include <QBuffer>

#include <stdexcept>

namespace fixtures
{

namespace
{

void append16(QByteArray& b, quint32 v)
{
    b.append(char(v & 0xff));
    b.append(char((v >> 8) & 0xff));
}

void append32(QByteArray& b, quint32 v)
{
    append16(b, v & 0xffff);
    append16(b, v >> 16);
}

void padTo(QByteArray& b, qsizetype size)
{
    if (b.size() < size)
        b.append(size - b.size(), '\0');
}

} // namespace

void put16(QByteArray& bytes, qsizetype at, quint32 value)
{
    bytes[at] = char(value & 0xff);
    bytes[at + 1] = char((value >> 8) & 0xff);
}

void put32(QByteArray& bytes, qsizetype at, quint32 value)
{
    put16(bytes, at, value & 0xffff);
    put16(bytes, at + 2, value >> 16);
}

QImage solid(int side, QColor color)
{
    QImage image(side, side, QImage::Format_ARGB32);
    image.fill(color);
    return image;
}

QByteArray dib(const QImage& source, int bitCount, bool storeAlpha)
{
    const QImage picture = source.convertToFormat(QImage::Format_ARGB32);
    const int w = picture.width();
    const int h = picture.height();
    const int paletteSize = bitCount <= 8 ? 1 << bitCount : 0;

    QList<QRgb> colors;
    if (paletteSize > 0) {
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const QRgb c = picture.pixel(x, y) | 0xff000000u;
                if (qAlpha(picture.pixel(x, y)) >= 128 && !colors.contains(c))
                    colors.append(c);
            }
        }
        if (colors.size() > paletteSize)
            throw std::invalid_argument("too many colours for the palette");
    }
    auto indexOf = [&](QRgb c) {
        const qsizetype i = colors.indexOf(c | 0xff000000u);
        return i < 0 ? paletteSize - 1 : paletteSize - 1 - int(i);
    };

    QByteArray b;
    append32(b, 40);
    append32(b, quint32(w));
    append32(b, quint32(h * 2));
    append16(b, 1);
    append16(b, quint32(bitCount));
    append32(b, 0); // BI_RGB
    append32(b, 0);
    append32(b, 0);
    append32(b, 0);
    append32(b, 0); // all palette entries
    append32(b, 0);
    for (int i = 0; i < paletteSize; ++i) {
        const qsizetype k = paletteSize - 1 - i;
        // Unused entries get a colour of their own, so a wrong index shows.
        const QRgb c = k < colors.size() ? colors[k] : qRgb(17, 99, 201);
        b.append(char(qBlue(c)));
        b.append(char(qGreen(c)));
        b.append(char(qRed(c)));
        b.append('\0');
    }

    const int xorStride = (w * bitCount + 31) / 32 * 4;
    for (int row = 0; row < h; ++row) {
        const int y = h - 1 - row;
        QByteArray line(xorStride, '\0');
        for (int x = 0; x < w; ++x) {
            const QRgb c = picture.pixel(x, y);
            switch (bitCount) {
            case 1:
                line[x / 8] = char(line[x / 8] | (indexOf(c) << (7 - x % 8)));
                break;
            case 4:
                line[x / 2] = char(line[x / 2] | (indexOf(c) << (x % 2 == 0 ? 4 : 0)));
                break;
            case 8:
                line[x] = char(indexOf(c));
                break;
            case 24:
                line[x * 3] = char(qBlue(c));
                line[x * 3 + 1] = char(qGreen(c));
                line[x * 3 + 2] = char(qRed(c));
                break;
            case 32:
                line[x * 4] = char(qBlue(c));
                line[x * 4 + 1] = char(qGreen(c));
                line[x * 4 + 2] = char(qRed(c));
                line[x * 4 + 3] = storeAlpha ? char(qAlpha(c)) : '\0';
                break;
            default:
                throw std::invalid_argument("bit count");
            }
        }
        b.append(line);
    }
    const int andStride = (w + 31) / 32 * 4;
    for (int row = 0; row < h; ++row) {
        const int y = h - 1 - row;
        QByteArray line(andStride, '\0');
        for (int x = 0; x < w; ++x) {
            if (qAlpha(picture.pixel(x, y)) < 128)
                line[x / 8] = char(line[x / 8] | (1 << (7 - x % 8)));
        }
        b.append(line);
    }
    return b;
}

QByteArray png(const QImage& picture)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    return bytes;
}

IconImage dibImage(const QImage& picture, int bitCount, bool storeAlpha)
{
    return {picture.width(), picture.height(), bitCount, dib(picture, bitCount, storeAlpha)};
}

IconImage pngImage(const QImage& picture)
{
    return {picture.width(), picture.height(), 32, png(picture)};
}

QByteArray icoFile(const QList<IconImage>& images)
{
    QByteArray b;
    append16(b, 0);
    append16(b, 1);
    append16(b, quint32(images.size()));
    quint32 offset = quint32(6 + 16 * images.size());
    for (const IconImage& image : images) {
        b.append(char(image.width >= 256 ? 0 : image.width));
        b.append(char(image.height >= 256 ? 0 : image.height));
        b.append('\0');
        b.append('\0');
        append16(b, 1);
        append16(b, quint32(image.bitCount));
        append32(b, quint32(image.data.size()));
        append32(b, offset);
        offset += quint32(image.data.size());
    }
    for (const IconImage& image : images)
        b.append(image.data);
    return b;
}

PeFile peFile(const QList<IconImage>& images, bool pe32Plus)
{
    constexpr quint32 kSectionRva = 0x1000;
    constexpr qsizetype kSectionFileOffset = 0x200;
    const auto n = quint32(images.size());

    // The resource section's layout, as offsets from its start.
    const quint32 root = 0;
    const quint32 iconType = root + 16 + 2 * 8;
    const quint32 groupType = iconType + 16 + n * 8;
    const quint32 iconLanguages = groupType + 16 + 8;
    const quint32 groupLanguage = iconLanguages + n * 24;
    const quint32 iconDataEntries = groupLanguage + 24;
    const quint32 groupDataEntry = iconDataEntries + n * 16;
    const quint32 groupData = groupDataEntry + 16;
    const quint32 groupSize = 6 + 14 * n;
    quint32 iconData = (groupData + groupSize + 3) & ~3u;

    PeFile pe;
    QByteArray r;
    // Root: RT_ICON and RT_GROUP_ICON, ids in ascending order.
    append32(r, 0);
    append32(r, 0);
    append32(r, 0);
    append16(r, 0);
    append16(r, 2);
    append32(r, 3);
    append32(r, 0x80000000u | iconType);
    append32(r, 14);
    pe.groupTypeTarget = r.size();
    append32(r, 0x80000000u | groupType);
    // RT_ICON: ids 1..n.
    append32(r, 0);
    append32(r, 0);
    append32(r, 0);
    append16(r, 0);
    pe.iconTypeIdCount = r.size();
    append16(r, n);
    for (quint32 i = 0; i < n; ++i) {
        append32(r, i + 1);
        append32(r, 0x80000000u | (iconLanguages + i * 24));
    }
    // RT_GROUP_ICON: id 1.
    append32(r, 0);
    append32(r, 0);
    append32(r, 0);
    append16(r, 0);
    append16(r, 1);
    append32(r, 1);
    pe.groupNameTarget = r.size();
    append32(r, 0x80000000u | groupLanguage);
    // Language directories, one entry each (0x409).
    for (quint32 i = 0; i <= n; ++i) {
        append32(r, 0);
        append32(r, 0);
        append32(r, 0);
        append16(r, 0);
        append16(r, 1);
        append32(r, 0x409);
        if (i == n)
            pe.groupLanguageTarget = r.size();
        append32(r, i < n ? iconDataEntries + i * 16 : groupDataEntry);
    }
    // Data entries, by RVA.
    QList<quint32> iconOffsets;
    for (const IconImage& image : images) {
        iconOffsets.append(iconData);
        append32(r, kSectionRva + iconData);
        append32(r, quint32(image.data.size()));
        append32(r, 0);
        append32(r, 0);
        iconData = (iconData + quint32(image.data.size()) + 3) & ~3u;
    }
    append32(r, kSectionRva + groupData);
    pe.groupDataSize = r.size();
    append32(r, groupSize);
    append32(r, 0);
    append32(r, 0);
    // GRPICONDIR.
    append16(r, 0);
    append16(r, 1);
    append16(r, n);
    for (quint32 i = 0; i < n; ++i) {
        const IconImage& image = images[i];
        r.append(char(image.width >= 256 ? 0 : image.width));
        r.append(char(image.height >= 256 ? 0 : image.height));
        r.append('\0');
        r.append('\0');
        append16(r, 1);
        append16(r, quint32(image.bitCount));
        append32(r, quint32(image.data.size()));
        append16(r, i + 1);
    }
    for (quint32 i = 0; i < n; ++i) {
        padTo(r, iconOffsets[i]);
        r.append(images[i].data);
    }
    padTo(r, (r.size() + 0x1ff) & ~qsizetype(0x1ff));

    // Headers: DOS stub, PE signature, COFF header, optional header, one section.
    QByteArray& b = pe.bytes;
    b.append("MZ");
    padTo(b, 0x3c);
    append32(b, 0x40);
    b.append(QByteArray("PE\0\0", 4));
    append16(b, pe32Plus ? 0x8664 : 0x14c);
    pe.sectionCount = b.size();
    append16(b, 1);
    append32(b, 0);
    append32(b, 0);
    append32(b, 0);
    const quint32 optionalSize = pe32Plus ? 240 : 224;
    append16(b, optionalSize);
    append16(b, 0x0102);
    const qsizetype optional = b.size();
    padTo(b, optional + optionalSize);
    put16(b, optional, pe32Plus ? 0x20b : 0x10b);
    put32(b, optional + (pe32Plus ? 108 : 92), 16);
    pe.resourceRva = optional + (pe32Plus ? 112 : 96) + 2 * 8;
    put32(b, pe.resourceRva, kSectionRva);
    put32(b, pe.resourceRva + 4, quint32(r.size()));
    b.append(".rsrc\0\0\0", 8);
    append32(b, quint32(r.size()));
    append32(b, kSectionRva);
    append32(b, quint32(r.size()));
    append32(b, quint32(kSectionFileOffset));
    padTo(b, b.size() + 16);
    padTo(b, kSectionFileOffset);

    pe.resourceSection = b.size();
    pe.rootIdCount = pe.resourceSection + 14;
    pe.groupTypeTarget += pe.resourceSection;
    pe.groupNameTarget += pe.resourceSection;
    pe.groupLanguageTarget += pe.resourceSection;
    pe.iconTypeIdCount += pe.resourceSection;
    pe.groupDataSize += pe.resourceSection;
    pe.groupData = pe.resourceSection + groupData;
    pe.firstIconData = n > 0 ? pe.resourceSection + iconOffsets[0] : 0;
    b.append(r);
    return pe;
}

} // namespace fixtures
