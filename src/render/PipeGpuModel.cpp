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

// A chunk's indices reach its last band's upper ring and stay below the
// restart index.
static_assert((PipeGpuModel::ChunkBands + 1) * PipeMesh::RingVertices < PipeGpuModel::RestartIndex);

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
}

bool PipeGpuModel::upload(PipeMesh &mesh)
{
    release();
    m_frameCount = mesh.frameCount();
    if (mesh.vertices().empty())
        return m_frameCount == 0;
    if (!uploadPositions(mesh)) {
        mesh.releaseVertices();
        release();
        return false;
    }
    // The model's largest copy goes before the strips take memory.
    mesh.releaseVertices();
    if (!uploadStrips(mesh)) {
        release();
        return false;
    }
    return true;
}

bool PipeGpuModel::uploadPositions(const PipeMesh &mesh)
{
    const std::vector<PipeVertex> &vertices = mesh.vertices();
    float largest = 0;
    for (const PipeVertex &v : vertices)
        largest = std::max(largest, v.x * v.x + v.z * v.z);
    m_largestRadius = std::sqrt(largest);

    while (glGetError() != GL_NO_ERROR) {
    }
    glGenVertexArrays(1, &m_vertexArray);
    glBindVertexArray(m_vertexArray);
    glGenBuffers(1, &m_vertexBuffer);
    glBindBuffer(GL_ARRAY_BUFFER, m_vertexBuffer);
    // Only the positions: the normal is the position itself and the texture
    // coordinates follow from the vertex's ring and column, so the shader
    // works them out and the buffer is 12 bytes a vertex instead of 32.
    const auto bytes = static_cast<GLsizeiptr>(vertices.size() * 3 * sizeof(float));
    glBufferData(GL_ARRAY_BUFFER, bytes, nullptr, GL_STATIC_DRAW);
    auto *target = static_cast<float *>(glMapBufferRange(
        GL_ARRAY_BUFFER, 0, bytes, GL_MAP_WRITE_BIT | GL_MAP_INVALIDATE_BUFFER_BIT));
    if (!target)
        return false;
    for (const PipeVertex &v : vertices) {
        *target++ = v.x;
        *target++ = v.y;
        *target++ = v.z;
    }
    if (!glUnmapBuffer(GL_ARRAY_BUFFER))
        return false;
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 3 * sizeof(float), nullptr);
    glBindVertexArray(0);
    return glGetError() == GL_NO_ERROR;
}

bool PipeGpuModel::uploadStrips(const PipeMesh &mesh)
{
    // t triangles from index s take indices s .. s + t + 1, then a restart.
    size_t count = 0;
    for (int band = 0; band < mesh.bandCount(); ++band)
        for (const StripRun &run : mesh.runs(band))
            count += static_cast<size_t>(run.triangles) + 3;
    try {
        m_bandStarts.reserve(static_cast<size_t>(mesh.bandCount()) + 1);
    } catch (const std::bad_alloc &) {
        return false;
    }
    glBindVertexArray(m_vertexArray);
    glGenBuffers(1, &m_indexBuffer);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, m_indexBuffer);
    const auto bytes = static_cast<GLsizeiptr>(std::max<size_t>(count, 1) * sizeof(uint16_t));
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, bytes, nullptr, GL_STATIC_DRAW);
    auto *target = static_cast<uint16_t *>(glMapBufferRange(
        GL_ELEMENT_ARRAY_BUFFER, 0, bytes, GL_MAP_WRITE_BIT | GL_MAP_INVALIDATE_BUFFER_BIT));
    if (!target) {
        glBindVertexArray(0);
        return false;
    }
    // Indices count from the first ring of the band's chunk: the chunk's
    // base vertex is added when it is drawn.
    const auto &pattern = PipeMesh::stripIndices();
    uint32_t written = 0;
    for (int band = 0; band < mesh.bandCount(); ++band) {
        m_bandStarts.push_back(written);
        const auto base = static_cast<uint32_t>(band % ChunkBands) * PipeMesh::RingVertices;
        for (const StripRun &run : mesh.runs(band)) {
            for (int k = run.start; k <= run.start + run.triangles + 1; ++k)
                target[written++] = static_cast<uint16_t>(base + pattern[static_cast<size_t>(k)]);
            target[written++] = RestartIndex;
        }
    }
    m_bandStarts.push_back(written);
    const bool unmapped = glUnmapBuffer(GL_ELEMENT_ARRAY_BUFFER);
    glBindVertexArray(0);
    return unmapped && glGetError() == GL_NO_ERROR;
}

void PipeGpuModel::loadTexture(std::span<const uint8_t> block, int maximumSize, bool anisotropic)
{
    if (m_texture) {
        glDeleteTextures(1, &m_texture);
        m_texture = 0;
    }
    if (block.size() < DibBlock::InfoHeaderSize)
        return;
    const int32_t width = le::readI32(block.data() + 4);
    const int32_t height = le::readI32(block.data() + 8);
    const uint16_t bitsPerPixel = le::readU16(block.data() + 14);
    if (bitsPerPixel != 24 || width < 1 || height < 1 || width > maximumSize)
        return;
    const size_t stride = DibBlock::strideFor(width, 24);
    if (block.size() < DibBlock::InfoHeaderSize + stride * static_cast<size_t>(height))
        return;

    // The bitmap's rows go up as they are (bottom row first, blue first, rows
    // of 4 bytes): the shader reads the map upside down instead of the map
    // being copied. A survey longer than the largest texture is sampled down
    // to it, the only case that needs a copy.
    const int rows = std::min(height, maximumSize);
    const uint8_t *pixels = block.data() + DibBlock::InfoHeaderSize;
    std::vector<uint8_t> sampled;
    if (rows < height) {
        try {
            sampled.resize(stride * static_cast<size_t>(rows));
        } catch (const std::bad_alloc &) {
            return;
        }
        for (int k = 0; k < rows; ++k) {
            const int64_t fromTop = static_cast<int64_t>(rows - 1 - k) * height / rows;
            const size_t bitmapRow = static_cast<size_t>(height - 1 - fromTop);
            std::copy_n(pixels + bitmapRow * stride, stride,
                        sampled.data() + static_cast<size_t>(k) * stride);
        }
        pixels = sampled.data();
    }

    glGenTextures(1, &m_texture);
    glBindTexture(GL_TEXTURE_2D, m_texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, width, rows, 0, GL_BGR, GL_UNSIGNED_BYTE, pixels);
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
        const auto lowest = static_cast<GLuint>(from - chunk) * PipeMesh::RingVertices;
        const auto highest = static_cast<GLuint>(to - chunk + 2) * PipeMesh::RingVertices - 1;
        glDrawRangeElementsBaseVertex(
            GL_TRIANGLE_STRIP, lowest, highest, static_cast<GLsizei>(end - begin),
            GL_UNSIGNED_SHORT,
            reinterpret_cast<void *>(static_cast<uintptr_t>(begin) * sizeof(uint16_t)),
            chunk * PipeMesh::RingVertices);
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
