// The frame pictures a report takes in are BMP files read back from disk.
#include "FuzzInput.h"
#include "core/export/BmpReader.h"

using namespace dorvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static fuzz::ScratchFile input(".bmp");
    (void)readBmpPicture(input.write(data, size));
    return 0;
}
