#include "cli/Arguments.h"
#include "cli/Commands.h"
#include "cli/ConsoleSinks.h"
#include "core/app/Settings.h"
#include "core/app/TextIds.h"
#include "core/base/MemoryPolicy.h"

#include <algorithm>
#include <csignal>
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
    "  info FILE                  frame count, place and manholes, cable span,\n"
    "                             average sediment and the sediment chart's scales\n"
    "  frames FILE [--json]       one row of attributes and sediment per frame (CSV,\n"
    "                             or a JSON array of objects)\n"
    "  profile FILE --frame I     the frame's 402-entry radius profile, one a line\n"
    "  render FILE --frame I -o OUT.bmp [--min L] [--max H] [--colours C] [--grey]\n"
    "                             the frame's 500 x 500 sonar picture as an 8-bit BMP\n"
    "         [--overlay [--texts] | --stroke] [--size N]\n"
    "                             or as the frame view shows it, with its overlay\n"
    "                             (and title and notes), or as the stroke view\n"
    "                             shows it, as a 24-bit BMP of N x N\n"
    "  palette [--min L] [--max H] [--colours C] [--grey]\n"
    "                             the 256 palette colours as RRGGBB lines\n"
    "  simulate -o OUT.Imv --frames N [--seed S] [--detect MM] [--pipe MM]\n"
    "                             write a synthetic survey (pipe radius MM)\n"
    "  apply FILE --kind K --value V [--circle X,Y] [--frame I]\n"
    "                             apply an attribute to many frames and save it:\n"
    "                             K 0 report mark, 1 pipe radius, 2 error rate,\n"
    "                             301 circle on frames 0..V, 302 on frames V..end\n"
    "  delete-frame FILE --frame I\n"
    "                             delete a frame (the file is replaced safely)\n"
    "  copy FILE DEST             save the survey under another name\n"
    "  deviation-map FILE -o OUT.bmp\n"
    "                             the survey's deviation map, 400 x N, frame 0 at\n"
    "                             the bottom, as a 24-bit BMP\n"
    "  chart FILE -o OUT.bmp [--size WxH]\n"
    "                             the sediment depth chart (450x300 by default)\n"
    "  mesh FILE                  the 3D pipe model's strips: for every band with\n"
    "                             strips a line \"b: s,t s,t ...\", "
    "then the number of built vertices\n"
    "  import A.img [B.img ...] -o OUT.Imv\n"
    "                             probe image files, in the order given, as the\n"
    "                             frames of a new survey\n"
    "  record -o OUT.Imv --frames N [--detect MM] [--pipe MM] [--pulse US]\n"
    "         [--device-library PATH | --simulate] [--wait-seconds S]\n"
    "                             record N live frames from the probe: detection\n"
    "                             radius MM (187), pipe radius MM (150), pulse\n"
    "                             width US (8); the device library is libUsbDll.so\n"
    "                             beside the program, $TESSIQ_DEVICE_LIBRARY or\n"
    "                             PATH; --simulate takes the probe simulator\n"
    "  probe-status HEX128        decode a 64-byte probe status record given as\n"
    "                             128 hexadecimal digits\n"
    "  render3d FILE --viewpoint K -o OUT.bmp [--frame I] [--size N] [--wireframe]\n"
    "                             the 3D pipe model from viewpoint K (0 outside,\n"
    "                             1 inside, 2 far, 3 centre) with frame I's band\n"
    "                             highlighted, as a 24-bit BMP of N x N (500);\n"
    "                             needs OpenGL: without a display, run it under\n"
    "                             xvfb-run\n"
    "  report FILE -o OUT.docx|OUT.doc|OUT.pdf\n"
    "                             the survey's report: place, sediment classes and\n"
    "                             chart, pipe figures, four 3D views and the frames\n"
    "                             marked for the report (.doc and .pdf need\n"
    "                             LibreOffice; the 3D views need a display)\n"
    "  video FILE -o OUT.avi [--texts] [--size N] [--fps F]\n"
    "                             every frame as the frame view shows it (with\n"
    "                             its overlay texts with --texts), N x N (500),\n"
    "                             as an AVI movie of MPEG-4 key frames at F\n"
    "                             frames per second (4)\n"
    "\n"
    "Exit status: 0 on success, 1 on failure, 2 on bad usage.\n";

// Output lost to a full disk or a device that takes nothing must not pass
// for success: the status is that of the command, or 1 when its output was
// not written completely.
int withOutputChecked(int status)
{
    if (std::fflush(stdout) == 0 && !std::ferror(stdout))
        return status;
    dorvane::cli::StderrMessageSink().showMessage(dorvane::text::SaveFileFailed);
    return std::max(status, 1);
}

} // namespace

int main(int argc, char **argv)
{
    dorvane::returnLargeBlocksWhenFreed();
    using namespace dorvane::cli;
    const std::map<std::string, std::function<int(const std::vector<std::string> &)>> commands = {
        {"info", runInfo},         {"frames", runFrames},
        {"render", runRender},     {"palette", runPalette},
        {"simulate", runSimulate}, {"profile", runProfile},
        {"apply", runApply},       {"delete-frame", runDeleteFrame},
        {"copy", runCopy},         {"deviation-map", runDeviationMap},
        {"chart", runChart},       {"import", runImport},
        {"record", runRecord},     {"probe-status", runProbeStatus},
        {"render3d", runRender3d}, {"mesh", runMesh},
        {"report", runReport},     {"video", runVideo},
    };

    if (argc >= 2 && (!std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h") ||
                      !std::strcmp(argv[1], "help"))) {
        std::fputs(Usage, stdout);
        return withOutputChecked(0);
    }
    const auto command = argc >= 2 ? commands.find(argv[1]) : commands.end();
    if (command == commands.end()) {
        if (argc >= 2)
            std::fprintf(stderr, "tessiq-cli: unknown command '%s'\n", argv[1]);
        std::fputs(Usage, stderr);
        return 2;
    }

    // A file size limit makes writes fail, to be told like a full disk,
    // instead of ending the process with temporary files left behind.
    std::signal(SIGXFSZ, SIG_IGN);
    // Messages come in the language chosen in the program folder's settings.
    dorvane::loadSettings();
    try {
        return withOutputChecked(command->second(std::vector<std::string>(argv + 2, argv + argc)));
    } catch (const UsageError &error) {
        std::fprintf(stderr, "tessiq-cli %s: %s\n\n%s", argv[1], error.message.c_str(), Usage);
        return 2;
    }
}
