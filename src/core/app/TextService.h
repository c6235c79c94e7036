#pragma once

#include "core/app/LanguageTable.h"

#include <mutex>
#include <string>

namespace dorvane {

// Turns a text id into the text of one language: the built-in table for
// language 0, otherwise the file "language.N" in the given folder, read once
// on first use. A missing or unreadable language file falls back to the
// built-in table.
class TextService
{
public:
    TextService(std::string folder, int language);

    std::string text(int id);
    // The language the texts come from: 0 when its file cannot be read.
    int shownLanguage();
    // Why the language file was refused; empty when it was read or is
    // simply not there.
    std::string problem();

private:
    bool usesLanguageFile();

    std::string m_folder;
    int m_language;
    std::once_flag m_loadOnce;
    bool m_haveFile = false;
    LanguageTable m_table;
};

// The text of id in the configured language, UTF-8. The language is taken
// from the settings on the first call of the process; changing the setting
// afterwards changes no text until the next start.
std::string loadText(int id);
// The language of those texts (0 when its file could not be read).
int shownLanguage();
// Why the configured language file was refused, for the programs to print
// at start; empty when there is nothing to say.
std::string languageFileProblem();

} // namespace dorvane
