#include "app/Translation.h"

#include "core/LanguageChoice.h"
#include "platform/SystemLanguage.h"

#include <QCoreApplication>
#include <QDir>
#include <QTranslator>

#include <memory>

namespace pw::translation
{

namespace
{

constexpr auto kFolder = ":/i18n/";
constexpr auto kPrefix = "pondwillow_";

std::unique_ptr<QTranslator>& installed()
{
    static std::unique_ptr<QTranslator> translator;
    return translator;
}

} // namespace

QStringList available()
{
    QStringList codes;
    const QString prefix = QLatin1String(kPrefix);
    const QStringList files =
        QDir(QLatin1String(kFolder)).entryList({prefix + QStringLiteral("*.qm")}, QDir::Files);
    for (const QString& file : files)
        codes << file.mid(prefix.size()).chopped(3);
    return codes;
}

bool install(const QString& language)
{
    if (installed()) {
        QCoreApplication::removeTranslator(installed().get());
        installed().reset();
    }
    if (language.isEmpty())
        return true;
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QLatin1String(kFolder) + QLatin1String(kPrefix) + language +
                          QStringLiteral(".qm")))
        return false;
    QCoreApplication::installTranslator(translator.get());
    installed() = std::move(translator);
    return true;
}

QString installForUser()
{
    const QString language = chooseTranslation(platform::localeFacts(), available());
    return install(language) ? language : QString();
}

} // namespace pw::translation
