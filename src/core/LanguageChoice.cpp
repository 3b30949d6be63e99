#include "core/LanguageChoice.h"

namespace pw
{

namespace
{

QString firstEntry(const QString& list)
{
    for (const QString& entry : list.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        if (!entry.trimmed().isEmpty())
            return entry.trimmed();
    }
    return {};
}

} // namespace

QString localeLanguage(const LocaleFacts& facts)
{
    const QString candidates[] = {firstEntry(facts.language), facts.lcAll.trimmed(),
                                  facts.lcMessages.trimmed(), facts.lang.trimmed(),
                                  facts.system.trimmed()};
    for (const QString& locale : candidates) {
        if (locale.isEmpty())
            continue;
        // language[_territory][.codeset][@modifier], or Windows' language-Region.
        qsizetype end = 0;
        while (end < locale.size() && !QStringView(u"_.@-").contains(locale.at(end)))
            ++end;
        return locale.left(end).toLower();
    }
    return {};
}

QString chooseTranslation(const LocaleFacts& facts, const QStringList& translations)
{
    const QString language = localeLanguage(facts);
    if (language.isEmpty() || language == u"ja" || language == u"c" || language == u"posix")
        return {};
    if (translations.contains(language))
        return language;
    const QString english = QStringLiteral("en");
    return translations.contains(english) ? english : QString();
}

} // namespace pw
