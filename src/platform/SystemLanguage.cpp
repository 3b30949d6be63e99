#include "platform/SystemLanguage.h"

namespace pw::platform
{

LocaleFacts localeFacts()
{
    LocaleFacts facts;
    facts.language = qEnvironmentVariable("LANGUAGE");
    facts.lcAll = qEnvironmentVariable("LC_ALL");
    facts.lcMessages = qEnvironmentVariable("LC_MESSAGES");
    facts.lang = qEnvironmentVariable("LANG");
    facts.system = systemDisplayLanguage();
    return facts;
}

} // namespace pw::platform
