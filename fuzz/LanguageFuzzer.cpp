// A language file ("language.N"): GBK lines of "id text", looked up for every
// id the program asks for.
#include "core/app/LanguageTable.h"

#include <sstream>
#include <string>

using namespace dorvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::istringstream in(std::string(reinterpret_cast<const char *>(data), size));
    LanguageTable table;
    table.load(in);
    for (int id = -1; id <= LanguageTable::MaxId + 1; ++id)
        (void)table.text(id);
    return 0;
}
