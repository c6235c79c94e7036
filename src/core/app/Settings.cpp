#include "core/app/Settings.h"

#include "core/app/ProgramPaths.h"
#include "core/base/AtomicFile.h"
#include "core/base/ByteOrder.h"

#include <array>
#include <filesystem>
#include <unistd.h>

namespace dorvane {

namespace {

constexpr size_t FieldCount = 5;
static_assert(Settings::FileSize == FieldCount * 4);

std::array<uint8_t, Settings::FileSize> encode(const Settings &s)
{
    std::array<uint8_t, Settings::FileSize> bytes{};
    const int32_t values[FieldCount] = {s.playRate, s.showTitle, s.showNotes, s.language,
                                        s.tiltAlarm};
    for (size_t i = 0; i < FieldCount; ++i)
        le::writeI32(bytes.data() + i * 4, values[i]);
    return bytes;
}

void decode(const std::array<uint8_t, Settings::FileSize> &bytes, Settings &s)
{
    int32_t *fields[FieldCount] = {&s.playRate, &s.showTitle, &s.showNotes, &s.language,
                                   &s.tiltAlarm};
    for (size_t i = 0; i < FieldCount; ++i)
        *fields[i] = le::readI32(bytes.data() + i * 4);
}

} // namespace

void Settings::load(const std::string &path)
{
    // Not a FIFO or a device either: the open does not wait and only a
    // regular file is read, at most its first FileSize bytes.
    PosixFile file;
    if (!file.open(path, PosixFile::Mode::Read))
        return;
    // The file's bytes are laid over the current values, so a short file
    // changes only the bytes it holds.
    auto bytes = encode(*this);
    file.readSomeAt(0, bytes.data(), FileSize);
    decode(bytes, *this);
}

bool Settings::save(const std::string &path) const
{
    const auto bytes = encode(*this);
    // A file cut short would load as a mix of new and default values.
    AtomicFile file;
    return file.open(path) && file.file().write(bytes.data(), bytes.size()) && file.commit();
}

Settings &settings()
{
    static Settings instance;
    return instance;
}

namespace {

std::string &userConfigFolder()
{
    static std::string folder;
    return folder;
}

} // namespace

void setUserConfigFolder(const std::string &folder)
{
    userConfigFolder() = folder;
}

std::string configPathFor(const std::string &programFolder, const std::string &userFolder)
{
    if (userFolder.empty() || ::access(programFolder.c_str(), W_OK) == 0)
        return programFolder + "config.dat";
    return userFolder + (userFolder.back() == '/' ? "" : "/") + "config.dat";
}

std::string configPath()
{
    return configPathFor(programFolder(), userConfigFolder());
}

void loadSettingsFrom(Settings &s, const std::string &programFolder, const std::string &userFolder)
{
    const std::string defaults = programFolder + "config.dat";
    s.load(defaults);
    const std::string own = configPathFor(programFolder, userFolder);
    if (own != defaults)
        s.load(own);
}

void loadSettings()
{
    loadSettingsFrom(settings(), programFolder(), userConfigFolder());
}

bool saveSettingsTo(const std::string &path)
{
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (!folder.empty())
        std::filesystem::create_directories(folder, error);
    return settings().save(path);
}

bool saveSettings()
{
    return saveSettingsTo(configPath());
}

} // namespace dorvane
