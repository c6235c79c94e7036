#include "cli/Commands.h"
#include "cli/CommonOptions.h"
#include "cli/OpenSurvey.h"
#include "core/view3d/PipeMesh.h"

#include <CLI/App.hpp>
#include <cstdio>
#include <memory>
#include <string>

namespace dorvane::cli {

namespace {

// "b: s,t s,t ...": the band and its runs in order.
std::string bandLine(int band, std::span<const StripRun> runs)
{
    std::string line = std::to_string(band);
    line += ':';
    for (const StripRun &run : runs) {
        line += ' ';
        line += std::to_string(run.start);
        line += ',';
        line += std::to_string(run.triangles);
    }
    line += '\n';
    return line;
}

int runMesh(const std::string &path)
{
    Session session;
    if (!session.open(path))
        return 1;
    // The radius profiles the window builds its model from.
    PipeMesh mesh;
    if (!mesh.build(session.document.derived().radiusProfiles(), &session.progress)) {
        std::fflush(stdout);
        std::fputs("tessiq-cli mesh: not enough memory for the model\n", stderr);
        return 1;
    }
    for (int b = 0; b < mesh.bandCount(); ++b) {
        const auto runs = mesh.runs(b);
        if (runs.empty())
            continue;
        // The rest would have nowhere to go; main tells why.
        if (std::fputs(bandLine(b, runs).c_str(), stdout) == EOF)
            return 1;
    }
    std::printf("%d\n", mesh.builtVertexCount());
    return 0;
}

} // namespace

CommandAction addMesh(CLI::App &command)
{
    auto path = std::make_shared<std::string>();
    addSurveyFile(command, *path);
    return [path] { return runMesh(*path); };
}

} // namespace dorvane::cli
