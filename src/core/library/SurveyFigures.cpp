#include "core/library/SurveyFigures.h"

#include "core/app/TextService.h"
#include "core/assess/ConditionAssessment.h"
#include "core/base/GbkText.h"
#include "core/base/MessageSink.h"
#include "core/document/AnimationDocument.h"

#include <algorithm>
#include <cmath>

namespace dorvane {

namespace {

// Keeps the first thing the document tells, as the reason it failed.
class FirstMessage final : public MessageSink
{
public:
    Answer ask(int, Buttons) override { return Answer::Cancel; }
    std::string text;

private:
    void deliver(int textId, std::string_view detail) override
    {
        if (text.empty())
            text = withDetail(loadText(textId), detail);
    }
};

} // namespace

SurveyFigures surveyFigures(const AnimationDocument &document, const GradingTable &grades)
{
    const AnimationFileHeader &header = document.fileHeader();
    const DerivedFrames &derived = document.derived();
    SurveyFigures f;
    f.place = gbkToUtf8(header.place());
    f.startWell = gbkToUtf8(header.startWell());
    f.endWell = gbkToUtf8(header.endWell());
    f.frameCount = document.frameCount();
    const std::vector<float> &lengths = derived.cableLengths();
    if (!lengths.empty()) {
        f.firstCableM = lengths.front();
        f.lastCableM = lengths.back();
    }
    f.surveyedLengthM = std::fabs(static_cast<double>(document.cableSpan()));
    f.averageSedimentPermille = document.averageSediment();

    const ConditionAssessment a = assessSurvey(derived, grades);
    for (const FrameCondition &frame : a.frames)
        if (frame.assessed && frame.sedimentDepthPct)
            f.maxSedimentDepthPct = std::max(
                f.maxSedimentDepthPct.value_or(*frame.sedimentDepthPct), *frame.sedimentDepthPct);
    const SectionSummary &s = a.summary;
    f.worstDepositGrade = s.worstGrade[static_cast<size_t>(DefectKind::Deposit)];
    f.worstDeformationGrade = s.worstGrade[static_cast<size_t>(DefectKind::Deformation)];
    f.sedimentVolumeM3 = s.sedimentVolumeM3;
    f.meanCapacityLossPct = s.meanCapacityLossPct;
    f.maxCapacityLossPct = s.maxCapacityLossPct;
    return f;
}

std::optional<SurveyFigures> readSurveyFigures(const std::string &path, const GradingTable &grades,
                                               std::string &error)
{
    FirstMessage messages;
    AnimationDocument document(messages);
    if (!document.open(path, nullptr)) {
        error = messages.text.empty() ? path : messages.text;
        return std::nullopt;
    }
    error.clear();
    return surveyFigures(document, grades);
}

} // namespace dorvane
