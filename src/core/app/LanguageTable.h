#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace dorvane {

// The texts of one language file ("language.N"): one "id text" pair a line,
// GBK-encoded. Texts are kept as UTF-8.
class LanguageTable
{
public:
    static constexpr int MaxId = 500;
    static constexpr size_t InitialSize = 200;

    LanguageTable();

    // Limits that keep a damaged or hostile file (a link to /dev/zero, a line
    // of hundreds of megabytes) from taking the memory or the screen.
    static constexpr size_t MaxLineBytes = 64 * 1024;
    static constexpr size_t MaxFileBytes = 4 * 1024 * 1024;

    // Reads the whole file. False, with problem() saying why (nothing for a
    // file that is not there), when it cannot be read, is not a regular file
    // or passes a limit; the table is then unchanged.
    bool loadFile(const std::string &path);
    // Takes every line of a file's content; false at the first line over
    // the limit, with the table unchanged.
    bool load(std::string_view content);
    // Why the last load failed, naming the file and the line, never quoting it.
    const std::string &problem() const { return m_problem; }
    void addLine(std::string_view line);

    // The text of id, empty when the table has none.
    std::string text(int id) const;
    size_t size() const { return m_texts.size(); }

private:
    std::vector<std::string> m_texts;
    std::string m_problem;
};

} // namespace dorvane
