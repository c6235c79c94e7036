#pragma once

#include "core/view3d/PipeCamera.h"

#include <QImage>
#include <QSize>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <utility>

namespace dorvane {

class GlContext;
class PipeGpuModel;
class PipeMesh;

// Draws the pipe model off screen with OpenGL 3.3: textured and lit as the
// deviation map on a tube under one light from above, or as a wireframe in
// the map's colours, with the band after the current frame in yellow. The
// picture is read back after every render, so that views, exports and the
// batch tool all take the same picture and nothing depends on a window
// system's OpenGL surface.
class PipeRenderer
{
public:
    // A renderer for pictures of the given size; null when no OpenGL 3.3
    // core context can be had.
    static std::unique_ptr<PipeRenderer> create(QSize size);
    ~PipeRenderer();
    PipeRenderer(const PipeRenderer &) = delete;
    PipeRenderer &operator=(const PipeRenderer &) = delete;

    // Replaces the model with the mesh, textured with the deviation map of
    // the mesh's profiles, which is made a piece at a time as it goes into
    // graphics memory. False when the model cannot be placed in graphics
    // memory: the model is then empty.
    bool setModel(const PipeMesh &mesh);
    // The same with a map of its own (a 24-bit bitmap block); a map that
    // cannot be loaded leaves the model untextured.
    bool setModel(const PipeMesh &mesh, std::span<const uint8_t> mapBlock);
    bool hasModel() const;
    // Frames in the model; 0.02 units each along the axis.
    int frameCount() const;
    float modelLength() const;

    PipeCamera &camera() { return m_camera; }
    const PipeCamera &camera() const { return m_camera; }
    // The band drawn in yellow: between frame band and the next; -1 none.
    void setHighlight(int band) { m_highlight = band; }
    int highlight() const { return m_highlight; }
    // Solid (textured and lit) or wireframe (the texture's colours, unlit).
    void setSolid(bool solid) { m_solid = solid; }
    bool isSolid() const { return m_solid; }

    // Draws into the picture. Without a model the picture is black. False
    // when the context is lost or a graphics call fails.
    bool render();
    // The last rendered picture.
    const QImage &picture() const { return m_picture; }
    QSize size() const { return m_size; }
    // Renders and writes the picture as a 24-bit BMP file.
    bool saveBmp(const std::string &path);

    int framesPresented() const { return m_framesPresented; }
    // Draw calls of the last render.
    int drawCalls() const { return m_drawCalls; }
    // Bands out of view are left out unless every band is asked for (to
    // compare the two).
    void setDrawEveryBand(bool every) { m_drawEveryBand = every; }
    // Destroys the context as a lost device would: every later render fails.
    void loseContext();

private:
    explicit PipeRenderer(QSize size);
    bool initialise();
    bool makeTarget();
    bool makeProgram();
    // Graphics objects go while their context is current.
    void releaseObjects();
    bool makeCurrent();
    // The mesh into graphics memory, then its texture.
    bool place(const PipeMesh &mesh, const std::function<void()> &loadTexture);
    // The first and last band that can show in the picture.
    std::pair<int, int> visibleBands(const glm::mat4 &modelView) const;

    QSize m_size;
    std::unique_ptr<GlContext> m_context;
    // The picture's framebuffer with its colour and depth storage.
    uint32_t m_framebuffer = 0;
    uint32_t m_colour = 0;
    uint32_t m_depth = 0;
    uint32_t m_program = 0;
    struct Uniforms
    {
        int world = -1;
        int viewProjection = -1;
        int map = -1;
        int textured = -1;
        int frameCount = -1;
        int mode = -1;
    } m_uniforms;
    std::unique_ptr<PipeGpuModel> m_model;
    int m_maximumTextureSize = 0;
    bool m_anisotropic = false;
    PipeCamera m_camera;
    int m_highlight = -1;
    bool m_solid = true;
    bool m_lost = false;
    bool m_drawEveryBand = false;
    int m_framesPresented = 0;
    int m_drawCalls = 0;
    QImage m_picture;
};

} // namespace dorvane
