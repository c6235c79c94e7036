#include "core/document/DerivedFrames.h"

namespace dorvane {

void DerivedFrames::resize(int n)
{
    const auto count = static_cast<size_t>(n < 0 ? 0 : n);
    // assign() rather than resize(): every entry starts from zero again.
    m_peakSamples.assign(count, {});
    m_radiusProfiles.assign(count, {});
    m_defectFlags.assign(count, 0);
    m_reportFlags.assign(count, 0);
    m_sedimentPermille.assign(count, 0);
    m_sedimentDepth.assign(count, 0);
    m_cableLengths.assign(count, 0.0f);
    m_pipeRadii.assign(count, 0);
    m_detectRadii.assign(count, 0);
}

void DerivedFrames::extend(int n)
{
    if (n <= size())
        return;
    const auto count = static_cast<size_t>(n);
    m_peakSamples.resize(count);
    m_radiusProfiles.resize(count);
    m_defectFlags.resize(count);
    m_reportFlags.resize(count);
    m_sedimentPermille.resize(count);
    m_sedimentDepth.resize(count);
    m_cableLengths.resize(count);
    m_pipeRadii.resize(count);
    m_detectRadii.resize(count);
}

void DerivedFrames::release()
{
    *this = DerivedFrames();
}

void DerivedFrames::store(int index, const FrameHeader &header, const FrameAnalysis &analysis)
{
    const auto i = static_cast<size_t>(index);
    m_peakSamples[i] = analysis.peakSamples;
    m_radiusProfiles[i] = analysis.radii;
    m_sedimentPermille[i] = analysis.sedimentPermille;
    m_sedimentDepth[i] = analysis.sedimentDepth;
    m_cableLengths[i] = header.cableLength;
    m_pipeRadii[i] = header.pipeRadius;
    m_detectRadii[i] = header.detectRadius;
    m_defectFlags[i] = header.defectFrame;
    m_reportFlags[i] = header.reportShot;
}

std::vector<uint32_t> DerivedFrames::peakPixels(int index) const
{
    return profilePoints(peakSamples(index));
}

const std::array<uint8_t, BeamCount> &DerivedFrames::peakSamples(int index) const
{
    return m_peakSamples[static_cast<size_t>(index)];
}

std::span<const uint32_t, RadiusProfileSize> DerivedFrames::radiusProfile(int index) const
{
    return m_radiusProfiles[static_cast<size_t>(index)];
}

int DerivedFrames::averageSediment() const
{
    int64_t sum = 0;
    int64_t count = 0;
    for (int32_t v : m_sedimentPermille) {
        if (v == -1)
            continue;
        sum += v;
        ++count;
    }
    return count == 0 ? 0 : static_cast<int>(sum / count);
}

} // namespace dorvane
