#pragma once

#include "core/display/Sediment.h"

#include <cstdint>
#include <span>
#include <vector>

namespace dorvane {

// The small per-frame values kept for every frame of an open survey, so that
// the playback bar, the charts and the 3D model never read all frames again.
// The echo peaks are kept as sample indices and turned into pixel codes on
// request, which keeps a long survey's footprint small.
class DerivedFrames
{
public:
    // n entries, all zero.
    void resize(int n);
    // Grows to n entries, keeping the ones there and zeroing the new ones;
    // the capacity grows geometrically. Throws std::bad_alloc when the memory
    // cannot be had, leaving the arrays of unequal size: release() them then.
    void extend(int n);
    void clear() { resize(0); }
    // Empties the arrays and gives their memory back.
    void release();
    int size() const { return static_cast<int>(m_defectFlags.size()); }

    void store(int index, const FrameHeader &header, const FrameAnalysis &analysis);

    // The pixel codes of every beam's echo peak, beam after beam.
    std::vector<uint32_t> peakPixels(int index) const;
    const std::array<uint8_t, BeamCount> &peakSamples(int index) const;
    // 400 beam radii in pixels, the pipe radius in pixels, the error rate.
    std::span<const uint32_t, RadiusProfileSize> radiusProfile(int index) const;
    std::span<const RadiusProfile> radiusProfiles() const { return m_radiusProfiles; }

    const std::vector<uint8_t> &defectFlags() const { return m_defectFlags; }
    const std::vector<uint8_t> &reportFlags() const { return m_reportFlags; }
    const std::vector<int32_t> &sedimentPermille() const { return m_sedimentPermille; }
    const std::vector<int32_t> &sedimentDepth() const { return m_sedimentDepth; }
    const std::vector<float> &cableLengths() const { return m_cableLengths; }
    // Each frame's pipe radius and detection radius, mm.
    const std::vector<uint16_t> &pipeRadii() const { return m_pipeRadii; }
    const std::vector<uint16_t> &detectRadii() const { return m_detectRadii; }

    // The pipe radius the sediment chart is scaled by wherever it is drawn
    // (window, report, batch tool): frame 0's, whatever frame is shown, so a
    // survey gives one chart. 0 when there are no frames.
    int chartPipeRadius() const { return m_pipeRadii.empty() ? 0 : m_pipeRadii.front(); }

    // Integer mean of the per-mille values that are not -1; 0 when none.
    int averageSediment() const;

private:
    std::vector<std::array<uint8_t, BeamCount>> m_peakSamples;
    std::vector<RadiusProfile> m_radiusProfiles;
    std::vector<uint8_t> m_defectFlags;
    std::vector<uint8_t> m_reportFlags;
    std::vector<int32_t> m_sedimentPermille;
    std::vector<int32_t> m_sedimentDepth;
    std::vector<float> m_cableLengths;
    std::vector<uint16_t> m_pipeRadii;
    std::vector<uint16_t> m_detectRadii;
};

} // namespace dorvane
