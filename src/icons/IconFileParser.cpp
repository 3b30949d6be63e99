#include "icons/IconFileParser.h"

#include <QHash>
#include <QIODevice>
#include <QPainter>

#include <algorithm>
#include <array>
#include <optional>
#include <tuple>

namespace pw::platform::iconfile
{

namespace
{

// Icon entries tried, best first, before giving up on a damaged file.
constexpr int kMaxDecodeAttempts = 8;
// The Windows loader refuses programs with more sections than this.
constexpr int kMaxPeSections = 96;

constexpr quint16 kResourceIcon = 3;       // RT_ICON
constexpr quint16 kResourceGroupIcon = 14; // RT_GROUP_ICON
constexpr quint32 kHighBit = 0x80000000u;

quint16 le16(const char* p)
{
    const auto* u = reinterpret_cast<const uchar*>(p);
    return quint16(u[0] | (u[1] << 8));
}

quint32 le32(const char* p)
{
    const auto* u = reinterpret_cast<const uchar*>(p);
    return quint32(u[0]) | (quint32(u[1]) << 8) | (quint32(u[2]) << 16) | (quint32(u[3]) << 24);
}

quint32 be32(const char* p)
{
    const auto* u = reinterpret_cast<const uchar*>(p);
    return (quint32(u[0]) << 24) | (quint32(u[1]) << 16) | (quint32(u[2]) << 8) | quint32(u[3]);
}

// True when [offset, offset + length) lies inside a buffer of total bytes.
bool fits(qint64 total, qint64 offset, qint64 length)
{
    return offset >= 0 && length >= 0 && offset <= total && length <= total - offset;
}

bool sizeInRange(int size)
{
    return size >= 1 && size <= kMaxRequestedSize;
}

// ---------------------------------------------------------------------------
// Icon file images

QImage decodePng(QByteArrayView blob)
{
    static constexpr char kSignature[] = "\x89PNG\r\n\x1a\n";
    // Signature, then the IHDR chunk: length, type, width, height.
    if (blob.size() < 24 || blob.first(8) != QByteArrayView(kSignature, 8) ||
        blob.sliced(12, 4) != QByteArrayView("IHDR"))
        return {};
    const quint32 width = be32(blob.data() + 16);
    const quint32 height = be32(blob.data() + 20);
    if (width < 1 || height < 1 || width > quint32(kMaxImageSide) ||
        height > quint32(kMaxImageSide))
        return {};
    QImage image;
    if (!image.loadFromData(blob, "PNG"))
        return {};
    if (image.width() != int(width) || image.height() != int(height))
        return {};
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// A device-independent bitmap as stored in icon files: the header's height
// counts the colour rows and the AND mask rows together, rows run bottom-up.
QImage decodeDib(QByteArrayView blob)
{
    const qint64 total = blob.size();
    if (!fits(total, 0, 40))
        return {};
    const char* d = blob.data();
    const quint32 headerSize = le32(d);
    const auto width = qint32(le32(d + 4));
    const auto doubleHeight = qint32(le32(d + 8));
    const quint16 bitCount = le16(d + 14);
    const quint32 compression = le32(d + 16);
    const quint32 colorsUsed = le32(d + 32);

    if (headerSize < 40 || !fits(total, 0, headerSize))
        return {};
    const int height = doubleHeight / 2;
    if (width < 1 || width > kMaxImageSide || height < 1 || height > kMaxImageSide)
        return {};
    if (compression != 0) // BI_RGB only
        return {};
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24 && bitCount != 32)
        return {};

    qint64 paletteCount = 0;
    if (bitCount <= 8) {
        const qint64 maxColors = qint64(1) << bitCount;
        if (colorsUsed > maxColors)
            return {};
        paletteCount = colorsUsed != 0 ? colorsUsed : maxColors;
    } else if (colorsUsed != 0) {
        // An optional colour table ahead of direct-colour pixels; skipped.
        if (colorsUsed > 256)
            return {};
        paletteCount = colorsUsed;
    }
    const qint64 paletteOffset = headerSize;
    const qint64 xorStride = (qint64(width) * bitCount + 31) / 32 * 4;
    const qint64 andStride = (qint64(width) + 31) / 32 * 4;
    const qint64 xorOffset = paletteOffset + paletteCount * 4;
    const qint64 andOffset = xorOffset + xorStride * height;
    if (!fits(total, xorOffset, xorStride * height))
        return {};
    // Some writers leave the mask out; the picture is then opaque (or
    // carries its own alpha).
    const bool hasMask = fits(total, andOffset, andStride * height);

    std::array<QRgb, 256> palette{};
    if (bitCount <= 8) {
        for (qint64 i = 0; i < paletteCount; ++i) {
            const char* entry = d + paletteOffset + i * 4;
            palette[std::size_t(i)] = qRgb(uchar(entry[2]), uchar(entry[1]), uchar(entry[0]));
        }
    }

    QImage image(width, height, QImage::Format_ARGB32);
    if (image.isNull())
        return {};

    bool anyAlpha = false;
    for (int row = 0; row < height; ++row) {
        const auto* src = reinterpret_cast<const uchar*>(d + xorOffset + row * xorStride);
        auto* dst = reinterpret_cast<QRgb*>(image.scanLine(height - 1 - row));
        for (int x = 0; x < width; ++x) {
            switch (bitCount) {
            case 1:
                dst[x] = palette[(src[x / 8] >> (7 - x % 8)) & 1];
                break;
            case 4:
                dst[x] = palette[(src[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 0x0f];
                break;
            case 8:
                dst[x] = palette[src[x]];
                break;
            case 24:
                dst[x] = qRgb(src[x * 3 + 2], src[x * 3 + 1], src[x * 3]);
                break;
            case 32: {
                const uchar alpha = src[x * 4 + 3];
                anyAlpha = anyAlpha || alpha != 0;
                dst[x] = qRgba(src[x * 4 + 2], src[x * 4 + 1], src[x * 4], alpha);
                break;
            }
            }
        }
    }

    // A 32-bit image with an alpha channel is drawn by its alpha alone; older
    // 32-bit images leave alpha at zero and rely on the mask like the others.
    if (!(bitCount == 32 && anyAlpha)) {
        for (int row = 0; row < height; ++row) {
            const auto* mask =
                hasMask ? reinterpret_cast<const uchar*>(d + andOffset + row * andStride) : nullptr;
            auto* dst = reinterpret_cast<QRgb*>(image.scanLine(height - 1 - row));
            for (int x = 0; x < width; ++x) {
                const bool transparent = mask && ((mask[x / 8] >> (7 - x % 8)) & 1) != 0;
                dst[x] = transparent ? qRgba(0, 0, 0, 0) : (dst[x] | 0xff000000u);
            }
        }
    }
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage decodeIconImage(QByteArrayView blob)
{
    if (blob.startsWith(QByteArrayView("\x89PNG", 4)))
        return decodePng(blob);
    return decodeDib(blob);
}

struct IcoEntry {
    int side = 0;     // the larger of width and height, as the directory says
    int bitDepth = 0; // as the directory says; only used to rank entries
    qint64 offset = 0;
    qint64 length = 0;
};

QList<IcoEntry> readIcoDirectory(QByteArrayView data)
{
    const qint64 total = data.size();
    if (!fits(total, 0, 6))
        return {};
    const char* d = data.data();
    const quint16 reserved = le16(d);
    const quint16 type = le16(d + 2);
    const quint16 count = le16(d + 4);
    if (reserved != 0 || type != 1 || count == 0 || !fits(total, 6, qint64(count) * 16))
        return {};

    QList<IcoEntry> entries;
    for (int i = 0; i < count; ++i) {
        const char* e = d + 6 + i * 16;
        const int width = uchar(e[0]) == 0 ? 256 : uchar(e[0]);
        const int height = uchar(e[1]) == 0 ? 256 : uchar(e[1]);
        const int colors = uchar(e[2]);
        int bitDepth = le16(e + 6);
        if (bitDepth == 0)
            bitDepth = colors == 2 ? 1 : colors == 16 ? 4 : colors != 0 ? 8 : 0;
        const qint64 length = le32(e + 8);
        const qint64 offset = le32(e + 12);
        if (length == 0 || !fits(total, offset, length))
            continue;
        entries.append({std::max(width, height), bitDepth, offset, length});
    }
    return entries;
}

// ---------------------------------------------------------------------------
// PE resources

// Reads byte ranges of a file within its size and a total budget.
class BoundedReader
{
public:
    explicit BoundedReader(QIODevice& device)
        : device_(device), size_(device.isSequential() ? -1 : device.size())
    {
    }

    std::optional<QByteArray> read(qint64 offset, qint64 length)
    {
        if (size_ < 0 || !fits(size_, offset, length) || length > budget_)
            return std::nullopt;
        if (!device_.seek(offset))
            return std::nullopt;
        QByteArray bytes = device_.read(length);
        budget_ -= bytes.size();
        if (bytes.size() != length)
            return std::nullopt;
        return bytes;
    }

private:
    QIODevice& device_;
    qint64 size_;
    qint64 budget_ = kMaxBytesRead;
};

struct Section {
    quint32 virtualAddress = 0;
    quint32 extent = 0; // bytes of the section present in the file
    quint32 rawOffset = 0;
};

struct DirectoryEntry {
    quint32 name = 0;   // an id unless the high bit is set
    quint32 target = 0; // a subdirectory when the high bit is set, else a data entry
};

class PeResources
{
public:
    explicit PeResources(QIODevice& device) : reader_(device) {}

    QByteArray iconGroupAsIco()
    {
        if (!readHeaders())
            return {};
        const auto root = readDirectory(0);
        if (!root)
            return {};
        const std::optional<quint32> groupTypeDir = findSubdirectoryById(*root, kResourceGroupIcon);
        const std::optional<quint32> iconTypeDir = findSubdirectoryById(*root, kResourceIcon);
        if (!groupTypeDir || !iconTypeDir)
            return {};

        // The first group, whether it is named or numbered.
        const auto groups = readDirectory(*groupTypeDir);
        if (!groups || groups->isEmpty() || (groups->first().target & kHighBit) == 0)
            return {};
        const std::optional<QByteArray> group = languageData(groups->first().target & ~kHighBit);
        if (!group)
            return {};

        const auto icons = readDirectory(*iconTypeDir);
        if (!icons)
            return {};
        QHash<quint16, quint32> iconDirs; // icon id -> its language directory
        for (const DirectoryEntry& e : *icons) {
            if ((e.name & kHighBit) == 0 && e.name <= 0xffff && (e.target & kHighBit) != 0)
                iconDirs.insert(quint16(e.name), e.target & ~kHighBit);
        }
        return assembleIco(*group, iconDirs);
    }

private:
    bool readHeaders()
    {
        const auto dos = reader_.read(0, 64);
        if (!dos || !dos->startsWith("MZ"))
            return false;
        const qint64 peOffset = le32(dos->constData() + 0x3c);
        const auto coff = reader_.read(peOffset, 24);
        if (!coff || !coff->startsWith(QByteArrayView("PE\0\0", 4)))
            return false;
        const quint16 sectionCount = le16(coff->constData() + 6);
        const quint16 optionalSize = le16(coff->constData() + 20);
        if (sectionCount == 0 || sectionCount > kMaxPeSections)
            return false;

        const auto optional = reader_.read(peOffset + 24, optionalSize);
        if (!optional || optional->size() < 2)
            return false;
        qint64 countOffset = 0;
        qint64 directoriesOffset = 0;
        switch (le16(optional->constData())) {
        case 0x10b: // PE32
            countOffset = 92;
            directoriesOffset = 96;
            break;
        case 0x20b: // PE32+
            countOffset = 108;
            directoriesOffset = 112;
            break;
        default:
            return false;
        }
        constexpr int kResourceDirectory = 2;
        const qint64 resourceEntry = directoriesOffset + kResourceDirectory * 8;
        if (!fits(optional->size(), resourceEntry, 8) ||
            le32(optional->constData() + countOffset) <= quint32(kResourceDirectory))
            return false;
        const quint32 resourceRva = le32(optional->constData() + resourceEntry);
        if (resourceRva == 0)
            return false;

        const auto table = reader_.read(peOffset + 24 + optionalSize, qint64(sectionCount) * 40);
        if (!table)
            return false;
        for (int i = 0; i < sectionCount; ++i) {
            const char* s = table->constData() + i * 40;
            const quint32 virtualSize = le32(s + 8);
            const quint32 rawSize = le32(s + 16);
            sections_.append({le32(s + 12),
                              virtualSize != 0 ? std::min(virtualSize, rawSize) : rawSize,
                              le32(s + 20)});
        }

        // Offsets inside the resource tree count from its start and must stay
        // within the section that holds it.
        for (const Section& s : sections_) {
            if (resourceRva >= s.virtualAddress && resourceRva - s.virtualAddress < s.extent) {
                resourceOffset_ = qint64(s.rawOffset) + (resourceRva - s.virtualAddress);
                resourceLength_ = s.extent - (resourceRva - s.virtualAddress);
                return true;
            }
        }
        return false;
    }

    // The file offset of length bytes at a relative virtual address, when
    // they lie within one section's data.
    std::optional<qint64> fileOffset(quint32 rva, quint32 length) const
    {
        for (const Section& s : sections_) {
            if (rva >= s.virtualAddress && rva - s.virtualAddress < s.extent &&
                length <= s.extent - (rva - s.virtualAddress))
                return qint64(s.rawOffset) + (rva - s.virtualAddress);
        }
        return std::nullopt;
    }

    std::optional<QByteArray> readResource(qint64 relative, qint64 length)
    {
        if (!fits(resourceLength_, relative, length))
            return std::nullopt;
        return reader_.read(resourceOffset_ + relative, length);
    }

    std::optional<QList<DirectoryEntry>> readDirectory(qint64 relative)
    {
        const auto header = readResource(relative, 16);
        if (!header)
            return std::nullopt;
        const qint64 count =
            qint64(le16(header->constData() + 12)) + le16(header->constData() + 14);
        const auto raw = readResource(relative + 16, count * 8);
        if (!raw)
            return std::nullopt;
        QList<DirectoryEntry> entries;
        entries.reserve(count);
        for (qint64 i = 0; i < count; ++i)
            entries.append({le32(raw->constData() + i * 8), le32(raw->constData() + i * 8 + 4)});
        return entries;
    }

    static std::optional<quint32> findSubdirectoryById(const QList<DirectoryEntry>& entries,
                                                       quint16 id)
    {
        for (const DirectoryEntry& e : entries) {
            if (e.name == id && (e.target & kHighBit) != 0)
                return e.target & ~kHighBit;
        }
        return std::nullopt;
    }

    // The data of the first language of a resource: the tree ends here, so a
    // further subdirectory is refused rather than followed.
    std::optional<QByteArray> languageData(qint64 languageDir)
    {
        const auto header = readResource(languageDir, 16);
        if (!header)
            return std::nullopt;
        if (le16(header->constData() + 12) + le16(header->constData() + 14) == 0)
            return std::nullopt;
        const auto first = readResource(languageDir + 16, 8);
        if (!first)
            return std::nullopt;
        const quint32 target = le32(first->constData() + 4);
        if ((target & kHighBit) != 0)
            return std::nullopt;
        const auto dataEntry = readResource(target, 16);
        if (!dataEntry)
            return std::nullopt;
        const quint32 rva = le32(dataEntry->constData());
        const quint32 length = le32(dataEntry->constData() + 4);
        const std::optional<qint64> offset = fileOffset(rva, length);
        if (!offset)
            return std::nullopt;
        return reader_.read(*offset, length);
    }

    QByteArray assembleIco(const QByteArray& group, const QHash<quint16, quint32>& iconDirs)
    {
        if (group.size() < 6 || le16(group.constData()) != 0 || le16(group.constData() + 2) != 1)
            return {};
        const int count = le16(group.constData() + 4);
        if (!fits(group.size(), 6, qint64(count) * 14))
            return {};

        struct Image {
            QByteArray header; // the first 8 bytes of the directory entry
            QByteArray data;
        };
        QList<Image> images;
        QHash<quint16, QByteArray> loaded;
        qint64 totalBytes = 0;
        for (int i = 0; i < count; ++i) {
            const char* e = group.constData() + 6 + i * 14;
            const quint16 id = le16(e + 12);
            auto known = loaded.constFind(id);
            if (known == loaded.cend()) {
                const auto dir = iconDirs.constFind(id);
                std::optional<QByteArray> data;
                if (dir != iconDirs.cend())
                    data = languageData(*dir);
                known = loaded.insert(id, data.value_or(QByteArray()));
            }
            if (known->isEmpty())
                continue;
            totalBytes += 16 + known->size();
            if (totalBytes > kMaxBytesRead)
                return {};
            images.append({QByteArray(e, 8), *known});
        }
        if (images.isEmpty())
            return {};

        QByteArray ico;
        ico.reserve(6 + images.size() * 16 + totalBytes);
        auto put16 = [&ico](quint32 v) {
            ico.append(char(v & 0xff));
            ico.append(char((v >> 8) & 0xff));
        };
        auto put32 = [&put16](quint32 v) {
            put16(v & 0xffff);
            put16(v >> 16);
        };
        put16(0);
        put16(1);
        put16(quint32(images.size()));
        quint32 offset = quint32(6 + images.size() * 16);
        for (const Image& image : images) {
            ico.append(image.header);
            put32(quint32(image.data.size()));
            put32(offset);
            offset += quint32(image.data.size());
        }
        for (const Image& image : images)
            ico.append(image.data);
        return ico;
    }

    BoundedReader reader_;
    QList<Section> sections_;
    qint64 resourceOffset_ = 0;
    qint64 resourceLength_ = 0;
};

} // namespace

QImage decodeIco(QByteArrayView data, int size)
{
    if (!sizeInRange(size))
        return {};
    QList<IcoEntry> entries = readIcoDirectory(data);
    // Nearest first: the smallest image at least size wide, then the larger
    // ones below it from the top; among equal sizes the deepest colour.
    auto rank = [size](const IcoEntry& e) {
        const bool largeEnough = e.side >= size;
        return std::tuple(largeEnough ? 0 : 1, largeEnough ? e.side : -e.side, -e.bitDepth);
    };
    std::stable_sort(entries.begin(), entries.end(),
                     [&rank](const IcoEntry& a, const IcoEntry& b) { return rank(a) < rank(b); });

    const qsizetype attempts = std::min<qsizetype>(entries.size(), kMaxDecodeAttempts);
    for (qsizetype i = 0; i < attempts; ++i) {
        const QImage image = decodeIconImage(data.sliced(entries[i].offset, entries[i].length));
        if (!image.isNull())
            return fitToSquare(image, size);
    }
    return {};
}

QByteArray extractPeIconGroup(QIODevice& device)
{
    if (!device.isOpen() || !device.isReadable())
        return {};
    return PeResources(device).iconGroupAsIco();
}

QImage decodePeIcon(QIODevice& device, int size)
{
    if (!sizeInRange(size))
        return {};
    return decodeIco(extractPeIconGroup(device), size);
}

QImage fitToSquare(const QImage& image, int size)
{
    if (image.isNull() || !sizeInRange(size))
        return {};
    QImage source = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    source.setDevicePixelRatio(1);
    if (source.width() == size && source.height() == size)
        return source;

    const double scale = double(size) / std::max(source.width(), source.height());
    const int width = std::clamp(qRound(source.width() * scale), 1, size);
    const int height = std::clamp(qRound(source.height() * scale), 1, size);
    const QImage scaled =
        source.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (width == size && height == size)
        return scaled;

    QImage square(size, size, QImage::Format_ARGB32_Premultiplied);
    if (square.isNull())
        return {};
    square.fill(Qt::transparent);
    QPainter painter(&square);
    painter.drawImage((size - width) / 2, (size - height) / 2, scaled);
    painter.end();
    return square;
}

} // namespace pw::platform::iconfile
