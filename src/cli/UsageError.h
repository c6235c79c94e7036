#pragma once

#include <string>

namespace dorvane::cli {

// A command line found bad only once the command runs (a frame past the
// survey's end): the tool prints the message and the command's usage, exit 2.
struct UsageError
{
    std::string message;
};

} // namespace dorvane::cli
