#pragma once

#include <string>

namespace dorvane::cli {

// A manual page in roff for man(1), made of help texts, which keep their
// lines as printed.
class ManPage
{
public:
    ManPage(const std::string &name, const std::string &summary);

    void addSection(const std::string &title, const std::string &text);
    void addSubsection(const std::string &title, const std::string &text);

    const std::string &text() const { return m_text; }

private:
    void addText(const std::string &text);

    std::string m_text;
};

} // namespace dorvane::cli
