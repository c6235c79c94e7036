#pragma once

#include <QColor>
#include <QPoint>

class QPainter;

namespace dorvane {

struct FrameHeader;
class AnimationFileHeader;

// Everything drawn over a sonar picture: frame counter and rate, cable
// length, the ROLL and PITCH gauges, title and notes, the bottom label, the
// scale grid, the ruler, the pipe circle with its diameter and the warning
// for an inconsistent header. Positions are laid out for a 500-pixel view;
// the grid, ruler and circle are scaled to the drawn width.
class FrameOverlay
{
public:
    FrameOverlay();

    // Forget the frame: no header, counters and rate 0, sediment values 0,
    // circle, ruler and gauges shown. The grid flag, the grid
    // colour, the bottom label mode and the title and notes switches stay.
    void reset();
    // The frame shown: its header, the survey's file header, its index and
    // the survey's frame count. The sediment values are not shown (-1).
    void setFrame(const FrameHeader *frameHeader, const AnimationFileHeader *fileHeader, int index,
                  int count);

    // The scale grid switch: on only when a frame is shown and it was off.
    // True when the grid now shows.
    bool toggleGrid()
    {
        showGrid = !(header && showGrid);
        return header && showGrid;
    }

    // Draws for a square picture of width x width pixels whose top-left
    // corner is at the painter's origin.
    void draw(QPainter &painter, int width, bool showTexts) const;

    // Not owned: the caller keeps them alive while they are shown (the views
    // keep copies of their own).
    const FrameHeader *header = nullptr;
    const AnimationFileHeader *pipeInfo = nullptr;

    int frameIndex = 0;
    int frameCount = 0; // 0 hides the counter
    float fps = 0;      // 0 hides the rate line
    int averageSediment = -1;
    int sedimentDepthMm = -1;
    QColor gridColour = QColor(0, 200, 255);
    bool showCircle = true;
    bool showGrid = false;
    bool showRuler = true;
    bool showGauges = true;
    // The frame counter, rate and cable length edged in black, to stay
    // readable over a light picture (the white tube of the 3D view).
    bool outlineTopTexts = false;
    bool bottomLabelMode = false; // false: defect label; true: sediment depth
    // The frame's title and notes are drawn with the texts when these are
    // set; the caller takes them from the settings.
    bool showTitle = false;
    bool showNotes = false;
};

} // namespace dorvane
