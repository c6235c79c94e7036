#include "core/export/SummaryCsv.h"

#include "core/base/AtomicFile.h"
#include "core/library/SummaryTable.h"

namespace dorvane {

std::string csvField(const std::string &text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

namespace {

void appendLine(std::string &csv, const std::vector<std::string> &cells)
{
    for (size_t i = 0; i < cells.size(); ++i)
        csv += (i ? "," : "") + csvField(cells[i]);
    csv += "\r\n";
}

} // namespace

std::string summaryCsv(const SummaryTable &table)
{
    std::string csv;
    appendLine(csv, table.headings);
    for (const std::vector<std::string> &row : table.rows)
        appendLine(csv, row);
    return csv;
}

bool writeSummaryCsv(const std::string &path, const SummaryTable &table, int &systemError)
{
    const std::string csv = summaryCsv(table);
    AtomicFile file;
    if (!file.open(path) || !file.file().write(csv.data(), csv.size()) || !file.commit()) {
        systemError = file.lastError();
        return false;
    }
    systemError = 0;
    return true;
}

} // namespace dorvane
