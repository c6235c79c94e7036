#pragma once

#include <cstdint>
#include <string>

namespace dorvane {

// The five saved settings, stored as five little-endian 32-bit integers in
// "config.dat" (see configPath()).
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

// The program folder's "config.dat" holds the defaults. While that folder
// can be written (a build folder, a copy unpacked by hand) the settings are
// saved there too; an installed program's folder cannot be written, so its
// settings are saved in the user's own configuration folder and read over
// the defaults. The programs name that folder at start.
void setUserConfigFolder(const std::string &folder);

// The "config.dat" the settings are saved to, for a program in
// programFolder (with its trailing '/') and a user folder (empty: none).
std::string configPathFor(const std::string &programFolder, const std::string &userFolder);
// The same for this program and the folder set above.
std::string configPath();

// Reads programFolder's "config.dat", then the one the settings are saved
// to, over s.
void loadSettingsFrom(Settings &s, const std::string &programFolder, const std::string &userFolder);

// Load / save the process-wide settings. A save makes the folder of the
// file first; the result tells the caller, who tells the user.
void loadSettings();
bool saveSettingsTo(const std::string &path);
bool saveSettings();

} // namespace dorvane
