#include "cli/Commands.h"
#include "cli/CommonOptions.h"
#include "cli/FigureText.h"
#include "cli/OpenSurvey.h"
#include "core/assess/ConditionAssessment.h"

#include <CLI/App.hpp>
#include <cstdio>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

namespace dorvane::cli {

namespace {

struct AssessOptions
{
    std::string path;
    std::string grades;
    bool json = false;
    bool frames = false;
};

nlohmann::ordered_json recordJson(const DefectRecord &r, const GradingTable &grades)
{
    return {{"kind", defectKindName(r.kind)},
            {"code", grades.of(r.kind).code},
            {"grade", r.grade},
            {"score", r.score},
            {"first_frame", r.firstFrame},
            {"last_frame", r.lastFrame},
            {"from_m", r.fromM},
            {"to_m", r.toM},
            {"length_m", r.lengthM},
            {"worst_value_pct", r.worstValue},
            {"worst_frame", r.worstFrame}};
}

nlohmann::ordered_json summaryJson(const SectionSummary &s, const GradingTable &grades)
{
    nlohmann::ordered_json summary = {
        {"assessed_frames", s.assessedFrames},
        {"assessed_length_m", s.assessedLengthM},
        {"sediment_volume_m3", s.sedimentVolumeM3},
        {"mean_capacity_loss_pct", jsonNumber(s.meanCapacityLossPct)},
        {"max_capacity_loss_pct", jsonNumber(s.maxCapacityLossPct)},
        {"max_capacity_loss_frame", s.maxCapacityLossPct
                                        ? nlohmann::ordered_json(s.maxCapacityLossFrame)
                                        : nlohmann::ordered_json(nullptr)}};
    for (int k = 0; k < DefectKindCount; ++k) {
        const auto kind = static_cast<DefectKind>(k);
        const auto at = static_cast<size_t>(k);
        summary[defectKindName(kind)] = {{"code", grades.of(kind).code},
                                         {"worst_grade", s.worstGrade[at]},
                                         {"length_in_grade_m", s.lengthInGradeM[at]}};
    }
    return summary;
}

// frame,cable_m,capacity_loss_pct,... with empty fields where a figure is
// absent.
std::string frameLine(int index, float cable, const FrameCondition &f, const GradingTable &grades)
{
    std::string line = std::to_string(index) + "," + number(static_cast<double>(cable));
    std::optional<double> loss, dMin, dMax, dMean, ovality, deformation;
    if (f.assessed)
        loss = f.capacityLossPct;
    if (f.shape) {
        dMin = f.shape->minDiameter;
        dMax = f.shape->maxDiameter;
        dMean = f.shape->meanDiameter;
        ovality = f.shape->ovalityPct;
        deformation = f.shape->deformationPct;
    }
    for (const auto &value : {loss, f.sedimentDepthPct, dMin, dMax, dMean, ovality, deformation})
        line += "," + number(value);
    for (const DefectKind kind : {DefectKind::Deposit, DefectKind::Deformation}) {
        const auto value = ConditionAssessment::gradedValue(f, kind);
        line += "," + (value ? std::to_string(grades.of(kind).grade(*value)) : std::string());
    }
    return line + "\n";
}

nlohmann::ordered_json frameJson(int index, float cable, const FrameCondition &f,
                                 const GradingTable &grades)
{
    nlohmann::ordered_json row = {{"frame", index}, {"cable_m", cable}};
    const auto shapeValue = [&](double PipeShape::*field) {
        return f.shape ? nlohmann::ordered_json((*f.shape).*field)
                       : nlohmann::ordered_json(nullptr);
    };
    row["capacity_loss_pct"] =
        f.assessed ? nlohmann::ordered_json(f.capacityLossPct) : nlohmann::ordered_json(nullptr);
    row["sediment_depth_pct"] = jsonNumber(f.sedimentDepthPct);
    row["d_min_mm"] = shapeValue(&PipeShape::minDiameter);
    row["d_max_mm"] = shapeValue(&PipeShape::maxDiameter);
    row["d_mean_mm"] = shapeValue(&PipeShape::meanDiameter);
    row["ovality_pct"] = shapeValue(&PipeShape::ovalityPct);
    row["deformation_pct"] = shapeValue(&PipeShape::deformationPct);
    for (const DefectKind kind : {DefectKind::Deposit, DefectKind::Deformation}) {
        const auto value = ConditionAssessment::gradedValue(f, kind);
        row[std::string(defectKindName(kind)) + "_grade"] =
            value ? nlohmann::ordered_json(grades.of(kind).grade(*value))
                  : nlohmann::ordered_json(nullptr);
    }
    return row;
}

void printText(const ConditionAssessment &a, const GradingTable &grades)
{
    const SectionSummary &s = a.summary;
    std::printf("assessed_frames: %d\n", s.assessedFrames);
    std::printf("assessed_length_m: %s\n", number(s.assessedLengthM).c_str());
    std::printf("sediment_volume_m3: %s\n", number(s.sedimentVolumeM3).c_str());
    std::printf("mean_capacity_loss_pct: %s\n", number(s.meanCapacityLossPct).c_str());
    std::printf("max_capacity_loss_pct: %s\n", number(s.maxCapacityLossPct).c_str());
    std::printf("max_capacity_loss_frame: %s\n",
                s.maxCapacityLossPct ? std::to_string(s.maxCapacityLossFrame).c_str() : "");
    for (int k = 0; k < DefectKindCount; ++k) {
        const auto kind = static_cast<DefectKind>(k);
        const auto at = static_cast<size_t>(k);
        std::string lengths;
        for (const double length : s.lengthInGradeM[at])
            lengths += (lengths.empty() ? "" : " ") + number(length);
        std::printf("%s: %s worst grade %d, m in grades 1-4: %s\n", defectKindName(kind),
                    grades.of(kind).code.c_str(), s.worstGrade[at], lengths.c_str());
    }
    std::printf("records: %zu\n", a.records.size());
    if (a.records.empty())
        return;
    std::printf("kind,code,grade,score,first_frame,last_frame,from_m,to_m,length_m,"
                "worst_value_pct,worst_frame\n");
    for (const DefectRecord &r : a.records)
        std::printf("%s,%s,%d,%s,%d,%d,%s,%s,%s,%s,%d\n", defectKindName(r.kind),
                    grades.of(r.kind).code.c_str(), r.grade, number(r.score).c_str(), r.firstFrame,
                    r.lastFrame, number(r.fromM).c_str(), number(r.toM).c_str(),
                    number(r.lengthM).c_str(), number(r.worstValue).c_str(), r.worstFrame);
}

int runAssess(const AssessOptions &o)
{
    const std::optional<GradingTable> chosen = chosenGradingTable(o.grades);
    if (!chosen)
        return 1;
    const GradingTable &grades = *chosen;
    Session session;
    if (!session.open(o.path))
        return 1;
    const DerivedFrames &derived = session.document.derived();
    const ConditionAssessment a = assessSurvey(derived, grades);
    const auto &cable = derived.cableLengths();

    if (o.json) {
        nlohmann::ordered_json document = {{"summary", summaryJson(a.summary, grades)},
                                           {"records", nlohmann::ordered_json::array()}};
        for (const DefectRecord &r : a.records)
            document["records"].push_back(recordJson(r, grades));
        if (o.frames) {
            document["frames"] = nlohmann::ordered_json::array();
            for (size_t i = 0; i < a.frames.size(); ++i)
                document["frames"].push_back(
                    frameJson(static_cast<int>(i), cable[i], a.frames[i], grades));
        }
        // NaN cable lengths, which JSON cannot hold, are written as null.
        std::puts(document.dump(2, ' ', false, nlohmann::json::error_handler_t::replace).c_str());
        return 0;
    }
    printText(a, grades);
    if (o.frames) {
        std::fputs("frame,cable_m,capacity_loss_pct,sediment_depth_pct,d_min_mm,d_max_mm,"
                   "d_mean_mm,ovality_pct,deformation_pct,deposit_grade,deformation_grade\n",
                   stdout);
        for (size_t i = 0; i < a.frames.size(); ++i)
            if (std::fputs(frameLine(static_cast<int>(i), cable[i], a.frames[i], grades).c_str(),
                           stdout) == EOF)
                return 1;
    }
    return 0;
}

} // namespace

CommandAction addAssess(CLI::App &command)
{
    auto o = std::make_shared<AssessOptions>();
    addSurveyFile(command, o->path);
    command
        .add_option("--grades", o->grades,
                    "the grading table (JSON; grades.json beside the program)")
        ->type_name("FILE");
    command.add_flag("--json", o->json, "write everything as one JSON document");
    command.add_flag("--frames", o->frames, "add every frame's figures (CSV rows, or in the JSON)");
    return [o] { return runAssess(*o); };
}

} // namespace dorvane::cli
