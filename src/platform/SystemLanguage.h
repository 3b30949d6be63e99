#pragma once

#include "core/LanguageChoice.h"

// The locale that decides the language of the program's texts.
namespace pw::platform
{

// The locale variables of the environment, and on Windows the user's display
// language as well.
LocaleFacts localeFacts();

// The user's display language where the system keeps one beside the locale
// variables (Windows: "ja-JP"); empty elsewhere.
QString systemDisplayLanguage();

} // namespace pw::platform
