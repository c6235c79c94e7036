#include "render/GlContext.h"

#include <cstdlib>
#include <epoxy/egl.h>
#include <mutex>
#include <vector>

namespace dorvane {

namespace {

bool variableSet(const char *name)
{
    const char *value = std::getenv(name);
    return value && *value;
}

struct Platform
{
    EGLenum platform;
    const char *extension;
    const char *name;
};

// An initialised display of the first platform that gives one, kept for the
// whole process: contexts come and go, the display stays.
struct Display
{
    EGLDisplay display = EGL_NO_DISPLAY;
    std::string platform;
};

EGLDisplay initialise(EGLDisplay display)
{
    if (display == EGL_NO_DISPLAY)
        return EGL_NO_DISPLAY;
    EGLint major = 0, minor = 0;
    return eglInitialize(display, &major, &minor) ? display : EGL_NO_DISPLAY;
}

EGLDisplay deviceDisplay()
{
    if (!epoxy_has_egl_extension(EGL_NO_DISPLAY, "EGL_EXT_device_enumeration") &&
        !epoxy_has_egl_extension(EGL_NO_DISPLAY, "EGL_EXT_device_base"))
        return EGL_NO_DISPLAY;
    EGLint count = 0;
    if (!eglQueryDevicesEXT(0, nullptr, &count) || count < 1)
        return EGL_NO_DISPLAY;
    std::vector<EGLDeviceEXT> devices(static_cast<size_t>(count));
    if (!eglQueryDevicesEXT(count, devices.data(), &count))
        return EGL_NO_DISPLAY;
    for (EGLint i = 0; i < count; ++i) {
        const EGLDisplay display = initialise(eglGetPlatformDisplayEXT(
            EGL_PLATFORM_DEVICE_EXT, devices[static_cast<size_t>(i)], nullptr));
        if (display != EGL_NO_DISPLAY)
            return display;
    }
    return EGL_NO_DISPLAY;
}

Display openDisplay()
{
    // Client extensions are those of no display.
    if (!epoxy_has_egl_extension(EGL_NO_DISPLAY, "EGL_EXT_platform_base"))
        return {};
    std::vector<Platform> platforms;
    if (variableSet("WAYLAND_DISPLAY"))
        platforms.push_back({EGL_PLATFORM_WAYLAND_KHR, "EGL_KHR_platform_wayland", "wayland"});
    if (variableSet("DISPLAY"))
        platforms.push_back({EGL_PLATFORM_X11_KHR, "EGL_KHR_platform_x11", "x11"});
    platforms.push_back(
        {EGL_PLATFORM_SURFACELESS_MESA, "EGL_MESA_platform_surfaceless", "surfaceless"});
    for (const Platform &p : platforms) {
        if (!epoxy_has_egl_extension(EGL_NO_DISPLAY, p.extension))
            continue;
        // The default display of a window system is the one its variable names.
        const EGLDisplay display =
            initialise(eglGetPlatformDisplayEXT(p.platform, EGL_DEFAULT_DISPLAY, nullptr));
        if (display != EGL_NO_DISPLAY)
            return {display, p.name};
    }
    if (const EGLDisplay display = deviceDisplay(); display != EGL_NO_DISPLAY)
        return {display, "device"};
    return {};
}

const Display &processDisplay()
{
    static Display display;
    static std::once_flag once;
    std::call_once(once, [] {
        // Without libEGL at all epoxy would abort on the first call.
        if (epoxy_has_egl())
            display = openDisplay();
    });
    return display;
}

} // namespace

struct GlContext::Egl
{
    EGLDisplay display = EGL_NO_DISPLAY;
    EGLContext context = EGL_NO_CONTEXT;
    // A 1 x 1 pixel buffer where contexts cannot be current without a surface.
    EGLSurface surface = EGL_NO_SURFACE;
};

std::unique_ptr<GlContext> GlContext::create()
{
    const Display &shared = processDisplay();
    if (shared.display == EGL_NO_DISPLAY || !eglBindAPI(EGL_OPENGL_API))
        return nullptr;
    auto egl = std::make_unique<Egl>();
    egl->display = shared.display;
    const bool surfaceless = epoxy_has_egl_extension(shared.display, "EGL_KHR_surfaceless_context");

    EGLConfig config = EGL_NO_CONFIG_KHR;
    if (!surfaceless || !epoxy_has_egl_extension(shared.display, "EGL_KHR_no_config_context")) {
        const EGLint wanted[] = {EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_SURFACE_TYPE,
                                 surfaceless ? 0 : EGL_PBUFFER_BIT, EGL_NONE};
        EGLint count = 0;
        if (!eglChooseConfig(shared.display, wanted, &config, 1, &count) || count < 1)
            return nullptr;
    }
    const EGLint attributes[] = {EGL_CONTEXT_MAJOR_VERSION,
                                 3,
                                 EGL_CONTEXT_MINOR_VERSION,
                                 3,
                                 EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                 EGL_CONTEXT_OPENGL_CORE_PROFILE_BIT,
                                 EGL_NONE};
    egl->context = eglCreateContext(shared.display, config, EGL_NO_CONTEXT, attributes);
    if (egl->context == EGL_NO_CONTEXT)
        return nullptr;
    if (!surfaceless) {
        const EGLint size[] = {EGL_WIDTH, 1, EGL_HEIGHT, 1, EGL_NONE};
        egl->surface = eglCreatePbufferSurface(shared.display, config, size);
        if (egl->surface == EGL_NO_SURFACE) {
            eglDestroyContext(shared.display, egl->context);
            return nullptr;
        }
    }
    std::unique_ptr<GlContext> context(new GlContext(std::move(egl), shared.platform));
    if (!context->makeCurrent() || epoxy_gl_version() < 33)
        return nullptr;
    return context;
}

GlContext::GlContext(std::unique_ptr<Egl> egl, std::string platform)
    : m_egl(std::move(egl)), m_platform(std::move(platform))
{}

GlContext::~GlContext()
{
    if (eglGetCurrentContext() == m_egl->context)
        doneCurrent();
    if (m_egl->surface != EGL_NO_SURFACE)
        eglDestroySurface(m_egl->display, m_egl->surface);
    eglDestroyContext(m_egl->display, m_egl->context);
}

bool GlContext::makeCurrent()
{
    if (eglGetCurrentContext() == m_egl->context)
        return true;
    return eglMakeCurrent(m_egl->display, m_egl->surface, m_egl->surface, m_egl->context);
}

void GlContext::doneCurrent()
{
    eglMakeCurrent(m_egl->display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
}

} // namespace dorvane
