#include "Arguments.h"
#include "Commands.h"
#include "app/Settings.h"

#include <cstdio>
#include <cstring>
#include <functional>
#include <map>

namespace {

const char *const Usage =
    "Usage: tessiq-cli COMMAND [ARGUMENTS]\n"
    "\n"
    "Inspect, analyse and render sonar pipe surveys (*.Imv animation files and\n"
    "*.img probe image files) without a display.\n"
    "\n"
    "Commands:\n"
    "  info FILE                  frame count and the survey's place and manholes\n"
    "  frames FILE                one CSV row of attributes per frame\n"
    "  render FILE --frame I -o OUT.bmp [--min L] [--max H] [--colours C] [--grey]\n"
    "                             the frame's 500 x 500 sonar picture as an 8-bit BMP\n"
    "  palette [--min L] [--max H] [--colours C] [--grey]\n"
    "                             the 256 palette colours as RRGGBB lines\n"
    "  simulate -o OUT.Imv --frames N [--seed S] [--detect MM] [--pipe MM]\n"
    "                             write a synthetic survey (pipe radius MM)\n"
    "\n"
    "Exit status: 0 on success, 1 on failure, 2 on bad usage.\n";

} // namespace

int main(int argc, char **argv)
{
    using namespace dorvane::cli;
    const std::map<std::string, std::function<int(const std::vector<std::string> &)>> commands = {
        {"info", runInfo},       {"frames", runFrames},     {"render", runRender},
        {"palette", runPalette}, {"simulate", runSimulate},
    };

    if (argc >= 2 && (!std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h") ||
                      !std::strcmp(argv[1], "help"))) {
        std::fputs(Usage, stdout);
        return 0;
    }
    const auto command = argc >= 2 ? commands.find(argv[1]) : commands.end();
    if (command == commands.end()) {
        if (argc >= 2)
            std::fprintf(stderr, "tessiq-cli: unknown command '%s'\n", argv[1]);
        std::fputs(Usage, stderr);
        return 2;
    }

    // Messages come in the language chosen in the program folder's settings.
    dorvane::loadSettings();
    try {
        return command->second(std::vector<std::string>(argv + 2, argv + argc));
    } catch (const UsageError &error) {
        std::fprintf(stderr, "tessiq-cli %s: %s\n\n%s", argv[1], error.message.c_str(), Usage);
        return 2;
    }
}
