#include "render/PipeGpuModel.h"

#include "core/base/ByteOrder.h"
#include "core/display/DibBlock.h"
#include "core/view3d/PipeMesh.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <epoxy/gl.h>
#include <new>

namespace dorvane {

namespace {

// The anisotropic filtering extension's names (not in the core headers).
constexpr GLenum TextureMaxAnisotropy = 0x84FE;
constexpr GLenum MaxTextureMaxAnisotropy = 0x84FF;
constexpr float Anisotropy = 8.0f;

} // namespace

PipeGpuModel::~PipeGpuModel()
{
    release();
}

void PipeGpuModel::release()
{
    if (m_texture)
        glDeleteTextures(1, &m_texture);
    if (m_indexBuffer)
        glDeleteBuffers(1, &m_indexBuffer);
    if (m_vertexBuffer)
        glDeleteBuffers(1, &m_vertexBuffer);
    if (m_vertexArray)
        glDeleteVertexArrays(1, &m_vertexArray);
    m_texture = m_indexBuffer = m_vertexBuffer = m_vertexArray = 0;
    m_frameCount = 0;
    m_largestRadius = 0;
    m_bandStarts.clear();
    m_runCounts.clear();
    m_runOffsets.clear();
    m_runBases.clear();
}

bool PipeGpuModel::upload(const PipeMesh &mesh)
{
    release();
    m_frameCount = mesh.frameCount();
    if (m_frameCount == 0)
        return true;
    if (!uploadPositions(mesh) || !uploadStrips(mesh)) {
        release();
        return false;
    }
    return true;
}

bool PipeGpuModel::uploadPositions(const PipeMesh &mesh)
{
    m_largestRadius = mesh.largestRadius();
    while (glGetError() != GL_NO_ERROR) {
    }
    glGenVertexArrays(1, &m_vertexArray);
    glBindVertexArray(m_vertexArray);
    glGenBuffers(1, &m_vertexBuffer);
    glBindBuffer(GL_ARRAY_BUFFER, m_vertexBuffer);
    // Only each vertex's radius in pixels, in 16 bits where it fits: its
    // position follows from that and its ring and column, the normal is the
    // position itself and the texture coordinates follow from ring and
    // column too, so the shader works them out and the buffer is 2 bytes a
    // vertex instead of 32.
    const bool narrow = mesh.radiiFitIn16Bits();
    const GLsizeiptr ringBytes = static_cast<GLsizeiptr>(PipeMesh::RingVertices) *
                                 (narrow ? sizeof(uint16_t) : sizeof(float));
    glBufferData(GL_ARRAY_BUFFER, ringBytes * m_frameCount, nullptr, GL_STATIC_DRAW);
    // The mesh writes the radii straight into the buffer, a chunk of rings
    // at a time: no copy of the whole model is made on the way.
    for (int first = 0; first < m_frameCount; first += ChunkBands) {
        const int rings = std::min(ChunkBands, m_frameCount - first);
        void *target = glMapBufferRange(GL_ARRAY_BUFFER, ringBytes * first, ringBytes * rings,
                                        GL_MAP_WRITE_BIT | GL_MAP_INVALIDATE_RANGE_BIT);
        if (!target)
            return false;
        if (narrow)
            mesh.writeRadii(first, rings, static_cast<uint16_t *>(target));
        else
            mesh.writeRadii(first, rings, static_cast<float *>(target));
        if (!glUnmapBuffer(GL_ARRAY_BUFFER))
            return false;
    }
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 1, narrow ? GL_UNSIGNED_SHORT : GL_FLOAT, GL_FALSE, 0, nullptr);
    glBindVertexArray(0);
    return glGetError() == GL_NO_ERROR;
}

bool PipeGpuModel::uploadStrips(const PipeMesh &mesh)
{
    // Every strip is a stretch of the one pattern that joins a ring to the
    // next, drawn from its band's first vertex: the index buffer holds the
    // pattern alone, and each strip is its start, length and base vertex.
    try {
        m_bandStarts.reserve(static_cast<size_t>(mesh.bandCount()) + 1);
        const auto runs = static_cast<size_t>(mesh.runCount());
        m_runCounts.reserve(runs);
        m_runOffsets.reserve(runs);
        m_runBases.reserve(runs);
    } catch (const std::bad_alloc &) {
        return false;
    }
    for (int band = 0; band < mesh.bandCount(); ++band) {
        m_bandStarts.push_back(static_cast<uint32_t>(m_runCounts.size()));
        for (const StripRun &run : mesh.runs(band)) {
            // t triangles from pattern index s take indices s .. s + t + 1.
            m_runCounts.push_back(run.triangles + 2);
            m_runOffsets.push_back(reinterpret_cast<const void *>(
                static_cast<uintptr_t>(run.start) * sizeof(uint16_t)));
            m_runBases.push_back(band * PipeMesh::RingVertices);
        }
    }
    m_bandStarts.push_back(static_cast<uint32_t>(m_runCounts.size()));

    const auto &pattern = PipeMesh::stripIndices();
    glBindVertexArray(m_vertexArray);
    glGenBuffers(1, &m_indexBuffer);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, m_indexBuffer);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(sizeof pattern), pattern.data(),
                 GL_STATIC_DRAW);
    glBindVertexArray(0);
    return glGetError() == GL_NO_ERROR;
}

