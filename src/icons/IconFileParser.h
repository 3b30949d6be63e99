#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>

class QIODevice;

// Decoding of the two Windows icon containers: icon files (.ico) and the icon
// resources of Windows programs and libraries (PE .exe/.dll). Both read
// untrusted bytes, so every offset and size is checked against the data, the
// bytes read from one file are capped and no picture is allocated beyond a
// fixed size.
namespace pw::platform::iconfile
{

// At most this many bytes are read from one file.
inline constexpr qint64 kMaxBytesRead = 16 * 1024 * 1024;
// Icon images larger than this on either side are refused before decoding.
inline constexpr int kMaxImageSide = 512;
// Requested icon sizes outside 1..kMaxRequestedSize give a null image.
inline constexpr int kMaxRequestedSize = 1024;

// The image of an icon file nearest to size (the smallest one at least size
// wide, else the largest), scaled smoothly to size x size when it differs,
// as ARGB32 premultiplied with its transparent parts transparent. Images are
// stored as PNG or as a Windows bitmap of 1, 4, 8, 24 or 32 bits per pixel
// with an AND mask. Null when the data holds no decodable image.
QImage decodeIco(QByteArrayView data, int size);

// The first icon group of a PE program or library on device, put together
// as the bytes of an icon file. Empty when the file has no icon resources or
// they are damaged. Reads at most kMaxBytesRead bytes from device, which
// must be open for reading and allow seeking.
QByteArray extractPeIconGroup(QIODevice& device);

// The icon of a PE file at size x size, as decodeIco chooses it from the
// first icon group. Null when there is none.
QImage decodePeIcon(QIODevice& device, int size);

// Scales image smoothly into a transparent size x size square, keeping its
// aspect ratio, as ARGB32 premultiplied. Null for a null image or a size
// outside 1..kMaxRequestedSize.
QImage fitToSquare(const QImage& image, int size);

} // namespace pw::platform::iconfile
