#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace dorvane {

class PipeMesh;

// The pipe model in graphics memory: the vertices, every strip of every band
// in one index buffer (strips separated by a restart index, so a stretch of
// ChunkBands bands is one draw call) and the deviation map as its texture. Filled once
// per build; drawing touches no vertex data. Needs the renderer's context
// current whenever it is called.
class PipeGpuModel
{
public:
    static constexpr uint16_t RestartIndex = 0xFFFFu;
    // Bands drawn by one call at most. The indices of a chunk's bands count
    // from its first ring, so they fit in 16 bits.
    static constexpr int ChunkBands = 64;

    PipeGpuModel() = default;
    ~PipeGpuModel();
    PipeGpuModel(const PipeGpuModel &) = delete;
    PipeGpuModel &operator=(const PipeGpuModel &) = delete;

    // Uploads the mesh's vertices and strips, freeing the mesh's own copy of
    // the vertices as soon as they are in graphics memory. False when
    // graphics memory cannot be had.
    bool upload(PipeMesh &mesh);
    // The texture from a 24-bit bitmap block (info header and rows, frame 0
    // at the bottom); a block that is not one leaves the model untextured.
    // Anisotropic filtering of 8 where asked for and the driver has it.
    void loadTexture(std::span<const uint8_t> mapBlock, int maximumSize, bool anisotropic);

    bool hasTexture() const { return m_texture != 0; }
    int frameCount() const { return m_frameCount; }
    // Binds the vertex array (and the texture to unit 0).
    void bind();
    // The largest distance of a vertex from the pipe axis.
    float largestRadius() const { return m_largestRadius; }
    // Draws every strip of bands first..last, ChunkBands bands a call; the
    // number of calls issued.
    int drawBands(int first, int last);
    // The strips of one band again; 0 calls when it has none.
    int drawBand(int band);

private:
    void release();
    bool uploadPositions(const PipeMesh &mesh);
    bool uploadStrips(const PipeMesh &mesh);

    uint32_t m_vertexArray = 0;
    uint32_t m_vertexBuffer = 0;
    uint32_t m_indexBuffer = 0;
    uint32_t m_texture = 0;
    int m_frameCount = 0;
    float m_largestRadius = 0;
    // Band b's indices are [m_bandStarts[b], m_bandStarts[b + 1]).
    std::vector<uint32_t> m_bandStarts;
};

} // namespace dorvane
