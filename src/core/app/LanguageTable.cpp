#include "core/app/LanguageTable.h"

#include "core/base/GbkText.h"

#include <algorithm>
#include <fstream>

namespace dorvane {

namespace {

// atoi: optional sign, then digits up to the first other character. Values
// far out of range saturate so that they are simply rejected later.
long parseId(std::string_view s)
{
    size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    long value = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
        value = value * 10 + (s[i] - '0');
        if (value > 1000000)
            value = 1000000;
    }
    return negative ? -value : value;
}

} // namespace

LanguageTable::LanguageTable() : m_texts(InitialSize) {}

bool LanguageTable::loadFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    load(in);
    return true;
}

void LanguageTable::load(std::istream &in)
{
    std::string line;
    while (std::getline(in, line))
        addLine(line);
}

void LanguageTable::addLine(std::string_view raw)
{
    // Files written on Windows end their lines with CR LF; a NUL ends a
    // line as it ends a C string.
    raw = raw.substr(0, raw.find('\0'));
    if (!raw.empty() && raw.back() == '\r')
        raw.remove_suffix(1);

    std::string line(raw);
    std::replace(line.begin(), line.end(), '\t', ' ');
    const size_t first = line.find_first_not_of(' ');
    if (first == std::string::npos)
        return;
    const size_t last = line.find_last_not_of(' ');
    std::string_view trimmed = std::string_view(line).substr(first, last - first + 1);

    const size_t blank = trimmed.find(' ', 1);
    if (blank == std::string_view::npos)
        return;
    const long id = parseId(trimmed.substr(0, blank));
    if (id < 0 || id > MaxId)
        return;
    std::string_view text = trimmed.substr(blank);
    text.remove_prefix(std::min(text.find_first_not_of(' '), text.size()));

    if (static_cast<size_t>(id) >= m_texts.size())
        m_texts.resize(static_cast<size_t>(id) + 1);
    m_texts[static_cast<size_t>(id)] = gbkToUtf8(text);
}

std::string LanguageTable::text(int id) const
{
    if (id < 0 || static_cast<size_t>(id) >= m_texts.size())
        return {};
    return m_texts[static_cast<size_t>(id)];
}

} // namespace dorvane
