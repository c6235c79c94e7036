#include "core/export/ReportTexts.h"

#include "core/base/GbkText.h"
#include "core/document/AnimationDocument.h"

#include <algorithm>
#include <cstdio>

namespace dorvane {

namespace {

// The upper bounds of classes 0, 1 and 2; class 3 has none.
constexpr std::array<uint32_t, 3> ClassLimits = {104, 304, 704};
constexpr uint32_t Excluded = 0xFFFFFFFFu;

std::string formatted(const char *format, double value)
{
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

int sedimentClass(uint32_t permille)
{
    int index = 0;
    while (index < static_cast<int>(ClassLimits.size()) && permille > ClassLimits[index])
        ++index;
    return index;
}

} // namespace

std::array<float, 4> sedimentClassLengths(std::span<const float> cableLengths,
                                          std::span<const int32_t> sedimentPermille)
{
    std::array<float, 4> lengths{};
    const size_t count = std::min(cableLengths.size(), sedimentPermille.size());
    for (size_t i = 1; i < count; ++i) {
        const auto permille = static_cast<uint32_t>(sedimentPermille[i]);
        if (permille == Excluded)
            continue;
        lengths[sedimentClass(permille)] += cableLengths[i] - cableLengths[i - 1];
    }
    return lengths;
}

ReportTexts reportTexts(const ReportFigures &figures)
{
    ReportTexts texts;
    texts.place = reportCellText(figures.place);
    const std::array<float, 4> lengths =
        sedimentClassLengths(figures.cableLengths, figures.sedimentPermille);
    for (size_t k = 0; k < lengths.size(); ++k) {
        texts.sedimentClasses[k].length = formatted("%.1f", lengths[k]);
        // A survey without length has no shares to speak of.
        const float share =
            figures.totalLength == 0 ? 0.0f : lengths[k] * 100 / figures.totalLength;
        texts.sedimentClasses[k].share = formatted("%.1f", share);
    }
    // A dash alone would stand for wells nobody entered.
    const std::string start = reportCellText(figures.startWell);
    const std::string end = reportCellText(figures.endWell);
    texts.wells = start.empty() && end.empty() ? std::string() : start + "-" + end;
    texts.totalLength = formatted("%.1f m", figures.totalLength);
    texts.averageSediment = formatted("%.1f%%", figures.averageSediment * 0.1);
    return texts;
}

ReportTexts reportTexts(const AnimationDocument &document)
{
    const AnimationFileHeader &header = document.fileHeader();
    const DerivedFrames &derived = document.derived();
    return reportTexts(ReportFigures{gbkToUtf8(header.place()), gbkToUtf8(header.startWell()),
                                     gbkToUtf8(header.endWell()), derived.cableLengths(),
                                     derived.sedimentPermille(), document.cableSpan(),
                                     document.averageSediment()});
}

// The bytes of a longer UTF-8 character are never below 0x80, so dropping
// single bytes cannot cut one.
std::string reportCellText(std::string text)
{
    std::erase_if(text, [](char c) {
        return static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r';
    });
    return text;
}

std::string defaultReportFileName(const std::tm &localTime)
{
    char name[96];
    std::snprintf(name, sizeof name, "%d-%d-%d %02d%02d%02d.docx", localTime.tm_year + 1900,
                  localTime.tm_mon + 1, localTime.tm_mday, localTime.tm_hour, localTime.tm_min,
                  localTime.tm_sec);
    return name;
}

} // namespace dorvane
