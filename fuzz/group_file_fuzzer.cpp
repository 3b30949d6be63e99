// Group files: any bytes decode into lines without breaks; a list loaded and
// saved loads again as the same list; every line reads as an entry that
// writes back to the same entry.
#include "FuzzSupport.h"
#include "core/EntryLine.h"
#include "storage/StringList.h"

namespace
{

using pw::platform::decodeText;
using pw::platform::encodeText;
using pw::platform::joinLines;
using pw::platform::splitLines;
using pw::platform::TextEncoding;

bool allValidUtf16(const QStringList& lines)
{
    for (const QString& line : lines) {
        if (!line.isValidUtf16())
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = pw::fuzz::bytesOf(data, size);

    TextEncoding encoding = TextEncoding::Ansi;
    const QString text = decodeText(bytes, &encoding);
    const QStringList lines = splitLines(text);
    PW_FUZZ_CHECK(pw::fuzz::singleLines(lines));
    PW_FUZZ_CHECK(splitLines(joinLines(lines)) == lines);
    // Text written in the encoding it was read in reads back the same (the
    // settings file is saved that way), a U+FEFF after the mark included.
    TextEncoding again = TextEncoding::Ansi;
    PW_FUZZ_CHECK(decodeText(encodeText(text, encoding), &again) == text);
    PW_FUZZ_CHECK(again == encoding);
    // Saved without a mark, text that begins with U+FEFF begins with one.
    const bool leadingMark = text.startsWith(QChar(0xFEFF));

    // The same through the file.
    const QString path = pw::fuzz::writeScratchFile(QStringLiteral("PondwillowPath0.txt"), bytes);
    TStringList list;
    PW_FUZZ_CHECK(list.LoadFromFile(path));
    PW_FUZZ_CHECK(list == lines);
    // Saved in the ANSI encoding: what that encoding can hold loads back.
    if (allValidUtf16(list) && !leadingMark) {
        list.SaveToFile(path);
        TStringList back;
        PW_FUZZ_CHECK(back.LoadFromFile(path));
        PW_FUZZ_CHECK(back == list);
    }

    for (const QString& line : lines) {
        const std::optional<TRec> entry = pw::entryFromLine(line);
        PW_FUZZ_CHECK(entry.has_value() == !line.isEmpty());
        if (entry)
            PW_FUZZ_CHECK(pw::entryFromLine(pw::composeEntryLine(*entry)) == entry);
    }
    return 0;
}
