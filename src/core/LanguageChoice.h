#pragma once

#include <QString>
#include <QStringList>

// The language of the program's texts. Its own texts are Japanese; any other
// language is shown from a translation, and English stands in for a language
// that has none yet.
namespace pw
{

// The locale as the system gives it. Each field is the variable's value, empty
// when it is unset.
struct LocaleFacts {
    QString language;   // LANGUAGE: a colon-separated list, its first entry counts
    QString lcAll;      // LC_ALL
    QString lcMessages; // LC_MESSAGES
    QString lang;       // LANG
    // The user's display language where the system keeps one beside the
    // variables ("ja-JP" on Windows); asked when no variable is set.
    QString system;
};

// The language code of the locale that decides: the first of LANGUAGE's
// first entry, LC_ALL, LC_MESSAGES, LANG and the system's language that is set
// and not empty, cut before its territory, codeset or modifier and in lower
// case ("ja" for "ja_JP.UTF-8", "c" for "C.UTF-8"). Empty when none is set.
QString localeLanguage(const LocaleFacts& facts);

// The translation to load: a code from `translations` (the languages the
// program has a translation for), or empty for the program's own texts.
// Japanese, the C and POSIX locales and no locale at all get the program's own
// texts; a language with a translation gets it; any other gets English when
// there is an English translation.
QString chooseTranslation(const LocaleFacts& facts, const QStringList& translations);

} // namespace pw
