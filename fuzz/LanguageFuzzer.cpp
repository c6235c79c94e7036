// A language file ("language.N"): GBK lines of "id text", looked up for every
// id the program asks for.
#include "core/app/LanguageTable.h"

#include <string_view>

using namespace dorvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    LanguageTable table;
    table.load(std::string_view(reinterpret_cast<const char *>(data), size));
    for (int id = -1; id <= LanguageTable::MaxId + 1; ++id)
        (void)table.text(id);
    return 0;
}
