#pragma once

#include <QString>
#include <QStringList>

// The translations of the program's texts, built into it (translations/*.ts,
// compiled at build time). The texts in the code and the forms are Japanese;
// a translation replaces them for the whole program once installed.
namespace pw::translation
{

// The language codes the program has a translation for ("en").
QStringList available();

// Installs the translation into `language` in place of any installed before;
// an empty code goes back to the program's own texts. Returns whether the
// program now shows that language. Windows made afterwards show it.
bool install(const QString& language);

// Installs the translation the user's locale asks for (LANGUAGE, LC_ALL,
// LC_MESSAGES, LANG; on Windows the display language when none is set).
// Returns the code installed, empty for the program's own texts.
QString installForUser();

} // namespace pw::translation