void PipeGpuModel::loadTexture(std::span<const uint8_t> block, int maximumSize, bool anisotropic)
{
    releaseTexture();
    if (block.size() < DibBlock::InfoHeaderSize)
        return;
    const int32_t width = le::readI32(block.data() + 4);
    const int32_t height = le::readI32(block.data() + 8);
    const uint16_t bitsPerPixel = le::readU16(block.data() + 14);
    if (bitsPerPixel != 24 || width < 1 || height < 1)
        return;
    const size_t stride = DibBlock::strideFor(width, 24);
    if (block.size() < DibBlock::InfoHeaderSize + stride * static_cast<size_t>(height))
        return;
    const uint8_t *pixels = block.data() + DibBlock::InfoHeaderSize;
    loadTexture(
        width, height,
        [&](int first, int count, uint8_t *out) {
            std::copy_n(pixels + static_cast<size_t>(first) * stride,
                        static_cast<size_t>(count) * stride, out);
        },
        maximumSize, anisotropic);
}

void PipeGpuModel::loadTexture(int width, int height, const TextureRows &rowsOf, int maximumSize,
                               bool anisotropic)
{
    releaseTexture();
    if (width < 1 || height < 1 || width > maximumSize)
        return;
    // Rows go up as the map holds them (bottom row first, blue first, rows of
    // 4 bytes): the shader reads the map upside down instead of the map being
    // turned. They go a piece at a time, so the whole map is never needed in
    // memory beside the texture. A survey longer than the largest texture is
    // sampled down to it.
    const size_t stride = DibBlock::strideFor(width, 24);
    const int rows = std::min(height, maximumSize);
    std::vector<uint8_t> piece;
    try {
        piece.resize(stride * static_cast<size_t>(std::min(rows, ChunkBands)));
    } catch (const std::bad_alloc &) {
        return;
    }
    glGenTextures(1, &m_texture);
    glBindTexture(GL_TEXTURE_2D, m_texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, width, rows, 0, GL_BGR, GL_UNSIGNED_BYTE, nullptr);
    for (int first = 0; first < rows; first += ChunkBands) {
        const int count = std::min(ChunkBands, rows - first);
        if (rows == height) {
            rowsOf(first, count, piece.data());
        } else {
            for (int k = first; k < first + count; ++k) {
                const int64_t fromTop = static_cast<int64_t>(rows - 1 - k) * height / rows;
                rowsOf(static_cast<int>(height - 1 - fromTop), 1,
                       piece.data() + static_cast<size_t>(k - first) * stride);
            }
        }
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, first, width, count, GL_BGR, GL_UNSIGNED_BYTE,
                        piece.data());
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    if (anisotropic) {
        GLfloat largest = 0;
        glGetFloatv(MaxTextureMaxAnisotropy, &largest);
        if (glGetError() == GL_NO_ERROR && largest >= 1.0f)
            glTexParameterf(GL_TEXTURE_2D, TextureMaxAnisotropy, std::min(largest, Anisotropy));
    }
    while (glGetError() != GL_NO_ERROR) {
    }
}

void PipeGpuModel::releaseTexture()
{
    if (m_texture)
        glDeleteTextures(1, &m_texture);
    m_texture = 0;
}

void PipeGpuModel::bind()
{
    glBindVertexArray(m_vertexArray);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, m_texture);
}

int PipeGpuModel::drawBands(int first, int last)
{
    const int bands = static_cast<int>(m_bandStarts.size()) - 1;
    first = std::max(first, 0);
    last = std::min(last, bands - 1);
    int calls = 0;
    for (int chunk = first / ChunkBands * ChunkBands; chunk <= last; chunk += ChunkBands) {
        const int from = std::max(first, chunk);
        const int to = std::min(last, chunk + ChunkBands - 1);
        const uint32_t begin = m_bandStarts[static_cast<size_t>(from)];
        const uint32_t end = m_bandStarts[static_cast<size_t>(to) + 1];
        if (end == begin)
            continue;
        glMultiDrawElementsBaseVertex(GL_TRIANGLE_STRIP, m_runCounts.data() + begin,
                                      GL_UNSIGNED_SHORT, m_runOffsets.data() + begin,
                                      static_cast<GLsizei>(end - begin), m_runBases.data() + begin);
        ++calls;
        // A software driver holds every triangle of the picture until it is
        // flushed: drawn in one go, a long survey's model took 60 MB there.
        glFlush();
    }
    return calls;
}

int PipeGpuModel::drawBand(int band)
{
    return band >= 0 ? drawBands(band, band) : 0;
}

} // namespace dorvane
