#include "cli/ManPage.h"

#include <algorithm>
#include <cctype>

namespace dorvane::cli {

namespace {

// Text safe from roff: backslashes and hyphens escaped, and no line taken
// for a request.
std::string escaped(const std::string &text)
{
    std::string out;
    bool lineStart = true;
    for (char c : text) {
        if (lineStart && (c == '.' || c == '\''))
            out += "\\&";
        if (c == '\\')
            out += "\\e";
        else if (c == '-')
            out += "\\-";
        else
            out += c;
        lineStart = c == '\n';
    }
    return out;
}

std::string upper(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

} // namespace

ManPage::ManPage(const std::string &name, const std::string &summary)
{
    m_text =
        ".TH " + escaped(upper(name)) + " 1 \"\" \"" + escaped(name) + "\" \"User Commands\"\n";
    m_text += ".SH NAME\n" + escaped(name) + " \\- " + escaped(summary) + "\n";
    m_text += ".SH SYNOPSIS\n.B " + escaped(name) + "\n.I COMMAND\n[\\fIOPTIONS\\fR]\n";
}

void ManPage::addSection(const std::string &title, const std::string &text)
{
    m_text += ".SH " + upper(title) + "\n";
    addText(text);
}

void ManPage::addSubsection(const std::string &title, const std::string &text)
{
    m_text += ".SS " + escaped(title) + "\n";
    addText(text);
}

void ManPage::addText(const std::string &text)
{
    m_text += ".nf\n" + escaped(text);
    if (!text.empty() && text.back() != '\n')
        m_text += '\n';
    m_text += ".fi\n";
}

} // namespace dorvane::cli
