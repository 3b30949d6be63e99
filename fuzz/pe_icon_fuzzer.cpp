// Windows programs: any bytes give no icon group or a well-formed icon file
// whose images all lie inside it, and decoding it gives a null image or one
// of the size asked.
#include "FuzzSupport.h"
#include "icons/IconFileParser.h"

#include <QBuffer>

namespace
{

quint32 le(const QByteArray& bytes, qsizetype at, int width)
{
    quint32 value = 0;
    for (int i = width - 1; i >= 0; --i)
        value = (value << 8) | static_cast<uchar>(bytes[at + i]);
    return value;
}

void checkIconFile(const QByteArray& ico)
{
    PW_FUZZ_CHECK(ico.size() >= 6);
    PW_FUZZ_CHECK(le(ico, 0, 2) == 0 && le(ico, 2, 2) == 1);
    const qsizetype count = le(ico, 4, 2);
    PW_FUZZ_CHECK(count >= 1);
    PW_FUZZ_CHECK(6 + count * 16 <= ico.size());
    qint64 end = 6 + count * 16;
    for (qsizetype i = 0; i < count; ++i) {
        const qint64 length = le(ico, 6 + i * 16 + 8, 4);
        const qint64 offset = le(ico, 6 + i * 16 + 12, 4);
        // The images follow the directory in order, end to end.
        PW_FUZZ_CHECK(length > 0 && offset == end);
        end = offset + length;
    }
    PW_FUZZ_CHECK(end == ico.size());
    PW_FUZZ_CHECK(ico.size() <= pw::platform::iconfile::kMaxBytesRead + 6);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    pw::fuzz::silenceQtMessages();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QByteArray bytes = pw::fuzz::bytesOf(data, size);
    QBuffer device(&bytes);
    device.open(QIODevice::ReadOnly);
    const QByteArray ico = pw::platform::iconfile::extractPeIconGroup(device);
    if (ico.isEmpty())
        return 0;
    checkIconFile(ico);

    constexpr int kSide = 32;
    const QImage image = pw::platform::iconfile::decodeIco(ico, kSide);
    if (!image.isNull())
        PW_FUZZ_CHECK(image.width() == kSide && image.height() == kSide);
    return 0;
}
