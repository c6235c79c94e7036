#pragma once

#include "core/export/WordObjects.h"

namespace dorvane {

// A table row; the report only adds rows and asks nothing of them.
class DocxRow final : public WordRow
{};

} // namespace dorvane
