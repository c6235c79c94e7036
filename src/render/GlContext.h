#pragma once

#include <memory>
#include <string>

namespace dorvane {

// An OpenGL 3.3 core context of the program's own, made through EGL and
// drawing only into framebuffer objects: it needs no window and no display
// server. Where a display is named (WAYLAND_DISPLAY, DISPLAY) its own EGL
// platform is tried first; then Mesa's surfaceless platform, then the EGL
// device platform (a GPU driver without a display). The GL functions are
// reached through libepoxy, which follows whichever context is current.
class GlContext
{
public:
    // Null when no OpenGL 3.3 core context can be had on any platform.
    static std::unique_ptr<GlContext> create();
    ~GlContext();
    GlContext(const GlContext &) = delete;
    GlContext &operator=(const GlContext &) = delete;

    bool makeCurrent();
    void doneCurrent();
    // Which EGL platform the context came from ("x11", "surfaceless", ...).
    const std::string &platform() const { return m_platform; }

private:
    struct Egl;
    explicit GlContext(std::unique_ptr<Egl> egl, std::string platform);

    std::unique_ptr<Egl> m_egl;
    std::string m_platform;
};

} // namespace dorvane
