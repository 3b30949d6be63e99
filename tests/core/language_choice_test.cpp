// The language of the program's texts, from the locale variables.
#include "core/LanguageChoice.h"

#include <gtest/gtest.h>

namespace
{

TEST(LanguageChoice, TheFirstLocaleVariableThatIsSetDecides)
{
    struct Case {
        const char *language, *lcAll, *lcMessages, *lang, *system;
        const char* translation; // "" for the program's own (Japanese) texts
    };
    const QStringList translations{QStringLiteral("en")};
    const Case cases[] = {
        // Nothing set, C and POSIX: the program's own texts.
        {"", "", "", "", "", ""},
        {"", "", "", "C", "", ""},
        {"", "", "", "C.UTF-8", "", ""},
        {"", "POSIX", "", "en_US.UTF-8", "", ""},
        // Japanese in any spelling: the program's own texts.
        {"", "", "", "ja_JP.UTF-8", "", ""},
        {"", "", "", "ja_JP.eucJP", "", ""},
        {"", "", "", "JA", "", ""},
        {"", "", "", "", "ja-JP", ""},
        // English, and any language without a translation, in English.
        {"", "", "", "en_GB.UTF-8", "", "en"},
        {"", "", "", "de_DE@euro", "", "en"},
        {"", "", "", "fr", "", "en"},
        {"", "", "", "", "en-US", "en"},
        {"", "", "", "", "zh-Hans-CN", "en"},
        // LANGUAGE first, its first entry; then LC_ALL, LC_MESSAGES, LANG.
        {"en:ja", "ja_JP.UTF-8", "ja_JP.UTF-8", "ja_JP.UTF-8", "", "en"},
        {"ja:en", "C", "de_DE.UTF-8", "de_DE.UTF-8", "", ""},
        {":de", "", "", "ja_JP.UTF-8", "", "en"},
        {"", "ja_JP.UTF-8", "en_US.UTF-8", "en_US.UTF-8", "", ""},
        {"", "de_DE.UTF-8", "ja_JP.UTF-8", "ja_JP.UTF-8", "", "en"},
        {"", "", "ja_JP.UTF-8", "en_US.UTF-8", "", ""},
        {"", "", "en_US.UTF-8", "ja_JP.UTF-8", "", "en"},
        // Empty variables count as unset; a set variable comes before the
        // system's display language.
        {":", " ", "", "ja_JP.UTF-8", "en-US", ""},
        {"", "", "", "en_US.UTF-8", "ja-JP", "en"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "LANGUAGE=" << c.language << " LC_ALL=" << c.lcAll
                                          << " LC_MESSAGES=" << c.lcMessages << " LANG=" << c.lang
                                          << " system=" << c.system);
        const pw::LocaleFacts facts{QString::fromLatin1(c.language), QString::fromLatin1(c.lcAll),
                                    QString::fromLatin1(c.lcMessages), QString::fromLatin1(c.lang),
                                    QString::fromLatin1(c.system)};
        EXPECT_EQ(pw::chooseTranslation(facts, translations).toStdString(), c.translation);
    }
}

TEST(LanguageChoice, ALanguageWithATranslationGetsItsOwn)
{
    const QStringList translations{QStringLiteral("de"), QStringLiteral("en")};
    pw::LocaleFacts facts;
    facts.lang = QStringLiteral("de_AT.UTF-8");
    EXPECT_EQ(pw::chooseTranslation(facts, translations), QStringLiteral("de"));
    facts.lang = QStringLiteral("fr_FR.UTF-8");
    EXPECT_EQ(pw::chooseTranslation(facts, translations), QStringLiteral("en"));
    // Without an English translation a language that has none gets the
    // program's own texts.
    EXPECT_EQ(pw::chooseTranslation(facts, {}), QString());
}

} // namespace
