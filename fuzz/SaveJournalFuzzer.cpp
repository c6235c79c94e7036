// The journal found beside a survey when it is opened, settled against a
// file of known bytes. The input's last four bytes are replaced by the
// journal's checksum, so that the fuzzer reaches past it to the ranges.
#include "FuzzInput.h"
#include "SaveJournalTarget.h"
#include "core/base/ByteOrder.h"
#include "core/base/PosixFile.h"
#include "core/base/SaveJournal.h"

#include <vector>

using namespace dorvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static fuzz::ScratchFile target("-survey.Imv");
    static fuzz::ScratchFile journal("-survey.Imv.undo");
    static const std::vector<uint8_t> original = fuzz::saveJournalTarget();

    std::vector<uint8_t> bytes(data, data + size);
    if (bytes.size() >= 4)
        le::writeU32(bytes.data() + bytes.size() - 4,
                     SaveJournal::checksum(bytes.data(), bytes.size() - 4));
    target.write(original.data(), original.size());
    journal.write(bytes.data(), bytes.size());
    PosixFile file;
    if (!file.open(target.path(), PosixFile::Mode::ReadWrite))
        return 0;
    SaveJournal::recover(journal.path(), file);
    return 0;
}
