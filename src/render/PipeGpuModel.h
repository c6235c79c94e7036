#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace dorvane {

class PipeMesh;

// The pipe model in graphics memory: the vertices, the one strip pattern
// that joins a ring to the next as the index buffer (each strip of each band
// is a stretch of it from the band's first vertex, and a stretch of
// ChunkBands bands is one draw call) and the deviation map as its texture.
// Filled once per build; drawing touches no vertex data. Needs the
// renderer's context current whenever it is called.
class PipeGpuModel
{
public:
    // Bands drawn by one call at most, and rings written at a time.
    static constexpr int ChunkBands = 64;

    PipeGpuModel() = default;
    ~PipeGpuModel();
    PipeGpuModel(const PipeGpuModel &) = delete;
    PipeGpuModel &operator=(const PipeGpuModel &) = delete;

    // Uploads the mesh's vertices and strips. False when graphics memory
    // cannot be had.
    bool upload(const PipeMesh &mesh);
    // Writes count rows of the map from row first on, bottom row first,
    // blue-green-red, each padded to 4 bytes.
    using TextureRows = std::function<void(int first, int count, uint8_t *out)>;
    // The texture of a map of width x height pixels, frame 0 at the bottom,
    // asked for a piece at a time. Anisotropic filtering of 8 where asked
    // for and the driver has it.
    void loadTexture(int width, int height, const TextureRows &rows, int maximumSize,
                     bool anisotropic);
    // The same from a 24-bit bitmap block (info header and rows); a block
    // that is not one leaves the model untextured.
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
    void releaseTexture();
    bool uploadPositions(const PipeMesh &mesh);
    bool uploadStrips(const PipeMesh &mesh);

    uint32_t m_vertexArray = 0;
    uint32_t m_vertexBuffer = 0;
    uint32_t m_indexBuffer = 0;
    uint32_t m_texture = 0;
    int m_frameCount = 0;
    float m_largestRadius = 0;
    // Band b's strips are [m_bandStarts[b], m_bandStarts[b + 1]) of the
    // strips' index counts, pattern offsets and base vertices.
    std::vector<uint32_t> m_bandStarts;
    std::vector<int> m_runCounts;
    std::vector<const void *> m_runOffsets;
    std::vector<int> m_runBases;
};

} // namespace dorvane
