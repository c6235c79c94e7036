#include "render/PipeRenderer.h"

#include "core/display/DeviationMap.h"
#include "core/export/BmpFile.h"
#include "core/view3d/PipeMesh.h"
#include "render/GlContext.h"
#include "render/ImageDib.h"
#include "render/PipeGpuModel.h"

#include <algorithm>
#include <cmath>
#include <epoxy/gl.h>
#include <glm/gtc/constants.hpp>
#include <glm/gtc/type_ptr.hpp>

namespace dorvane {

namespace {

// Lit per vertex as a fixed-function pipeline lights it: one white
// directional light shining down the y axis, ambient 0xA0 grey, and the
// normals used as they come (they are the vertex positions, so their length
// brightens the wall), then the colour clamped.
const char *const VertexShader = R"(#version 330 core
layout(location = 0) in float radius;
uniform mat4 world;
uniform int frameCount;
uniform mat4 viewProjection;
uniform float ringSine[201];
uniform float ringCosine[201];
uniform float ringSpacing;
uniform float radialScale;
uniform float unitsPerPixel;
out vec3 lightColour;
out vec2 uv;
const vec3 towardsLight = vec3(0.0, 1.0, 0.0);
const vec3 ambient = vec3(160.0 / 255.0);
void main()
{
    int ring = gl_VertexID / 201;
    int column = gl_VertexID - 201 * ring;
    float distance = radius * radialScale * unitsPerPixel;
    vec3 position = vec3(distance * ringSine[column], float(ring) * ringSpacing,
                         -(distance * ringCosine[column]));
    gl_Position = viewProjection * (world * vec4(position, 1.0));
    // The world matrix only turns and moves, so the normal keeps its length.
    // The normal is the position; ring and column give the map's place.
    vec3 n = mat3(world) * position;
    lightColour = clamp(ambient + vec3(max(dot(n, towardsLight), 0.0)), 0.0, 1.0);
    uv = vec2(float(column) / 201.0, 1.0 - float(ring) / float(frameCount));
}
)";

// Mode 0: texture times light; 1: the texture's colour alone (wireframe);
// 2: the highlight colour alone.
const char *const FragmentShader = R"(#version 330 core
in vec3 lightColour;
in vec2 uv;
uniform sampler2D map;
uniform bool textured;
uniform int mode;
out vec4 colour;
void main()
{
    // The map lies bottom row first: v runs from the top.
    vec3 texel = textured ? texture(map, vec2(uv.x, 1.0 - uv.y)).rgb : vec3(1.0);
    if (mode == 2)
        colour = vec4(1.0, 1.0, 0.0, 1.0);
    else if (mode == 1)
        colour = vec4(texel, 1.0);
    else
        colour = vec4(texel * lightColour, 1.0);
}
)";

constexpr float Clear = 120.0f / 255.0f; // 0xFF787878

// A compiled shader of the given kind; 0 when it does not compile.
GLuint compileShader(GLenum kind, const char *source)
{
    const GLuint shader = glCreateShader(kind);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint compiled = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (compiled != GL_TRUE) {
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

} // namespace

PipeRenderer::PipeRenderer(QSize size) : m_size(size)
{
    m_camera.setWindowSize(size.width(), size.height());
}

PipeRenderer::~PipeRenderer()
{
    if (makeCurrent()) {
        releaseObjects();
        m_context->doneCurrent();
    }
}

std::unique_ptr<PipeRenderer> PipeRenderer::create(QSize size)
{
    if (size.width() < 1 || size.height() < 1)
        return nullptr;
    std::unique_ptr<PipeRenderer> renderer(new PipeRenderer(size));
    if (!renderer->initialise())
        return nullptr;
    return renderer;
}

bool PipeRenderer::initialise()
{
    m_context = GlContext::create();
    if (!m_context)
        return false;
    while (glGetError() != GL_NO_ERROR) {
    }
    if (!makeTarget() || !makeProgram())
        return false;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &m_maximumTextureSize);
    // Anisotropic filtering takes a software rasteriser a hundred times
    // longer per picture (seconds for a long survey) for a difference hardly
    // seen on a 500-pixel view, so only graphics hardware does it.
    const std::string renderer = reinterpret_cast<const char *>(glGetString(GL_RENDERER));
    m_anisotropic = renderer.find("llvmpipe") == std::string::npos &&
                    renderer.find("softpipe") == std::string::npos &&
                    renderer.find("Software Rasterizer") == std::string::npos;
    m_model = std::make_unique<PipeGpuModel>();
    m_picture = QImage(m_size, QImage::Format_RGB32);
    m_picture.fill(Qt::black);
    return glGetError() == GL_NO_ERROR;
}

