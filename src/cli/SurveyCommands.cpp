#include "cli/Commands.h"
#include "cli/CommonOptions.h"
#include "cli/JsonText.h"
#include "cli/OpenSurvey.h"
#include "core/app/TextIds.h"
#include "core/base/GbkText.h"
#include "core/display/SedimentChartScale.h"

#include <CLI/App.hpp>
#include <cstdio>
#include <memory>
#include <string>

namespace dorvane::cli {

namespace {

// A frame's attributes and sediment, in the order of the CSV columns; the
// floats are kept as the 32-bit values stored.
nlohmann::ordered_json frameRow(int index, const FrameHeader &h, const DerivedFrames &d)
{
    const auto i = static_cast<size_t>(index);
    nlohmann::ordered_json row;
    row["index"] = index;
    row["cable_m"] = h.cableLength;
    row["tilt"] = h.tilt;
    row["roll"] = h.roll;
    row["detect_mm"] = h.detectRadius;
    row["pipe_mm"] = h.pipeRadius;
    row["error_pct"] = h.errorRate;
    row["defect"] = h.defectFrame;
    row["report"] = h.reportShot;
    row["exclude"] = h.excludeSediment;
    row["circle_on"] = h.circleOn;
    row["circle_x"] = h.circleX;
    row["circle_y"] = h.circleY;
    row["sediment_permille"] = d.sedimentPermille()[i];
    row["sediment_depth_mm"] = d.sedimentDepth()[i];
    return row;
}

// A survey's text on one line of its own: line breaks and other control
// characters are written as escapes, a backslash as two.
std::string oneLine(std::string_view gbk)
{
    std::string out;
    for (const char c : gbkToUtf8(gbk)) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else if (c == '\t')
            out += "\\t";
        else if (byte < 0x20 || byte == 0x7F) {
            char escape[5];
            std::snprintf(escape, sizeof escape, "\\x%02X", byte);
            out += escape;
        } else
            out += c;
    }
    return out;
}

std::string csvLine(const nlohmann::ordered_json &row, bool names)
{
    std::string line;
    for (const auto &[name, value] : row.items()) {
        if (!line.empty())
            line += ',';
        line += names ? name : valueText(value);
    }
    return line + "\n";
}

int runInfo(const std::string &path)
{
    Session session;
    if (!session.open(path))
        return 1;
    const AnimationDocument &doc = session.document;
    const AnimationFileHeader &h = doc.fileHeader();
    std::printf("frames: %d\n", doc.frameCount());
    std::printf("place: %s\n", oneLine(h.place()).c_str());
    std::printf("start_well: %s\n", oneLine(h.startWell()).c_str());
    std::printf("end_well: %s\n", oneLine(h.endWell()).c_str());
    std::printf("cable_span_m: %s\n", valueText(doc.cableSpan()).c_str());
    std::printf("average_sediment_permille: %d\n", doc.averageSediment());
    // The sediment chart's scales, for the pipe radius of the first frame.
    FrameHeader first;
    doc.readFrameHeader(0, first);
    const auto &derived = doc.derived();
    const SedimentChartScale scale =
        SedimentChartScale::of(derived.cableLengths(), first.pipeRadius);
    // Cable lengths that fall along the survey leave the chart without a
    // distance axis.
    if (scale.xmin <= scale.xmax)
        std::printf("chart_x_range_m: %g %g\n", scale.xmin, scale.xmax);
    else
        std::printf("chart_x_range_m: none\n");
    std::printf("chart_y_max_mm: %d\n", scale.ymax);
    std::printf("chart_average_depth_mm: %d\n",
                scale.averageDepth(derived.cableLengths(), derived.sedimentDepth()));
    return 0;
}

int runFrames(const std::string &path, bool json)
{
    Session session;
    if (!session.open(path))
        return 1;
    const AnimationDocument &doc = session.document;

    for (int i = 0; i < doc.frameCount(); ++i) {
        FrameHeader h;
        if (!doc.readFrameHeader(i, h)) {
            std::fflush(stdout);
            session.messages.showMessage(text::ReadFileDataError);
            return 1;
        }
        const nlohmann::ordered_json row = frameRow(i, h, doc.derived());
        std::string line;
        if (json) {
            line = i == 0 ? "[\n  " : ",\n  ";
            line += jsonObjectLine(row);
        } else {
            if (i == 0)
                line = csvLine(row, true);
            line += csvLine(row, false);
        }
        // The rest would have nowhere to go; main tells why.
        if (std::fputs(line.c_str(), stdout) == EOF)
            return 1;
    }
    if (json)
        std::fputs("\n]\n", stdout);
    return 0;
}

int runProfile(const std::string &path, int frameOption)
{
    Session session;
    if (!session.open(path))
        return 1;
    const int frame = session.frameIndex(frameOption);
    for (uint32_t value : session.document.derived().radiusProfile(frame))
        std::printf("%u\n", value);
    return 0;
}

} // namespace

CommandAction addInfo(CLI::App &command)
{
    auto path = std::make_shared<std::string>();
    addSurveyFile(command, *path);
    return [path] { return runInfo(*path); };
}

CommandAction addFrames(CLI::App &command)
{
    struct Options
    {
        std::string path;
        bool json = false;
    };
    auto o = std::make_shared<Options>();
    addSurveyFile(command, o->path);
    command.add_flag("--json", o->json, "a JSON array of objects instead of CSV");
    return [o] { return runFrames(o->path, o->json); };
}

CommandAction addProfile(CLI::App &command)
{
    struct Options
    {
        std::string path;
        int frame = 0;
    };
    auto o = std::make_shared<Options>();
    addSurveyFile(command, o->path);
    addFrameOption(command, o->frame);
    return [o] { return runProfile(o->path, o->frame); };
}

} // namespace dorvane::cli
