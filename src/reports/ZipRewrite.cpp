#include "reports/ZipRewrite.h"
#include "io/FileAccess.h"
#include "reports/Workbook.h"

#include <minizip/unzip.h>
#include <minizip/zip.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace halvern {

namespace {

struct TUnzipCloser {
    void operator()(void* file) const { unzClose(file); }
};
struct TZipCloser {
    void operator()(void* file) const { zipClose(file, nullptr); }
};

[[noreturn]] void Fail(const std::string& what) {
    throw EReportError("The workbook could not be completed: " + what);
}

std::string ReadCurrent(unzFile source, ZPOS64_T size, bool raw, int& method, int& level) {
    // The sizes are what the archive says, not what it holds: none is believed beyond what a
    // file of the program may be, and the content grows as it is read rather than being made
    // as large as the header claims.
    if (size > MaxReadBytes) Fail("an entry is too large");
    if (unzOpenCurrentFile2(source, &method, &level, raw ? 1 : 0) != UNZ_OK)
        Fail("an entry cannot be opened");
    std::string content;
    std::vector<char> chunk(64 * 1024);
    while (content.size() < size) {
        const std::size_t want = std::min<std::size_t>(chunk.size(), size - content.size());
        const int n = unzReadCurrentFile(source, chunk.data(), static_cast<unsigned>(want));
        if (n <= 0) break;
        content.append(chunk.data(), static_cast<std::size_t>(n));
    }
    // Closing checks the CRC of what was unpacked.
    const int closed = unzCloseCurrentFile(source);
    if (content.size() != size || (!raw && closed != UNZ_OK)) Fail("an entry cannot be read");
    return content;
}

// The current entry's header and its whole name. The name is asked for at its own length: a
// buffer it fills is not ended, and a name with a NUL in it could not be stored again as it was.
std::string CurrentName(unzFile source, unz_file_info64& info) {
    if (unzGetCurrentFileInfo64(source, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
        Fail("an entry has no readable header");
    std::vector<char> name(static_cast<std::size_t>(info.size_filename) + 1, '\0');
    if (unzGetCurrentFileInfo64(source, nullptr, name.data(), static_cast<uLong>(name.size()), nullptr, 0,
                                nullptr, 0) != UNZ_OK)
        Fail("an entry has no readable header");
    const std::string text(name.data(), static_cast<std::size_t>(info.size_filename));
    if (text.find('\0') != std::string::npos) Fail("an entry's name holds a NUL byte");
    return text;
}

} // namespace

void RewriteZip(const std::string& source, const std::string& target, const TZipRewrite& rewrite) {
    std::unique_ptr<void, TUnzipCloser> in(unzOpen64(source.c_str()));
    if (!in) Fail("cannot read " + source);
    std::unique_ptr<void, TZipCloser> out(zipOpen64(target.c_str(), APPEND_STATUS_CREATE));
    if (!out) Fail("cannot write " + target);

    for (int status = unzGoToFirstFile(in.get()); status != UNZ_END_OF_LIST_OF_FILE;
         status = unzGoToNextFile(in.get())) {
        if (status != UNZ_OK) Fail("the archive is damaged");
        unz_file_info64 info{};
        const std::string name = CurrentName(in.get(), info);

        zip_fileinfo entry{};
        entry.tmz_date.tm_sec = info.tmu_date.tm_sec;
        entry.tmz_date.tm_min = info.tmu_date.tm_min;
        entry.tmz_date.tm_hour = info.tmu_date.tm_hour;
        entry.tmz_date.tm_mday = info.tmu_date.tm_mday;
        entry.tmz_date.tm_mon = info.tmu_date.tm_mon;
        entry.tmz_date.tm_year = info.tmu_date.tm_year;
        entry.dosDate = info.dosDate;
        entry.internal_fa = info.internal_fa;
        entry.external_fa = info.external_fa;
        const int zip64 = info.uncompressed_size >= 0xFFFFFFFFu ? 1 : 0;

        int method = 0, level = 0;
        if (rewrite.Wants && rewrite.Wants(name)) {
            const std::string old = ReadCurrent(in.get(), info.uncompressed_size, false, method, level);
            const std::string content = rewrite.Rewrite(name, old);
            if (zipOpenNewFileInZip64(out.get(), name.c_str(), &entry, nullptr, 0, nullptr, 0, nullptr,
                                      Z_DEFLATED, Z_DEFAULT_COMPRESSION, zip64) != ZIP_OK ||
                zipWriteInFileInZip(out.get(), content.data(), static_cast<unsigned>(content.size())) !=
                    ZIP_OK ||
                zipCloseFileInZip(out.get()) != ZIP_OK)
                Fail("cannot store " + name);
        } else {
            const std::string packed = ReadCurrent(in.get(), info.compressed_size, true, method, level);
            if (zipOpenNewFileInZip2_64(out.get(), name.c_str(), &entry, nullptr, 0, nullptr, 0, nullptr,
                                        method, level, 1, zip64) != ZIP_OK ||
                zipWriteInFileInZip(out.get(), packed.data(), static_cast<unsigned>(packed.size())) !=
                    ZIP_OK ||
                zipCloseFileInZipRaw64(out.get(), info.uncompressed_size, info.crc) != ZIP_OK)
                Fail("cannot copy " + name);
        }
    }
    void* finished = out.release();
    if (zipClose(finished, nullptr) != ZIP_OK) Fail("cannot finish " + target);
}

std::vector<std::string> ZipEntryNames(const std::string& archive) {
    std::unique_ptr<void, TUnzipCloser> in(unzOpen64(archive.c_str()));
    if (!in) Fail("cannot read " + archive);
    std::vector<std::string> names;
    for (int status = unzGoToFirstFile(in.get()); status != UNZ_END_OF_LIST_OF_FILE;
         status = unzGoToNextFile(in.get())) {
        if (status != UNZ_OK) Fail("the archive is damaged");
        unz_file_info64 info{};
        names.push_back(CurrentName(in.get(), info));
    }
    return names;
}

std::string ReadZipEntry(const std::string& archive, const std::string& name) {
    std::unique_ptr<void, TUnzipCloser> in(unzOpen64(archive.c_str()));
    if (!in) Fail("cannot read " + archive);
    // Looked for entry by entry: minizip's own search finds no name longer than 255 bytes.
    for (int status = unzGoToFirstFile(in.get()); status != UNZ_END_OF_LIST_OF_FILE;
         status = unzGoToNextFile(in.get())) {
        if (status != UNZ_OK) Fail("the archive is damaged");
        unz_file_info64 info{};
        if (CurrentName(in.get(), info) != name) continue;
        int method = 0, level = 0;
        return ReadCurrent(in.get(), info.uncompressed_size, false, method, level);
    }
    Fail(archive + " holds no " + name);
}

} // namespace halvern
