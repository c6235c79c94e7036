#include "core/export/OfficeConverter.h"

#include "core/base/PosixFile.h"
#include "core/export/ExportFolder.h"
#include "core/export/WholeFile.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <iterator>
#include <memory>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace dorvane {

namespace {

bool isProgram(const std::string &path)
{
    struct stat info
    {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

// A local path as a file URL.
std::string fileUrl(const std::string &path)
{
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string url = "file://";
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) || c == '/' || c == '-' || c == '_' || c == '.' || c == '~') {
            url += c;
        } else {
            url += '%';
            url += Hex[byte >> 4];
            url += Hex[byte & 15];
        }
    }
    return url;
}

// Runs the program with its output thrown away; true when it ran to the end
// within timeout. A program still running then is killed with everything it
// started.
bool run(const std::vector<std::string> &arguments, std::chrono::seconds timeout)
{
    std::vector<char *> argv;
    for (const std::string &argument : arguments)
        argv.push_back(const_cast<char *>(argument.c_str()));
    argv.push_back(nullptr);

    const pid_t child = ::fork();
    if (child < 0)
        return false;
    if (child == 0) {
        // Only calls that are safe between fork and exec.
        ::setpgid(0, 0);
        const int nothing = ::open("/dev/null", O_RDWR);
        if (nothing >= 0) {
            ::dup2(nothing, 0);
            ::dup2(nothing, 1);
            ::dup2(nothing, 2);
        }
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::setpgid(child, child);

    const auto deadline = std::chrono::steady_clock::now() + timeout;
    int status = 0;
    for (;;) {
        const pid_t done = ::waitpid(child, &status, WNOHANG);
        if (done == child)
            return true;
        if (done < 0 && errno != EINTR)
            return false;
        if (std::chrono::steady_clock::now() >= deadline) {
            ::kill(-child, SIGKILL);
            while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
            }
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

// LibreOffice's exit status says little: the file must be there and begin
// as its format does.
std::optional<std::vector<uint8_t>> convertedFile(const std::string &path, ReportFormat format)
{
    PosixFile file;
    if (!file.open(path, PosixFile::Mode::Read))
        return std::nullopt;
    const auto size = file.size();
    constexpr uint64_t MaxBytes = 1024ull * 1024 * 1024;
    if (!size || *size < 8 || *size > MaxBytes)
        return std::nullopt;
    std::vector<uint8_t> bytes(static_cast<size_t>(*size));
    if (!file.readAt(0, bytes.data(), bytes.size()))
        return std::nullopt;
    static constexpr uint8_t Compound[] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    static constexpr uint8_t Pdf[] = {'%', 'P', 'D', 'F', '-'};
    const bool plausible = format == ReportFormat::Doc
                               ? std::equal(std::begin(Compound), std::end(Compound), bytes.begin())
                               : std::equal(std::begin(Pdf), std::end(Pdf), bytes.begin());
    if (!plausible)
        return std::nullopt;
    return bytes;
}

} // namespace

std::optional<OfficeConverter> OfficeConverter::find()
{
    const char *path = std::getenv("PATH");
    if (!path)
        return std::nullopt;
    const std::string folders = path;
    size_t begin = 0;
    while (begin <= folders.size()) {
        size_t end = folders.find(':', begin);
        if (end == std::string::npos)
            end = folders.size();
        const std::string folder = folders.substr(begin, end - begin);
        // Only absolute folders: a relative one depends on where the program
        // was started.
        if (!folder.empty() && folder.front() == '/' && isProgram(folder + "/soffice"))
            return OfficeConverter(folder + "/soffice");
        begin = end + 1;
    }
    return std::nullopt;
}

bool OfficeConverter::convert(const std::vector<uint8_t> &docx, ReportFormat format,
                              const std::string &destination, int &systemError,
                              std::chrono::seconds timeout) const
{
    systemError = 0;
    if (format != ReportFormat::Doc && format != ReportFormat::Pdf)
        return false;
    // LibreOffice's profile and files in a folder of this conversion alone:
    // conversions may run side by side.
    const std::unique_ptr<ExportFolder> folder = ExportFolder::create();
    if (!folder)
        return false;
    const std::string source = folder->path() + "report.docx";
    const std::string output = folder->path() + "out";
    PosixFile file;
    if (!file.open(source, PosixFile::Mode::CreateNew) || !file.write(docx.data(), docx.size()) ||
        !file.close()) {
        // The temporary folder is full or refused.
        systemError = file.lastError();
        return false;
    }

    const bool doc = format == ReportFormat::Doc;
    const std::vector<std::string> arguments = {
        m_program,      "-env:UserInstallation=" + fileUrl(folder->path() + "profile"),
        "--headless",   "--norestore",
        "--nologo",     "--nolockcheck",
        "--convert-to", doc ? "doc:MS Word 97" : "pdf:writer_pdf_Export",
        "--outdir",     output,
        source,
    };
    if (!run(arguments, timeout))
        return false;
    const auto converted = convertedFile(output + (doc ? "/report.doc" : "/report.pdf"), format);
    return converted && writeWholeFile(destination, *converted, systemError);
}

} // namespace dorvane
