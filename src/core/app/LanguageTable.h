#pragma once

#include <istream>
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

    // Reads the whole file; false (and an unchanged table) when it cannot be
    // opened.
    bool loadFile(const std::string &path);
    void load(std::istream &in);
    void addLine(std::string_view line);

    // The text of id, empty when the table has none.
    std::string text(int id) const;
    size_t size() const { return m_texts.size(); }

private:
    std::vector<std::string> m_texts;
};

} // namespace dorvane
