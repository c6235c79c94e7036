#include "TestSupport.h"

#include "core/acquire/SurveySimulator.h"
#include "core/base/ByteOrder.h"
#include "core/data/ImgFile.h"

#include <algorithm>
#include <csignal>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <unistd.h>

namespace dorvane::test {

TempDir::TempDir()
{
    std::random_device device;
    for (;;) {
        m_path =
            std::filesystem::temp_directory_path() / ("dorvane-test-" + std::to_string(device()));
        if (std::filesystem::create_directory(m_path))
            break;
    }
}

TempDir::~TempDir()
{
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

FullDisk::FullDisk(rlim_t maxBytes)
{
    // The signal would end the process; the write's error is what counts.
    m_handler = std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &m_old);
    rlimit limit = m_old;
    limit.rlim_cur = maxBytes;
    setrlimit(RLIMIT_FSIZE, &limit);
}

FullDisk::~FullDisk()
{
    setrlimit(RLIMIT_FSIZE, &m_old);
    std::signal(SIGXFSZ, m_handler);
}

std::vector<std::string> namesIn(const std::filesystem::path &folder)
{
    std::vector<std::string> names;
    for (const auto &entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<uint8_t> bytesOf(std::string_view text)
{
    return std::vector<uint8_t>(text.begin(), text.end());
}

std::vector<uint8_t> readFileBytes(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void writeFileBytes(const std::string &path, const std::vector<uint8_t> &bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

void writeSurvey(const std::string &path, int frameCount, uint64_t seed)
{
    SurveySimulator::Options options;
    options.seed = seed;
    SilentMessageSink messages;
    ASSERT_TRUE(
        writeSimulatedSurvey(path, SurveySimulator(options), frameCount, nullptr, messages));
}

uint64_t extendSparse(const std::string &path)
{
    for (const int shift : {41, 38, 36}) {
        const uint64_t size = uint64_t{1} << shift;
        if (::truncate(path.c_str(), static_cast<off_t>(size)) == 0)
            return size;
    }
    return 0;
}

std::vector<uint8_t> makeImgFile(uint16_t detectRadius, float cableLength, uint8_t sampleFill)
{
    std::vector<uint8_t> bytes(ImgLayout::HeaderSize + 100000, sampleFill);
    std::fill_n(bytes.begin(), ImgLayout::HeaderSize, uint8_t{0});
    le::writeU16(&bytes[0], ImgLayout::Magic);
    // Text fields filled to their end with letters, so that the copy limits show.
    std::fill_n(bytes.begin() + 40, 38, uint8_t{'P'});
    le::writeU16(&bytes[78], detectRadius);
    le::writeF32(&bytes[98], cableLength);
    std::fill_n(bytes.begin() + 114, 60, uint8_t{'T'});
    std::fill_n(bytes.begin() + 174, 196, uint8_t{'N'});
    le::writeF32(&bytes[370], 12.5f);
    le::writeF32(&bytes[374], -7.25f);
    return bytes;
}

} // namespace dorvane::test
