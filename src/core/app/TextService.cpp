#include "core/app/TextService.h"

#include "core/app/BuiltinTexts.h"
#include "core/app/ProgramPaths.h"
#include "core/app/Settings.h"

namespace dorvane {

TextService::TextService(std::string folder, int language)
    : m_folder(std::move(folder)), m_language(language)
{}

bool TextService::usesLanguageFile()
{
    if (m_language == 0)
        return false;
    std::call_once(m_loadOnce, [this] {
        m_haveFile = m_table.loadFile(m_folder + "language." + std::to_string(m_language));
    });
    return m_haveFile;
}

std::string TextService::text(int id)
{
    if (usesLanguageFile())
        return m_table.text(id);
    return std::string(builtinText(id));
}

int TextService::shownLanguage()
{
    return usesLanguageFile() ? m_language : 0;
}

std::string TextService::problem()
{
    usesLanguageFile();
    return m_table.problem();
}

namespace {

// Fixed by the first text fetched: start-up loads the settings before that,
// and every window is built in that one language. A language chosen later
// would mix two languages on screen, so it waits for a restart.
TextService &processTexts()
{
    static TextService service(programFolder(), settings().language);
    return service;
}

} // namespace

std::string loadText(int id)
{
    return processTexts().text(id);
}

int shownLanguage()
{
    return processTexts().shownLanguage();
}

std::string languageFileProblem()
{
    return processTexts().problem();
}

} // namespace dorvane
