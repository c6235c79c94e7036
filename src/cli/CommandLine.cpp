#include "cli/CommandLine.h"

#include "cli/ManPage.h"

// The whole library: the app needs its config file parser too.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <cstring>

namespace dorvane::cli {

namespace {

const char *const Name = "tessiq-cli";

const char *const Description =
    "Inspect, analyse and render sonar pipe surveys (*.Imv animation files and\n"
    "*.img probe image files) without a display.";

const char *const ExitStatus = "Exit status: 0 on success, 1 on failure, 2 on bad usage.";

struct CommandEntry
{
    const char *name;
    // One line in the list of commands; the first line of the command's help.
    const char *summary;
    // More of what the command does, after its options.
    const char *details;
    CommandAction (*add)(CLI::App &);
};

const CommandEntry Entries[] = {
    {"info", "frame count, place, cable span, sediment and chart scales",
     "The survey's frame count, place and manholes, cable span, average sediment\n"
     "and the sediment chart's scales.",
     addInfo},
    {"frames", "one row of attributes and sediment per frame",
     "One row of attributes and sediment per frame: CSV, or with --json a JSON\n"
     "array of objects.",
     addFrames},
    {"profile", "the frame's 402-entry radius profile, one a line", "", addProfile},
    {"assess", "the pipe's condition: graded defects along it and the section's summary",
     "The pipe's condition from every frame's wall profile: capacity loss, sediment\n"
     "depth share, diameters, ovality and deformation; the defects graded by the\n"
     "grading table (grades.json beside the program, or --grades) as records with\n"
     "their start and end along the pipe; and the section's summary with the\n"
     "sediment volume. --frames adds a CSV row per frame; --json writes one document.",
     addAssess},
    {"render", "the frame's sonar picture or one of its views as a BMP",
     "The frame's 500 x 500 sonar picture as an 8-bit BMP, or as the frame view\n"
     "shows it, with its overlay (and title and notes with --texts), or as the\n"
     "stroke view shows it, as a 24-bit BMP of N x N.",
     addRender},
    {"palette", "the 256 palette colours as RRGGBB lines", "", addPalette},
    {"simulate", "write a synthetic survey", "", addSimulate},
    {"apply", "apply an attribute to many frames and save it",
     "Apply an attribute to many frames and save it, as the property panel does\n"
     "with the chosen frame shown: K 0 report mark, 1 pipe radius, 2 error rate,\n"
     "301 circle on frames 0..V, 302 on frames V..end.",
     addApply},
    {"delete-frame", "delete a frame (the file is replaced safely)", "", addDeleteFrame},
    {"copy", "save the survey under another name", "", addCopy},
    {"deviation-map", "the survey's deviation map as a 24-bit BMP",
     "The survey's deviation map, 400 x N, frame 0 at the bottom, as a 24-bit BMP.",
     addDeviationMap},
    {"chart", "the sediment depth chart as a BMP",
     "The sediment depth chart (450x300 by default) as a 24-bit BMP.", addChart},
    {"mesh", "the 3D pipe model's strips and vertex count",
     "The 3D pipe model's strips: for every band with strips a line\n"
     "\"b: s,t s,t ...\", then the number of built vertices.",
     addMesh},
    {"import", "probe image files as the frames of a new survey",
     "Probe image files, in the order given, as the frames of a new survey.", addImport},
    {"record", "record live frames from the probe",
     "Record N live frames from the probe: detection radius MM (187), pipe radius\n"
     "MM (150), pulse width US (8); the device library is libUsbDll.so beside the\n"
     "program, $TESSIQ_DEVICE_LIBRARY or PATH; --simulate takes the probe\n"
     "simulator.",
     addRecord},
    {"probe-status", "decode a 64-byte probe status record",
     "Decode a 64-byte probe status record given as 128 hexadecimal digits:\n"
     "tilt and roll in degrees, distance in metres; pressure and temperature are\n"
     "the probe's raw readings, which it gives without a unit.",
     addProbeStatus},
    {"render3d", "the 3D pipe model from a viewpoint as a BMP",
     "The 3D pipe model from viewpoint K (0 outside, 1 inside, 2 far, 3 centre)\n"
     "with frame I's band highlighted, as a 24-bit BMP of N x N (500), drawn\n"
     "with OpenGL through EGL: no display is needed.",
     addRender3d},
    {"report", "the survey's report as DOCX, DOC or PDF",
     "The survey's report: place, sediment classes and chart, pipe figures, four\n"
     "3D views and the frames marked for the report (.doc and .pdf need\n"
     "LibreOffice; the 3D views are drawn through EGL and need no display).",
     addReport},
    {"batch-report", "the reports of many surveys and the project's summary",
     "A report per survey, as the report command writes it, several at once, each\n"
     "by a child process of the tool. Folders are searched recursively for *.Imv\n"
     "and *.img (any case); the surveys are taken sorted by path, each once.\n"
     "A report is named \"<place> <start>-<end>.docx\" (or .pdf) after the survey,\n"
     "its file's stem standing in for an empty place, characters unfit for a\n"
     "file name as '_'; a name this batch gave or OUTDIR holds gets \" (2)\",\n"
     "\" (3)\" ... A failed report is told and the others go on. Then the\n"
     "project summary, project-summary.csv (RFC 4180, UTF-8) and\n"
     "project-summary.docx: a row of figures per survey with its report or why\n"
     "there is none, and a totals row (frames, length, sediment volume, sections\n"
     "per worst grade 0-4).\n"
     "\n"
     "Progress is told on stderr. Standard output has a line per survey as it is\n"
     "done, fields separated by a tab, and one for the summary at the end:\n"
     "  ok<TAB>SURVEY<TAB>REPORT\n"
     "  failed<TAB>SURVEY<TAB>REASON\n"
     "  summary<TAB>CSV<TAB>DOCX\n"
     "SIGINT or SIGTERM cancels: the reports being written are stopped and\n"
     "removed, the reports already written stay whole, and the summary is not\n"
     "written. Exit status 1 when any report failed, the summary could not be\n"
     "written or the batch was cancelled.",
     addBatchReport},
    {"video", "every frame as the frame view shows it, as an AVI movie",
     "Every frame as the frame view shows it (with its overlay texts with\n"
     "--texts), N x N (500), as an AVI movie of MPEG-4 key frames at F frames per\n"
     "second (4).",
     addVideo},
    {"library", "catalogue folders of surveys and list them with their figures",
     "The survey library: a catalogue of the surveys in the folders added, with\n"
     "their place, wells, length, sediment and worst grades, kept in an SQLite\n"
     "database ($XDG_DATA_HOME or ~/.local/share, then Dorvane/Tessiq/library.sqlite,\n"
     "or --db) that the desktop program shares. 'add DIR...' adds folders and\n"
     "scans; 'scan' reads only new and changed files and drops those gone; 'list'\n"
     "prints a table, CSV (--csv) or JSON (--json); 'remove DIR' takes a folder out.\n"
     "Survey files are only read.",
     addLibrary},
};

bool isCommand(const char *name)
{
    for (const CommandEntry &entry : Entries)
        if (!std::strcmp(entry.name, name))
            return true;
    return false;
}

// CLI11's help with a blank line between what a command does and its usage.
class HelpFormatter : public CLI::Formatter
{
public:
    std::string make_description(const CLI::App *app) const override
    {
        return CLI::Formatter::make_description(app) + "\n";
    }
};

std::string commandPath(const CLI::App &command)
{
    return command.get_parent() ? std::string(Name) + " " + command.get_name() : Name;
}

} // namespace

CommandLine::CommandLine()
    : m_formatter(std::make_shared<HelpFormatter>()),
      m_app(std::make_unique<CLI::App>(Description, Name))
{
    m_formatter->column_width(30);
    m_formatter->label("SUBCOMMAND", "COMMAND");
    m_app->formatter(m_formatter);
    m_app->footer(ExitStatus);
    m_app->require_subcommand(1);
    // An option given twice takes its last value, as it always has.
    m_app->option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    for (const CommandEntry &entry : Entries) {
        CLI::App *command = m_app->add_subcommand(entry.name, entry.summary);
        command->group("Commands");
        command->footer(*entry.details ? std::string(entry.details) + "\n\n" + ExitStatus
                                       : std::string(ExitStatus));
        m_commands.emplace_back(command, entry.add(*command));
    }
}

CommandLine::~CommandLine() = default;

std::optional<int> CommandLine::parse(int argc, char **argv)
{
    if (argc < 2) {
        reportUsageError(*m_app, "a command is required");
        return 2;
    }
    // The build writes the manual page this way; it is no option for users.
    if (argc == 2 && !std::strcmp(argv[1], "--man-page")) {
        std::fputs(manPage().c_str(), stdout);
        return 0;
    }
    if (!std::strcmp(argv[1], "help")) {
        std::fputs(m_app->help().c_str(), stdout);
        return 0;
    }
    if (argv[1][0] != '-' && !isCommand(argv[1])) {
        reportUsageError(*m_app, std::string("unknown command '") + argv[1] + "'");
        return 2;
    }
    try {
        m_app->parse(argc, argv);
    } catch (const CLI::CallForHelp &) {
        std::fputs(m_app->help().c_str(), stdout);
        return 0;
    } catch (const CLI::ParseError &error) {
        const auto chosen = m_app->get_subcommands();
        reportUsageError(chosen.empty() ? *m_app : *chosen.front(), error.what());
        return 2;
    }
    m_chosen = m_app->get_subcommands().front();
    for (const auto &[command, action] : m_commands)
        if (command == m_chosen)
            m_action = &action;
    return std::nullopt;
}

const CommandAction &CommandLine::action() const
{
    return *m_action;
}

void CommandLine::reportUsageError(const std::string &message) const
{
    reportUsageError(*m_chosen, message);
}

void CommandLine::reportUsageError(const CLI::App &command, const std::string &message) const
{
    const std::string path = commandPath(command);
    std::fprintf(stderr, "%s: %s\n%sRun '%s --help' for more information.\n", path.c_str(),
                 message.c_str(), m_formatter->make_usage(&command, path).c_str(), path.c_str());
}

std::string CommandLine::manPage() const
{
    ManPage page(Name, "inspect, analyse and render sonar pipe surveys");
    page.addSection("DESCRIPTION", m_app->help());
    for (const auto &[command, action] : m_commands)
        page.addSubsection(command->get_name(), command->help(Name));
    return page.text();
}

} // namespace dorvane::cli
