#include "core/base/MessageSink.h"

#include <cstring>

namespace dorvane {

std::string systemErrorText(int error)
{
    if (error == 0)
        return {};
    char buffer[256];
    // The GNU strerror_r: the text may come back in the buffer or elsewhere.
    return ::strerror_r(error, buffer, sizeof buffer);
}

std::string withDetail(std::string text, std::string_view detail)
{
    if (detail.empty())
        return text;
    if (!text.empty() && text.back() != '\n')
        text += '\n';
    return text.append(detail);
}

} // namespace dorvane
