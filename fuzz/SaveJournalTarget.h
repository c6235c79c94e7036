#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace dorvane::fuzz {

// The file the save-journal fuzzer settles its journals against, and which
// its seed journals describe: 4096 bytes counting up in sevens.
inline std::vector<uint8_t> saveJournalTarget()
{
    std::vector<uint8_t> bytes(4096);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>(i * 7);
    return bytes;
}

} // namespace dorvane::fuzz
