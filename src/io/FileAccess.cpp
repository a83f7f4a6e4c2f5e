// Whole-file reading and the safe replacement of a project file.
#include "io/FileAccess.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <random>
#include <system_error>

#if __has_include(<unistd.h>)
#include <unistd.h>
#define HALVERN_HAVE_UNISTD 1
#endif

namespace halvern {
namespace {

namespace fs = std::filesystem;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

std::string ErrnoText(int error) {
    return std::strerror(error != 0 ? error : EIO);
}

// Flushes the file to the disk before it replaces the target, so that a crash right after
// the rename cannot leave an empty project behind.
bool FlushToDisk(std::FILE* file) {
    if (std::fflush(file) != 0) return false;
#ifdef HALVERN_HAVE_UNISTD
    if (::fsync(::fileno(file)) != 0 && errno != EINVAL && errno != EROFS) return false;
#endif
    return true;
}

// Whether the user may write to an existing file (errno says why not).
bool MayWrite(const fs::path& file) {
    errno = 0;
    std::error_code ec;
    if (fs::is_directory(file, ec)) {
        errno = EISDIR;
        return false;
    }
#ifdef HALVERN_HAVE_UNISTD
    return ::access(file.c_str(), W_OK) == 0;
#else
    const bool writable = (fs::status(file, ec).permissions() & fs::perms::owner_write) != fs::perms::none;
    if (!writable) errno = EACCES;
    return writable;
#endif
}

} // namespace

TFileResult ReadFileBytes(const std::string& fileName) {
    TFileResult result;
    errno = 0;
    FilePtr file(std::fopen(fileName.c_str(), "rb"));
    if (!file) {
        result.SystemError = ErrnoText(errno);
        return result;
    }
    char buffer[65536];
    for (;;) {
        const std::size_t n = std::fread(buffer, 1, sizeof buffer, file.get());
        result.Bytes.append(buffer, n);
        if (result.Bytes.size() > MaxReadBytes) {
            result.SystemError = ErrnoText(EFBIG);
            result.Bytes.clear();
            return result;
        }
        if (n < sizeof buffer) break;
    }
    if (std::ferror(file.get())) {
        // A folder opens but cannot be read; so does a file on a failing disk.
        result.SystemError = ErrnoText(errno);
        result.Bytes.clear();
        return result;
    }
    result.Ok = true;
    return result;
}

TFileResult ReplaceFileContent(const std::string& fileName, const std::string& bytes) {
    TFileResult result;
    std::error_code ec;
    fs::path target(fileName);
    // A link stays a link: the file it points to gets the new content.
    if (fs::is_symlink(target, ec)) {
        const fs::path resolved = fs::canonical(target, ec);
        if (!ec) target = resolved;
    }
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    // A project the user may not write to stays as it is, as if it could not be opened for
    // writing: the rename below would otherwise replace a read-only file in a writable folder.
    if (fs::exists(target, ec) && !MayWrite(target)) {
        result.SystemError = ErrnoText(errno);
        return result;
    }

    std::random_device seed;
    std::mt19937 random(seed());
    FilePtr file;
    fs::path temporary;
    for (int attempt = 0; attempt < 16 && !file; ++attempt) {
        // Hidden beside the target; a name near the system's limit gets a short one instead.
        std::string suffix(1, '.');
        suffix.append(std::to_string(random() % 1000000)).append(".tmp");
        std::string name(1, '.');
        name.append(target.filename().string()).append(suffix);
        if (name.size() > 200) name = ".halvern" + suffix;
        temporary = folder / name;
        errno = 0;
        file.reset(std::fopen(temporary.string().c_str(), "wbx"));
        if (!file && errno != EEXIST) break;
    }
    if (!file) {
        result.SystemError = ErrnoText(errno);
        return result;
    }

    const bool written =
        std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size() && FlushToDisk(file.get());
    const int writeError = errno;
    const bool closed = std::fclose(file.release()) == 0;
    if (!written || !closed) {
        result.SystemError = ErrnoText(writeError);
        fs::remove(temporary, ec);
        return result;
    }
    // The replaced project keeps the permissions it had.
    const fs::file_status old = fs::status(target, ec);
    if (!ec && fs::exists(old)) fs::permissions(temporary, old.permissions(), ec);
    fs::rename(temporary, target, ec);
    if (ec) {
        result.SystemError = ec.message();
        fs::remove(temporary, ec);
        return result;
    }
    result.Ok = true;
    return result;
}

std::string FileNameOnly(const std::string& fileName) {
    const auto slash = fileName.find_last_of("\\/");
    return slash == std::string::npos ? fileName : fileName.substr(slash + 1);
}

bool HasExtension(const std::string& fileName) {
    const std::string name = FileNameOnly(fileName);
    const auto dot = name.find_last_of('.');
    return dot != std::string::npos && dot > 0 && dot + 1 < name.size();
}

} // namespace halvern
