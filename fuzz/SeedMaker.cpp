// Writes the fuzzers' starting corpora from simulated data: fuzz-seeds
// OUTPUT_FOLDER makes one folder per fuzzer in it. The report templates and
// the language file are copied in by the build.
#include "SaveJournalTarget.h"
#include "core/acquire/SurveySimulator.h"
#include "core/app/Settings.h"
#include "core/base/ByteOrder.h"
#include "core/base/MessageSink.h"
#include "core/base/SaveJournal.h"
#include "core/data/ImgFile.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

using namespace dorvane;

namespace {

bool writeBytes(const std::filesystem::path &path, const void *data, size_t size)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char *>(data), static_cast<std::streamsize>(size));
    return static_cast<bool>(out);
}

bool writeSurveys(const std::filesystem::path &folder)
{
    SilentMessageSink messages;
    SurveySimulator::Options options;
    const SurveySimulator small(options);
    options.seed = 7;
    options.detectRadius = 400;
    options.pipeRadius = 150;
    const SurveySimulator narrow(options);
    return writeSimulatedSurvey((folder / "two-frames.Imv").string(), small, 2, nullptr,
                                messages) &&
           writeSimulatedSurvey((folder / "one-frame.Imv").string(), narrow, 1, nullptr,
                                messages) &&
           writeSimulatedSurvey((folder / "no-frames.Imv").string(), small, 0, nullptr, messages);
}

bool writeImg(const std::filesystem::path &folder)
{
    const SurveySimulator simulator(SurveySimulator::Options{});
    auto frame = std::make_unique<FrameRecord>();
    simulator.makeFrame(3, *frame);
    std::vector<uint8_t> bytes(ImgLayout::HeaderSize + frame->samples.size(), 0);
    le::writeU16(&bytes[0], ImgLayout::Magic);
    le::writeU16(&bytes[78], static_cast<uint16_t>(frame->header.detectRadius));
    le::writeF32(&bytes[98], frame->header.cableLength);
    le::writeF32(&bytes[370], frame->header.tilt);
    le::writeF32(&bytes[374], frame->header.roll);
    std::copy(frame->samples.begin(), frame->samples.end(), bytes.begin() + ImgLayout::HeaderSize);
    return writeBytes(folder / "frame.img", bytes.data(), bytes.size());
}

bool writeSettings(const std::filesystem::path &folder)
{
    Settings defaults;
    Settings english;
    english.playRate = 16;
    english.language = 1;
    english.showNotes = 1;
    return defaults.save((folder / "defaults.dat").string()) &&
           english.save((folder / "english.dat").string());
}

bool writeStatusRecords(const std::filesystem::path &folder)
{
    const char *records[] = {
        "..T07FR812401B2000000000000@000120F00000042",
        "..TFFFR000000000000000000000-999999F99999999",
    };
    int k = 0;
    for (const char *text : records) {
        std::vector<uint8_t> bytes(64, 0);
        std::copy(text, text + std::char_traits<char>::length(text), bytes.begin());
        bytes[0] = 0x55;
        bytes[1] = 0x3C;
        if (!writeBytes(folder / ("status" + std::to_string(k++)), bytes.data(), bytes.size()))
            return false;
    }
    return true;
}

// Journals of an edit of the fuzzer's target file: one of two header-sized
// ranges, one of a single byte at its very end.
bool writeJournals(const std::filesystem::path &folder)
{
    const std::vector<uint8_t> target = fuzz::saveJournalTarget();
    const auto range = [&target](size_t at, size_t length) {
        return std::vector<uint8_t>(target.begin() + static_cast<std::ptrdiff_t>(at),
                                    target.begin() + static_cast<std::ptrdiff_t>(at + length));
    };
    SaveJournal headers;
    headers.add(0, range(0, 512), std::vector<uint8_t>(512, 0x41));
    headers.add(1024, range(1024, 512), std::vector<uint8_t>(512, 0x42));
    SaveJournal last;
    last.add(target.size() - 1, range(target.size() - 1, 1), {0});
    return headers.write((folder / "headers").string(), {}) &&
           last.write((folder / "last").string(), {});
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz-seeds OUTPUT_FOLDER\n");
        return 2;
    }
    const std::filesystem::path root = argv[1];
    const char *folders[] = {"survey", "movie", "img", "settings", "probe-status", "save-journal"};
    std::error_code error;
    for (const char *name : folders)
        std::filesystem::create_directories(root / name, error);
    const bool ok = writeSurveys(root / "survey") && writeSurveys(root / "movie") &&
                    writeImg(root / "img") && writeSettings(root / "settings") &&
                    writeStatusRecords(root / "probe-status") &&
                    writeJournals(root / "save-journal");
    if (!ok) {
        std::fprintf(stderr, "fuzz-seeds: cannot write the corpora under %s\n", argv[1]);
        return 1;
    }
    return 0;
}
