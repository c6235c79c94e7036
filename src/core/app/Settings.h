#pragma once

#include <cstdint>
#include <string>

namespace dorvane {

// The five saved settings, stored as five little-endian 32-bit integers in
// "config.dat" in the program folder.
struct Settings
{
    static constexpr size_t FileSize = 20;

    int32_t playRate = 1;  // frames per second: 1, 2, 4, 6, 8 or 16
    int32_t showTitle = 0; // overlay shows the frame title
    int32_t showNotes = 0; // overlay shows the frame notes
    int32_t language = 0;  // 0: built-in Chinese; n > 0: "language.n"
    int32_t tiltAlarm = 1; // sound an alarm when the tilt exceeds 45 degrees

    // Reads up to 20 bytes over the current values: a short file sets only
    // the fields it covers, a missing file changes nothing.
    void load(const std::string &path);
    // Writes the 20 bytes, complete or not at all (see AtomicFile); false
    // when the file cannot be written.
    bool save(const std::string &path) const;
};

// The process-wide settings, created with the defaults on first use.
Settings &settings();

// The path of "config.dat" in the program folder.
std::string configPath();

// Load / save the process-wide settings from / to configPath(). A failed
// save is silent for the user; the result tells the caller.
void loadSettings();
bool saveSettings();

} // namespace dorvane