bool PipeRenderer::makeTarget()
{
    glGenFramebuffers(1, &m_framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, m_framebuffer);
    glGenRenderbuffers(1, &m_colour);
    glBindRenderbuffer(GL_RENDERBUFFER, m_colour);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, m_size.width(), m_size.height());
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, m_colour);
    glGenRenderbuffers(1, &m_depth);
    glBindRenderbuffer(GL_RENDERBUFFER, m_depth);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, m_size.width(), m_size.height());
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, m_depth);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    const bool complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    return complete;
}

bool PipeRenderer::makeProgram()
{
    const GLuint vertex = compileShader(GL_VERTEX_SHADER, VertexShader);
    const GLuint fragment = compileShader(GL_FRAGMENT_SHADER, FragmentShader);
    if (vertex && fragment) {
        m_program = glCreateProgram();
        glAttachShader(m_program, vertex);
        glAttachShader(m_program, fragment);
        glLinkProgram(m_program);
    }
    // The program keeps what it needs of its shaders once linked.
    glDeleteShader(vertex);
    glDeleteShader(fragment);
    GLint linked = GL_FALSE;
    if (m_program)
        glGetProgramiv(m_program, GL_LINK_STATUS, &linked);
    if (linked != GL_TRUE)
        return false;
    m_uniforms.world = glGetUniformLocation(m_program, "world");
    m_uniforms.viewProjection = glGetUniformLocation(m_program, "viewProjection");
    m_uniforms.map = glGetUniformLocation(m_program, "map");
    m_uniforms.textured = glGetUniformLocation(m_program, "textured");
    m_uniforms.frameCount = glGetUniformLocation(m_program, "frameCount");
    m_uniforms.mode = glGetUniformLocation(m_program, "mode");
    glUseProgram(m_program);
    glUniform1fv(glGetUniformLocation(m_program, "ringSine"), PipeMesh::RingVertices,
                 PipeMesh::ringSines().data());
    glUniform1fv(glGetUniformLocation(m_program, "ringCosine"), PipeMesh::RingVertices,
                 PipeMesh::ringCosines().data());
    glUniform1f(glGetUniformLocation(m_program, "ringSpacing"), PipeMesh::RingSpacing);
    glUniform1f(glGetUniformLocation(m_program, "radialScale"), PipeMesh::RadialScale);
    glUniform1f(glGetUniformLocation(m_program, "unitsPerPixel"), PipeMesh::UnitsPerPixel);
    glUseProgram(0);
    return true;
}

void PipeRenderer::releaseObjects()
{
    m_model.reset();
    if (m_program)
        glDeleteProgram(m_program);
    if (m_colour)
        glDeleteRenderbuffers(1, &m_colour);
    if (m_depth)
        glDeleteRenderbuffers(1, &m_depth);
    if (m_framebuffer)
        glDeleteFramebuffers(1, &m_framebuffer);
    m_program = m_colour = m_depth = m_framebuffer = 0;
}

bool PipeRenderer::makeCurrent()
{
    return !m_lost && m_context && m_context->makeCurrent();
}

void PipeRenderer::loseContext()
{
    if (makeCurrent()) {
        releaseObjects();
        m_context->doneCurrent();
    }
    m_context.reset();
    m_lost = true;
}

bool PipeRenderer::setModel(const PipeMesh &mesh)
{
    const std::span<const RadiusProfile> profiles = mesh.profiles();
    return place(mesh, [&] {
        m_model->loadTexture(
            DeviationMap::Width, static_cast<int>(profiles.size()),
            [&](int first, int count, uint8_t *out) {
                DeviationMap::writeRows(profiles, first, count, out);
            },
            m_maximumTextureSize, m_anisotropic);
    });
}

bool PipeRenderer::setModel(const PipeMesh &mesh, std::span<const uint8_t> mapBlock)
{
    return place(mesh,
                 [&] { m_model->loadTexture(mapBlock, m_maximumTextureSize, m_anisotropic); });
}

bool PipeRenderer::place(const PipeMesh &mesh, const std::function<void()> &loadTexture)
{
    if (!makeCurrent())
        return false;
    const bool uploaded = m_model->upload(mesh);
    if (uploaded)
        loadTexture();
    m_highlight = -1;
    m_solid = true;
    return uploaded;
}

