#include "core/app/LanguageTable.h"

#include "core/base/GbkText.h"
#include "core/base/MessageSink.h"
#include "core/base/PosixFile.h"

#include <algorithm>
#include <cerrno>

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
    m_problem.clear();
    PosixFile file;
    if (!file.open(path, PosixFile::Mode::Read)) {
        // The open refuses anything but a regular file with EINVAL.
        if (file.lastError() == EINVAL)
            m_problem = path + ": not a regular file";
        else if (file.lastError() != ENOENT)
            m_problem = path + ": " + systemErrorText(file.lastError());
        return false;
    }
    const auto size = file.size();
    if (!size || *size > MaxFileBytes) {
        m_problem = path + ": larger than " + std::to_string(MaxFileBytes) + " bytes";
        return false;
    }
    std::string content(static_cast<size_t>(*size), '\0');
    if (!file.readAt(0, content.data(), content.size())) {
        m_problem = path + ": " + systemErrorText(file.lastError() ? file.lastError() : EIO);
        return false;
    }
    if (!load(content)) {
        m_problem = path + ": " + m_problem;
        return false;
    }
    return true;
}

bool LanguageTable::load(std::string_view content)
{
    m_problem.clear();
    LanguageTable loaded;
    size_t lineNumber = 1;
    for (size_t at = 0; at < content.size(); ++lineNumber) {
        const size_t end = std::min(content.find('\n', at), content.size());
        if (end - at > MaxLineBytes) {
            m_problem = "line " + std::to_string(lineNumber) + " is longer than " +
                        std::to_string(MaxLineBytes) + " bytes";
            return false;
        }
        loaded.addLine(content.substr(at, end - at));
        at = end + 1;
    }
    m_texts = std::move(loaded.m_texts);
    return true;
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
