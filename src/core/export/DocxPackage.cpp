#include "core/export/DocxPackage.h"

#include <array>
#include <cstdio>
#include <memory>
#include <zip.h>

namespace dorvane {

namespace {

// Far above any report template (tens of kilobytes, a few megabytes with
// a picture of its own): a package claiming more is not one.
constexpr zip_uint64_t MaxParts = 10000;
constexpr zip_uint64_t MaxTotalBytes = 64ull * 1024 * 1024;

struct ZipCloser
{
    void operator()(zip_t *archive) const { zip_discard(archive); }
};
struct ZipFileCloser
{
    void operator()(zip_file_t *file) const { zip_fclose(file); }
};
struct ZipSourceFreer
{
    void operator()(zip_source_t *source) const { zip_source_free(source); }
};

bool readEntry(zip_t *archive, zip_uint64_t index, zip_uint64_t size, std::string &bytes)
{
    const std::unique_ptr<zip_file_t, ZipFileCloser> file(zip_fopen_index(archive, index, 0));
    if (!file)
        return false;
    // The part grows with the bytes that really come out, never to the size
    // the archive claims: a few kilobytes claiming hundreds of megabytes
    // cost no more than they hold.
    bytes.clear();
    std::array<char, 64 * 1024> chunk;
    for (;;) {
        const zip_int64_t got = zip_fread(file.get(), chunk.data(), chunk.size());
        if (got < 0)
            return false; // includes a check sum that does not match at the end
        if (got == 0)
            break;
        if (static_cast<zip_uint64_t>(got) > size - bytes.size())
            return false;
        bytes.append(chunk.data(), static_cast<size_t>(got));
    }
    return bytes.size() == size;
}

bool isPng(const std::string &name)
{
    return name.size() > 4 && name.compare(name.size() - 4, 4, ".png") == 0;
}

} // namespace

bool DocxPackage::read(const std::string &path)
{
    m_parts.clear();
    // No ZIP_CHECKCONS: archives written as streams (sizes in data
    // descriptors, as CMake's packer and many others write them) fail its
    // comparison of local and central headers. Every part's check sum is
    // still verified as it is read.
    int error = 0;
    const std::unique_ptr<zip_t, ZipCloser> archive(zip_open(path.c_str(), ZIP_RDONLY, &error));
    if (!archive)
        return false;
    const zip_int64_t count = zip_get_num_entries(archive.get(), 0);
    if (count < 0 || static_cast<zip_uint64_t>(count) > MaxParts)
        return false;
    zip_uint64_t total = 0;
    for (zip_uint64_t i = 0; i < static_cast<zip_uint64_t>(count); ++i) {
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat_index(archive.get(), i, 0, &stat) != 0 ||
            (stat.valid & (ZIP_STAT_NAME | ZIP_STAT_SIZE)) != (ZIP_STAT_NAME | ZIP_STAT_SIZE))
            return false;
        std::string name(stat.name);
        if (name.empty() || name.back() == '/')
            continue; // a folder entry, not a part
        total += stat.size;
        if (stat.size > MaxTotalBytes || total > MaxTotalBytes)
            return false;
        std::string bytes;
        if (!readEntry(archive.get(), i, stat.size, bytes))
            return false;
        m_parts.emplace_back(std::move(name), std::move(bytes));
    }
    return true;
}

const std::string *DocxPackage::part(const std::string &name) const
{
    for (const auto &[partName, bytes] : m_parts)
        if (partName == name)
            return &bytes;
    return nullptr;
}

void DocxPackage::setPart(const std::string &name, std::string bytes)
{
    for (auto &[partName, partBytes] : m_parts)
        if (partName == name) {
            partBytes = std::move(bytes);
            return;
        }
    m_parts.emplace_back(name, std::move(bytes));
}

std::optional<std::vector<uint8_t>> DocxPackage::archive() const
{
    // The archive is built in a memory buffer, so that the file can then be
    // written complete or not at all.
    zip_error_t error;
    zip_error_init(&error);
    const std::unique_ptr<zip_source_t, ZipSourceFreer> buffer(
        zip_source_buffer_create(nullptr, 0, 0, &error));
    zip_error_fini(&error);
    if (!buffer)
        return std::nullopt;
    zip_error_init(&error);
    std::unique_ptr<zip_t, ZipCloser> archive(
        zip_open_from_source(buffer.get(), ZIP_CREATE | ZIP_TRUNCATE, &error));
    zip_error_fini(&error);
    if (!archive)
        return std::nullopt;
    // The archive takes a reference; the buffer must outlive it.
    zip_source_keep(buffer.get());

    for (const auto &[name, bytes] : m_parts) {
        zip_source_t *source = zip_source_buffer(archive.get(), bytes.data(), bytes.size(), 0);
        if (!source)
            return std::nullopt;
        const zip_int64_t index =
            zip_file_add(archive.get(), name.c_str(), source, ZIP_FL_ENC_UTF_8);
        if (index < 0) {
            zip_source_free(source);
            return std::nullopt;
        }
        // Pictures are compressed already.
        const zip_int32_t method = isPng(name) ? ZIP_CM_STORE : ZIP_CM_DEFLATE;
        if (zip_set_file_compression(archive.get(), static_cast<zip_uint64_t>(index), method, 0) !=
            0)
            return std::nullopt;
    }
    if (zip_close(archive.get()) != 0)
        return std::nullopt;
    archive.release(); // closed

    zip_source_t *source = buffer.get();
    if (zip_source_open(source) != 0)
        return std::nullopt;
    std::vector<uint8_t> bytes;
    bool complete = false;
    if (zip_source_seek(source, 0, SEEK_END) == 0) {
        const zip_int64_t size = zip_source_tell(source);
        if (size >= 0 && zip_source_seek(source, 0, SEEK_SET) == 0) {
            bytes.resize(static_cast<size_t>(size));
            complete = zip_source_read(source, bytes.data(), bytes.size()) == size;
        }
    }
    zip_source_close(source);
    if (!complete)
        return std::nullopt;
    return bytes;
}

} // namespace dorvane
