#pragma once

#include <QFont>

namespace dorvane {

// The font of the charts drawn for screen and report (sediment depth,
// assessment): 12 pixels, with the Chinese glyphs the labels need.
const QFont &chartFont();

} // namespace dorvane
