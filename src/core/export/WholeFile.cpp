#include "core/export/WholeFile.h"

#include "core/base/AtomicFile.h"

#include <cerrno>

namespace dorvane {

bool writeWholeFile(const std::string &path, const std::vector<uint8_t> &bytes, int &systemError)
{
    // A refusal that is no call's failure leaves errno as it was: start from 0.
    errno = 0;
    AtomicFile file;
    if (file.open(path) && file.file().write(bytes.data(), bytes.size()) && file.commit()) {
        systemError = 0;
        return true;
    }
    systemError = errno;
    return false;
}

} // namespace dorvane
