#include "cli/Arguments.h"
#include "cli/Commands.h"
#include "cli/OpenSurvey.h"
#include "core/app/TextIds.h"
#include "core/base/GbkText.h"
#include "core/display/SedimentChartScale.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace dorvane::cli {

namespace {

// %.9g of a stored 32-bit float: enough digits to give the value back.
std::string number(float value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
    return text;
}

// JSON has no NaN or infinity; a hostile header's such values become null.
std::string jsonNumber(float value)
{
    return std::isfinite(value) ? number(value) : "null";
}

std::string jsonString(const std::string &utf8)
{
    std::string out = "\"";
    for (unsigned char c : utf8) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

struct FrameRow
{
    const char *name;
    std::string value;
};

std::vector<FrameRow> frameRow(int index, const FrameHeader &h, const DerivedFrames &d, bool json)
{
    const auto num = [json](float v) { return json ? jsonNumber(v) : number(v); };
    const auto i = static_cast<size_t>(index);
    return {
        {"index", std::to_string(index)},
        {"cable_m", num(h.cableLength)},
        {"tilt", num(h.tilt)},
        {"roll", num(h.roll)},
        {"detect_mm", std::to_string(h.detectRadius)},
        {"pipe_mm", std::to_string(h.pipeRadius)},
        {"error_pct", std::to_string(h.errorRate)},
        {"defect", std::to_string(h.defectFrame)},
        {"report", std::to_string(h.reportShot)},
        {"exclude", std::to_string(h.excludeSediment)},
        {"circle_on", std::to_string(h.circleOn)},
        {"circle_x", std::to_string(h.circleX)},
        {"circle_y", std::to_string(h.circleY)},
        {"sediment_permille", std::to_string(d.sedimentPermille()[i])},
        {"sediment_depth_mm", std::to_string(d.sedimentDepth()[i])},
    };
}

} // namespace

int runInfo(const std::vector<std::string> &args)
{
    const Arguments arguments(args, {}, {});
    arguments.expectPositional(1);
    Session session;
    if (!session.open(arguments.positional()[0]))
        return 1;
    const AnimationDocument &doc = session.document;
    const AnimationFileHeader &h = doc.fileHeader();
    std::printf("frames: %d\n", doc.frameCount());
    std::printf("place: %s\n", gbkToUtf8(h.place()).c_str());
    std::printf("start_well: %s\n", gbkToUtf8(h.startWell()).c_str());
    std::printf("end_well: %s\n", gbkToUtf8(h.endWell()).c_str());
    std::printf("cable_span_m: %s\n", number(doc.cableSpan()).c_str());
    std::printf("average_sediment_permille: %d\n", doc.averageSediment());
    // The sediment chart's scales, for the pipe radius of the first frame.
    FrameHeader first;
    doc.readFrameHeader(0, first);
    const auto &derived = doc.derived();
    const SedimentChartScale scale =
        SedimentChartScale::of(derived.cableLengths(), first.pipeRadius);
    std::printf("chart_x_range_m: %g %g\n", scale.xmin, scale.xmax);
    std::printf("chart_y_max_mm: %d\n", scale.ymax);
    std::printf("chart_average_depth_mm: %d\n",
                scale.averageDepth(derived.cableLengths(), derived.sedimentDepth()));
    return 0;
}

int runFrames(const std::vector<std::string> &args)
{
    const Arguments arguments(args, {}, {"--json"});
    arguments.expectPositional(1);
    const bool json = arguments.flag("--json");
    Session session;
    if (!session.open(arguments.positional()[0]))
        return 1;
    const AnimationDocument &doc = session.document;

    for (int i = 0; i < doc.frameCount(); ++i) {
        FrameHeader h;
        if (!doc.readFrameHeader(i, h)) {
            std::fflush(stdout);
            session.messages.showMessage(text::ReadFileDataError);
            return 1;
        }
        const auto row = frameRow(i, h, doc.derived(), json);
        std::string line;
        if (json) {
            line = i == 0 ? "[\n  {" : ",\n  {";
            for (size_t k = 0; k < row.size(); ++k)
                line += (k ? ", " : "") + jsonString(row[k].name) + ": " + row[k].value;
            line += "}";
        } else {
            if (i == 0) {
                for (size_t k = 0; k < row.size(); ++k)
                    line += (k ? "," : "") + std::string(row[k].name);
                line += "\n";
            }
            for (size_t k = 0; k < row.size(); ++k)
                line += (k ? "," : "") + row[k].value;
            line += "\n";
        }
        // The rest would have nowhere to go; main tells why.
        if (std::fputs(line.c_str(), stdout) == EOF)
            return 1;
    }
    if (json)
        std::fputs("\n]\n", stdout);
    return 0;
}

int runProfile(const std::vector<std::string> &args)
{
    const Arguments arguments(args, {"--frame"}, {});
    arguments.expectPositional(1);
    Session session;
    if (!session.open(arguments.positional()[0]))
        return 1;
    const int frame = session.frameIndex(arguments);
    for (uint32_t value : session.document.derived().radiusProfile(frame))
        std::printf("%u\n", value);
    return 0;
}

} // namespace dorvane::cli
