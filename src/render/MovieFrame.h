#pragma once

#include <QImage>
#include <cstdint>

namespace dorvane {

class AviMovieWriter;
class FrameOverlay;
class SonarImage;

// The frame view's picture of one frame after another for a movie: the same
// drawing as framePicture(), into one 32-bit picture that is reused for
// every frame. appendPicture() hands it to the writer.
class MovieFrame
{
public:
    // Pictures of size x size pixels; a size below 1 is taken as 1.
    explicit MovieFrame(int size);

    const QImage &draw(const SonarImage &image, const FrameOverlay &overlay, bool showTexts);
    const QImage &picture() const { return m_picture; }

private:
    void writeColours(const SonarImage &image);

    QImage m_picture;
};

// Adds a picture as the writer's next frame, taking its rows as they lie
// (top row first), at 32 bits per pixel; a picture of another format is
// converted first. What AviMovieWriter::appendFrame() returns.
int32_t appendPicture(AviMovieWriter &writer, const QImage &picture);

} // namespace dorvane
