#pragma once

#include "render/PipeRenderer.h"

#include <cstdlib>

namespace dorvane::test {

// Takes OpenGL away from this process: with no EGL vendor library no
// platform gives a context. The EGL display is looked for once a process, so
// this holds only before its first 3D picture; false when that came earlier.
inline bool takeOpenGlAway()
{
    ::setenv("__EGL_VENDOR_LIBRARY_FILENAMES", "/nonexistent.json", 1);
    return PipeRenderer::create(QSize(8, 8)) == nullptr;
}

} // namespace dorvane::test
