#pragma once

#include "core/display/PictureGeometry.h"

#include <string>

namespace dorvane::cli {

// The commands that draw: they need Qt's drawing, and render3d and report
// OpenGL too, so they live in a part of the tool of their own,
// libtessiq-cli-draw.so in the program folder, loaded only by them. The
// tool parses their options; the part runs them. Each returns the exit
// status and may throw UsageError, as every command.

struct PaletteOptions
{
    int minLevel = 0;
    int maxLevel = 255;
    int colourCount = 256;
    bool grey = false;
};

struct RenderOptions
{
    std::string path;
    std::string output;
    int frame = 0;
    PaletteOptions palette;
    bool overlay = false;
    bool texts = false;
    bool stroke = false;
    int size = PictureSize;
};

struct ChartOptions
{
    std::string path;
    std::string output;
    int width = 450;
    int height = 300;
};

struct Render3dOptions
{
    std::string path;
    std::string output;
    int viewpoint = 3;
    int frame = 0;
    int size = 500;
    bool wireframe = false;
};

struct ReportOptions
{
    std::string path;
    std::string output;
    std::string grades;
    std::string surveyDate;
    std::string company;
};

struct VideoOptions
{
    std::string input;
    std::string output;
    int size = PictureSize;
    int fps = 4;
    bool showTexts = false;
};

struct DrawCommands
{
    int (*render)(const RenderOptions &);
    int (*chart)(const ChartOptions &);
    int (*render3d)(const Render3dOptions &);
    int (*report)(const ReportOptions &);
    int (*video)(const VideoOptions &);
};

constexpr const char *DrawModuleFile = "libtessiq-cli-draw.so";
constexpr const char *DrawModuleEntry = "tessiqDrawCommands";
using DrawCommandsFunction = const DrawCommands *(*)();

// The drawing part's commands, loaded on first use; null when it cannot be
// loaded, which is told on stderr.
const DrawCommands *drawCommands();

} // namespace dorvane::cli
