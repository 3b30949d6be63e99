// The entry line grammar: any line splits; an entry read from a line writes
// back as a line that reads as the same entry; any three fields compose into
// a line that splits into exactly those fields.
//
// Input: UTF-8 text. The line is the text up to the first byte 0x1F; after it
// the three fields of an entry to compose, separated by 0x1F too.
#include "FuzzSupport.h"
#include "core/EntryLine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString input =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QStringList parts = input.split(u'\x1f');
    const QString line = parts.first();

    const QStringList fields = pw::splitEntryLine(line);
    PW_FUZZ_CHECK(fields.isEmpty() == line.isEmpty());
    // Each field comes from at least one character, or is the empty field
    // after a comma.
    PW_FUZZ_CHECK(fields.size() <= line.size() + 1);
    qsizetype characters = 0;
    for (const QString& field : fields)
        characters += field.size();
    PW_FUZZ_CHECK(characters <= line.size());

    const std::optional<TRec> entry = pw::entryFromLine(line);
    PW_FUZZ_CHECK(entry.has_value() == !line.isEmpty());
    if (entry) {
        PW_FUZZ_CHECK(entry->fname == fields.first());
        PW_FUZZ_CHECK(pw::entryFromLine(pw::composeEntryLine(*entry)) == entry);
        // The name parts never reach past the file name.
        PW_FUZZ_CHECK(entry->fname.endsWith(pw::fileNamePart(entry->fname)));
        PW_FUZZ_CHECK(pw::fileNamePart(entry->fname).startsWith(pw::GetFileTitle(entry->fname)));
    }

    if (parts.size() >= 4) {
        const TRec composed{parts[1], parts[2], parts[3]};
        const QString composedLine = pw::composeEntryLine(composed);
        PW_FUZZ_CHECK(pw::splitEntryLine(composedLine) ==
                      QStringList({composed.fname, composed.param, composed.hint}));
        PW_FUZZ_CHECK(pw::entryFromLine(composedLine) == composed);
    }
    return 0;
}
