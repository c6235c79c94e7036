#pragma once

#include <QImage>

namespace dorvane {

class SonarImage;

// The sonar picture as an indexed QImage (top row first) with its palette.
QImage sonarPicture(const SonarImage &image);

} // namespace dorvane
