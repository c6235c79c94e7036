// The report template (a .docx package beside the program): unpacked, its
// tables and bookmarks filled with the report's texts and pictures, and the
// document packed and written.
#include "FuzzInput.h"
#include "core/export/BmpFile.h"
#include "core/export/ReportTexts.h"
#include "core/export/WordProcessor.h"
#include "core/export/WordReport.h"

#include <array>
#include <cstdlib>
#include <string>
#include <vector>

using namespace dorvane;

namespace {

// A 2 x 2 24-bit bitmap block: info header and two padded rows.
std::vector<std::string> writePictures(const fuzz::ScratchFolder &folder)
{
    std::array<uint8_t, 40 + 16> block{};
    const auto put32 = [&](size_t at, uint32_t v) {
        for (int k = 0; k < 4; ++k)
            block[at + k] = static_cast<uint8_t>(v >> (8 * k));
    };
    put32(0, 40);
    put32(4, 2);
    put32(8, 2);
    block[12] = 1;
    block[14] = 24;
    for (size_t k = 40; k < block.size(); ++k)
        block[k] = static_cast<uint8_t>(k * 37);
    std::vector<std::string> pictures;
    for (int k = 0; k < 8; ++k) {
        pictures.push_back(folder.file("picture" + std::to_string(k) + ".bmp"));
        if (!writeBmpFile(pictures.back(), block))
            std::abort();
    }
    return pictures;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static fuzz::ScratchFolder folder;
    static const std::vector<std::string> pictures = writePictures(folder);
    static const std::vector<std::string> texts = [] {
        std::vector<std::string> t;
        for (int k = 0; k < ReportTextCount; ++k)
            t.push_back("text " + std::to_string(k) + " 沉积");
        return t;
    }();
    static fuzz::ScratchFile input(".templ");

    const std::string output = folder.file("report.docx");
    const auto application = startWordProcessor(output);
    (void)fillWordReport(application.get(), input.write(data, size), output, pictures, texts,
                         nullptr);
    return 0;
}
