#include "render/PipeGpuModel.h"

#include "core/base/ByteOrder.h"
#include "core/display/DibBlock.h"
#include "core/view3d/PipeMesh.h"

#include <QOpenGLFunctions_3_3_Core>
#include <algorithm>
#include <cmath>
#include <cstddef>
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
        m_gl.glDeleteTextures(1, &m_texture);
    if (m_indexBuffer)
        m_gl.glDeleteBuffers(1, &m_indexBuffer);
    if (m_vertexBuffer)
        m_gl.glDeleteBuffers(1, &m_vertexBuffer);
    if (m_vertexArray)
        m_gl.glDeleteVertexArrays(1, &m_vertexArray);
    m_texture = m_indexBuffer = m_vertexBuffer = m_vertexArray = 0;
    m_frameCount = 0;
    m_largestRadius = 0;
    m_bandStarts.clear();
}

bool PipeGpuModel::upload(const PipeMesh &mesh)
{
    release();
    const std::vector<PipeVertex> &vertices = mesh.vertices();
    m_frameCount = mesh.frameCount();
    if (vertices.empty())
        return m_frameCount == 0;

    std::vector<uint32_t> indices;
    try {
        const auto &pattern = PipeMesh::stripIndices();
        m_bandStarts.reserve(static_cast<size_t>(mesh.bandCount()) + 1);
        indices.reserve(static_cast<size_t>(mesh.runCount()) * 64);
        for (int band = 0; band < mesh.bandCount(); ++band) {
            m_bandStarts.push_back(static_cast<uint32_t>(indices.size()));
            const uint32_t base = static_cast<uint32_t>(band) * PipeMesh::RingVertices;
            for (const StripRun &run : mesh.runs(band)) {
                // t triangles from index s take indices s .. s + t + 1.
                for (int k = run.start; k <= run.start + run.triangles + 1; ++k)
                    indices.push_back(base + pattern[static_cast<size_t>(k)]);
                indices.push_back(RestartIndex);
            }
        }
        m_bandStarts.push_back(static_cast<uint32_t>(indices.size()));
    } catch (const std::bad_alloc &) {
        release();
        return false;
    }
    float largest = 0;
    for (const PipeVertex &v : vertices)
        largest = std::max(largest, v.x * v.x + v.z * v.z);
    m_largestRadius = std::sqrt(largest);

    QOpenGLFunctions_3_3_Core &gl = m_gl;
    while (gl.glGetError() != GL_NO_ERROR) {
    }
    gl.glGenVertexArrays(1, &m_vertexArray);
    gl.glBindVertexArray(m_vertexArray);
    gl.glGenBuffers(1, &m_vertexBuffer);
    gl.glBindBuffer(GL_ARRAY_BUFFER, m_vertexBuffer);
    gl.glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices.size() * sizeof(PipeVertex)),
                    vertices.data(), GL_STATIC_DRAW);
    const auto stride = static_cast<GLsizei>(sizeof(PipeVertex));
    gl.glEnableVertexAttribArray(0);
    gl.glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride,
                             reinterpret_cast<const void *>(offsetof(PipeVertex, x)));
    gl.glEnableVertexAttribArray(1);
    gl.glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, stride,
                             reinterpret_cast<const void *>(offsetof(PipeVertex, nx)));
    gl.glEnableVertexAttribArray(2);
    gl.glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, stride,
                             reinterpret_cast<const void *>(offsetof(PipeVertex, u)));
    gl.glGenBuffers(1, &m_indexBuffer);
    gl.glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, m_indexBuffer);
    gl.glBufferData(GL_ELEMENT_ARRAY_BUFFER,
                    static_cast<GLsizeiptr>(indices.size() * sizeof(uint32_t)), indices.data(),
                    GL_STATIC_DRAW);
    gl.glBindVertexArray(0);
    if (gl.glGetError() != GL_NO_ERROR) {
        release();
        return false;
    }
    return true;
}

void PipeGpuModel::loadTexture(std::span<const uint8_t> block, int maximumSize, bool anisotropic)
{
    if (m_texture) {
        m_gl.glDeleteTextures(1, &m_texture);
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

    // A survey longer than the largest texture is sampled down to it.
    const int rows = std::min(height, maximumSize);
    std::vector<uint8_t> pixels;
    try {
        pixels.resize(static_cast<size_t>(width) * 3 * static_cast<size_t>(rows));
    } catch (const std::bad_alloc &) {
        return;
    }
    // Texture row 0 is the picture's top, the bitmap's last row.
    for (int y = 0; y < rows; ++y) {
        const int64_t fromTop = static_cast<int64_t>(y) * height / rows;
        const size_t bitmapRow = static_cast<size_t>(height - 1 - fromTop);
        const uint8_t *source = block.data() + DibBlock::InfoHeaderSize + bitmapRow * stride;
        uint8_t *target = pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(width) * 3;
        for (int x = 0; x < width; ++x) {
            target[3 * x] = source[3 * x + 2];
            target[3 * x + 1] = source[3 * x + 1];
            target[3 * x + 2] = source[3 * x];
        }
    }

    QOpenGLFunctions_3_3_Core &gl = m_gl;
    gl.glGenTextures(1, &m_texture);
    gl.glBindTexture(GL_TEXTURE_2D, m_texture);
    gl.glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    gl.glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, width, rows, 0, GL_RGB, GL_UNSIGNED_BYTE,
                    pixels.data());
    gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    if (anisotropic) {
        GLfloat largest = 0;
        gl.glGetFloatv(MaxTextureMaxAnisotropy, &largest);
        if (gl.glGetError() == GL_NO_ERROR && largest >= 1.0f)
            gl.glTexParameterf(GL_TEXTURE_2D, TextureMaxAnisotropy, std::min(largest, Anisotropy));
    }
    while (gl.glGetError() != GL_NO_ERROR) {
    }
}

void PipeGpuModel::bind()
{
    m_gl.glBindVertexArray(m_vertexArray);
    m_gl.glActiveTexture(GL_TEXTURE0);
    m_gl.glBindTexture(GL_TEXTURE_2D, m_texture);
}

int PipeGpuModel::drawBands(int first, int last)
{
    const int bands = static_cast<int>(m_bandStarts.size()) - 1;
    first = std::max(first, 0);
    last = std::min(last, bands - 1);
    if (first > last)
        return 0;
    const uint32_t begin = m_bandStarts[static_cast<size_t>(first)];
    const uint32_t end = m_bandStarts[static_cast<size_t>(last) + 1];
    if (end == begin)
        return 0;
    m_gl.glDrawElements(
        GL_TRIANGLE_STRIP, static_cast<GLsizei>(end - begin), GL_UNSIGNED_INT,
        reinterpret_cast<const void *>(static_cast<uintptr_t>(begin) * sizeof(uint32_t)));
    return 1;
}

int PipeGpuModel::drawBand(int band)
{
    return band >= 0 ? drawBands(band, band) : 0;
}

} // namespace dorvane
