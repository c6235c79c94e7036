#pragma once

#include <set>
#include <string>

namespace dorvane::cli {

// The file names a batch gives its reports in the output folder: each once,
// and none that the folder holds already; a name taken gets " (2)", " (3)"
// and so on before its ending.
class ReportNames
{
public:
    ReportNames(std::string folder, std::string ending)
        : m_folder(std::move(folder)), m_ending(std::move(ending))
    {}

    // Keeps a name of the folder from being given (the summary's).
    void reserve(const std::string &fileName) { m_given.insert(fileName); }
    // A name for stem that is neither given nor in the folder, given now.
    std::string give(const std::string &stem);

private:
    std::string m_folder;
    std::string m_ending;
    std::set<std::string> m_given;
};

} // namespace dorvane::cli