bool PipeRenderer::hasModel() const
{
    return m_model && m_model->frameCount() > 0;
}

int PipeRenderer::frameCount() const
{
    return m_model ? m_model->frameCount() : 0;
}

float PipeRenderer::modelLength() const
{
    return PipeMesh::RingSpacing * static_cast<float>(frameCount());
}

bool PipeRenderer::render()
{
    m_drawCalls = 0;
    if (!makeCurrent())
        return false;
    while (glGetError() != GL_NO_ERROR) {
    }
    glBindFramebuffer(GL_FRAMEBUFFER, m_framebuffer);
    glViewport(0, 0, m_size.width(), m_size.height());
    if (!hasModel()) {
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    } else {
        glClearColor(Clear, Clear, Clear, 1);
        glClearDepth(1.0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_DEPTH_TEST);
        // The highlight is the same geometry drawn again: equal depths pass.
        glDepthFunc(GL_LEQUAL);
        glDisable(GL_CULL_FACE);
        glPolygonMode(GL_FRONT_AND_BACK, m_solid ? GL_FILL : GL_LINE);

        glUseProgram(m_program);
        const glm::mat4 world = m_camera.world();
        const glm::mat4 viewProjection = PipeCamera::projection() * m_camera.view();
        glUniformMatrix4fv(m_uniforms.world, 1, GL_FALSE, glm::value_ptr(world));
        glUniformMatrix4fv(m_uniforms.viewProjection, 1, GL_FALSE, glm::value_ptr(viewProjection));
        glUniform1i(m_uniforms.map, 0);
        glUniform1i(m_uniforms.textured, m_model->hasTexture() ? 1 : 0);
        glUniform1i(m_uniforms.frameCount, m_model->frameCount());
        m_model->bind();
        glUniform1i(m_uniforms.mode, m_solid ? 0 : 1);
        const auto [first, last] = m_drawEveryBand ? std::pair(0, m_model->frameCount() - 2)
                                                   : visibleBands(m_camera.view() * world);
        m_drawCalls += m_model->drawBands(first, last);
        if (m_highlight >= 0 && m_highlight < m_model->frameCount() - 1) {
            glUniform1i(m_uniforms.mode, 2);
            m_drawCalls += m_model->drawBand(m_highlight);
        }
        glBindVertexArray(0);
        glUseProgram(0);
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    }
    // Read straight into the picture: blue, green, red, alpha is how a
    // 32-bit picture lies in memory; OpenGL's rows run bottom-up.
    if (m_picture.size() != m_size)
        m_picture = QImage(m_size, QImage::Format_RGB32);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, m_size.width(), m_size.height(), GL_BGRA, GL_UNSIGNED_BYTE,
                 m_picture.bits());
    m_picture.mirror();
    const bool drawn = glGetError() == GL_NO_ERROR;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    if (!drawn)
        return false;
    ++m_framesPresented;
    return true;
}

std::pair<int, int> PipeRenderer::visibleBands(const glm::mat4 &modelView) const
{
    // A band lies within a sphere about its middle on the axis. The model is
    // a straight tube, so the bands whose spheres are not wholly outside one
    // side of the view volume follow each other: drawing only those gives
    // the same picture for a fraction of the work on a long survey.
    const float half = PipeMesh::RingSpacing / 2.0f;
    const float radius =
        std::sqrt(m_model->largestRadius() * m_model->largestRadius() + half * half) * 1.01f +
        0.01f;
    const float side = std::tan(glm::quarter_pi<float>() / 2.0f);
    const float cosine = 1.0f / std::sqrt(1.0f + side * side);
    const float sine = side * cosine;
    int first = m_model->frameCount();
    int last = -1;
    for (int band = 0; band < m_model->frameCount() - 1; ++band) {
        const glm::vec4 p =
            modelView *
            glm::vec4(0.0f, PipeMesh::RingSpacing * static_cast<float>(band) + half, 0.0f, 1.0f);
        if (p.z + radius < PipeCamera::NearPlane || p.z - radius > PipeCamera::FarPlane)
            continue;
        const float depth = p.z * sine;
        if (p.x * cosine - depth > radius || -p.x * cosine - depth > radius ||
            p.y * cosine - depth > radius || -p.y * cosine - depth > radius)
            continue;
        first = std::min(first, band);
        last = band;
    }
    return {first, last};
}

bool PipeRenderer::saveBmp(const std::string &path)
{
    return render() && writeBmpFile(path, dibFromImage(m_picture));
}

} // namespace dorvane
