#include "core/export/WordCellText.h"

#include "core/export/WordObjects.h"

#include <memory>

namespace dorvane {

bool setCellText(WordTable &table, int row, int column, const std::string &text)
{
    const std::unique_ptr<WordCell> cell = table.cell(row, column);
    if (!cell)
        return false;
    const std::unique_ptr<WordRange> range = cell->range();
    return range && range->setText(text);
}

} // namespace dorvane
