// Icon files: any bytes give a null image or one of exactly the size asked.
//
// Input: one byte that picks the size, then the icon file.
#include "FuzzSupport.h"
#include "icons/IconFileParser.h"

#include <array>

namespace
{

// The sizes the dock asks for, and the edges of the allowed range.
constexpr std::array<int, 8> kSizes{16, 32, 48, 64, 1, 24, 256, 100};

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    pw::fuzz::silenceQtMessages();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const int side = kSizes[data[0] % kSizes.size()];
    const QByteArrayView ico(reinterpret_cast<const char*>(data + 1),
                             static_cast<qsizetype>(size - 1));
    const QImage image = pw::platform::iconfile::decodeIco(ico, side);
    if (!image.isNull()) {
        PW_FUZZ_CHECK(image.width() == side && image.height() == side);
        PW_FUZZ_CHECK(image.format() == QImage::Format_ARGB32_Premultiplied);
    }
    return 0;
}
