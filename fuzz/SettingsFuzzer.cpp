// The saved settings ("config.dat"), read over the defaults; the language
// number they hold names the language file the texts come from.
#include "FuzzInput.h"
#include "core/app/Settings.h"
#include "core/app/TextService.h"

using namespace dorvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static fuzz::ScratchFile input("-config.dat");
    static fuzz::ScratchFolder folder;
    Settings settings;
    settings.load(input.write(data, size));
    TextService texts(folder.file(""), settings.language);
    (void)texts.text(1);
    return 0;
}
