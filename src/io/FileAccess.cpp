// Whole-file reading and the safe replacement of a project file, on the POSIX file calls:
// they alone say what a name is before it is opened, open without blocking, create a file
// with no name and give it one later, lock a file against another save, and sync a folder.
#include "io/FileAccess.h"
#include "io/Leftovers.h"
#include "model/Messages.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <string_view>
#include <utility>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace halvern {
namespace {

// As many links as the system follows before it calls the name a loop.
constexpr int kMaxLinks = 40;
// The new file is named after the project, but a name near the system's limit of 255
// bytes leaves no room for the rest.
constexpr std::size_t kMaxNameInTemporary = 200;
constexpr std::string_view kTemporaryEnd = ".tmp";

std::string ErrnoText(int error) {
    return std::strerror(error != 0 ? error : EIO);
}

TFileResult Failed(TFileFailure failure, std::string reason) {
    TFileResult result;
    result.Failure = failure;
    result.Reason = std::move(reason);
    return result;
}

TFileResult FailedErrno(TFileFailure failure) {
    return Failed(failure, ErrnoText(errno));
}

// A file descriptor, closed when it goes out of scope.
class TFd {
public:
    TFd() = default;
    explicit TFd(int fd) : fd_(fd) {}
    ~TFd() { Reset(); }
    TFd(TFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    TFd& operator=(TFd&& other) noexcept {
        if (this != &other) {
            Reset();
            fd_ = std::exchange(other.fd_, -1);
        }
        return *this;
    }
    TFd(const TFd&) = delete;
    TFd& operator=(const TFd&) = delete;

    int Get() const { return fd_; }
    int Release() { return std::exchange(fd_, -1); }
    explicit operator bool() const { return fd_ >= 0; }
    // Closes now; false (errno set) when the system reports a failure it had kept back.
    bool Close() {
        const int fd = std::exchange(fd_, -1);
        return fd < 0 || ::close(fd) == 0;
    }
    void Reset() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }

private:
    int fd_ = -1;
};

const char* KindOf(mode_t mode) {
    if (S_ISDIR(mode)) return Msg::KindFolder;
    if (S_ISFIFO(mode)) return Msg::KindNamedPipe;
    if (S_ISCHR(mode)) return Msg::KindCharacterDevice;
    if (S_ISBLK(mode)) return Msg::KindBlockDevice;
    if (S_ISSOCK(mode)) return Msg::KindSocket;
    return Msg::KindUnknown;
}

TFileResult NotRegular(const std::string& fileName, mode_t mode) {
    return Failed(TFileFailure::NotRegular, Msg::NotRegularFile(fileName, KindOf(mode)));
}

TFileResult TooLarge() {
    return Failed(TFileFailure::TooLarge, Msg::FileTooLarge(MaxReadBytes >> 20));
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), std::min<std::size_t>(bytes.size(), 1u << 20));
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// The permissions a new file gets from the user's file-creation mask.
mode_t NewFileMode() {
    // Linux tells the mask without changing it; elsewhere it is set and put back at once.
    if (std::FILE* status = std::fopen("/proc/self/status", "re")) {
        char line[256];
        unsigned mask = 0;
        bool found = false;
        while (!found && std::fgets(line, sizeof line, status))
            found = std::sscanf(line, "Umask: %o", &mask) == 1;
        std::fclose(status);
        if (found) return static_cast<mode_t>(0666 & ~mask);
    }
    const mode_t mask = ::umask(077);
    ::umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
}

// The file a save replaces: the folder it is in and its name there, as the system will look
// them up (a ".." after a link is the link's business, so nothing is shortened here).
struct TSaveTarget {
    std::string Folder;
    std::string Name;
    bool Exists = false;
    struct stat Stat {};
    std::string Path() const { return Folder == "/" ? "/" + Name : Folder + "/" + Name; }
};

std::pair<std::string, std::string> SplitFolder(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return {".", path};
    return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

// Follows symbolic links one at a time, as the system would, to the file a save must
// replace; a link that leads nowhere gives the file to create.
TFileResult ResolveTarget(const std::string& fileName, TSaveTarget& target) {
    std::string path = fileName;
    for (int links = 0;; ++links) {
        auto [folder, name] = SplitFolder(path);
        const bool namesAFile = !name.empty() && name != "." && name != "..";
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0) {
            if (errno == ENOENT && namesAFile) {
                target = TSaveTarget{std::move(folder), std::move(name), false, {}};
                return TFileResult{true, {}, TFileFailure::None, {}};
            }
            return FailedErrno(TFileFailure::Open);
        }
        if (S_ISLNK(st.st_mode)) {
            if (links == kMaxLinks) return Failed(TFileFailure::Open, ErrnoText(ELOOP));
            struct stat in {};
            if (::stat(folder.c_str(), &in) != 0) return FailedErrno(TFileFailure::Open);
            if (!LinkMayBeFollowed(in.st_mode, in.st_uid, st.st_uid, ::geteuid()))
                return Failed(TFileFailure::Open, Msg::LinkNotFollowed(path));
            std::string link(static_cast<std::size_t>(std::max<off_t>(st.st_size, 255)) + 1, '\0');
            const ssize_t n = ::readlink(path.c_str(), link.data(), link.size());
            if (n < 0) return FailedErrno(TFileFailure::Open);
            if (static_cast<std::size_t>(n) >= link.size())
                return Failed(TFileFailure::Open, ErrnoText(ENAMETOOLONG));
            link.resize(static_cast<std::size_t>(n));
            path = !link.empty() && link[0] == '/' ? link : (folder == "/" ? "/" : folder + "/") + link;
            continue;
        }
        if (!S_ISREG(st.st_mode) || !namesAFile) return NotRegular(fileName, st.st_mode);
        target = TSaveTarget{std::move(folder), std::move(name), true, st};
        return TFileResult{true, {}, TFileFailure::None, {}};
    }
}

// ".NAME.123456.tmp": hidden beside the project it will replace.
std::string TemporaryPrefix(const std::string& name) {
    return "." + name.substr(0, kMaxNameInTemporary) + ".";
}

class TTemporaryNames {
public:
    explicit TTemporaryNames(std::string prefix)
        : prefix_(std::move(prefix)), random_(std::random_device{}()) {}
    std::string Next() {
        char digits[16];
        std::snprintf(digits, sizeof digits, "%06u", static_cast<unsigned>(random_() % 1000000u));
        return prefix_ + digits + std::string(kTemporaryEnd);
    }

private:
    std::string prefix_;
    std::mt19937 random_;
};

// Gives the new file the replaced project's owner where the process may, and its permissions;
// a new project gets the permissions of any new file. Done before a byte is written.
bool TakeOwnerAndMode(int fd, const TSaveTarget& target) {
    mode_t mode = 0;
    if (target.Exists) {
        struct stat mine {};
        if (::fstat(fd, &mine) != 0) return false;
        const uid_t uid = target.Stat.st_uid;
        const gid_t gid = target.Stat.st_gid;
        if ((mine.st_uid != uid || mine.st_gid != gid) && ::fchown(fd, uid, gid) != 0) {
            if (errno != EPERM) return false;
            // Only the superuser may give a file away; the group the user may still keep.
            if (mine.st_gid != gid && ::fchown(fd, static_cast<uid_t>(-1), gid) != 0 && errno != EPERM)
                return false;
        }
        mode = target.Stat.st_mode & 07777;
    } else {
        mode = NewFileMode();
    }
    return ::fchmod(fd, mode) == 0;
}

bool SyncFile(int fd) {
    // A few file systems cannot sync at all; they say so with EINVAL.
    return ::fsync(fd) == 0 || errno == EINVAL;
}

class TReplacement {
public:
    TReplacement(const TSaveTarget& target, int folderFd, bool folderSyncs)
        : target_(target), folder_(folderFd), folderSyncs_(folderSyncs),
          folderPath_(AbsoluteFileName(target.Folder)), names_(TemporaryPrefix(target.Name)) {}

    enum class TUnnamed { Done, Unsupported };

    // The new file is created without a name, so that a killed save leaves nothing behind,
    // and is named only when complete.
    TUnnamed Unnamed(const std::string& bytes, TFileResult& result) {
#ifdef O_TMPFILE
        TFd file(::openat(folder_, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600));
        if (!file) {
            if (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL) return TUnnamed::Unsupported;
            result = FailedErrno(TFileFailure::Open);
            return TUnnamed::Done;
        }
        // Locked before it has a name, so no other save takes it for a stale one.
        (void)::flock(file.Get(), LOCK_EX | LOCK_NB);
        if (!Fill(file.Get(), bytes, result)) return TUnnamed::Done;
        const std::string self = "/proc/self/fd/" + std::to_string(file.Get());
        for (int attempt = 0; attempt < 100; ++attempt) {
            const std::string name = names_.Next();
            // Named only for the instant before it takes the project's place; a kill in that
            // instant leaves it to a later run.
            const TLeftover leftover = Recorded(file.Get(), name);
            const bool named =
                ::linkat(AT_FDCWD, self.c_str(), folder_, name.c_str(), AT_SYMLINK_FOLLOW) == 0 ||
                (errno != EEXIST && ::linkat(file.Get(), "", folder_, name.c_str(), AT_EMPTY_PATH) == 0);
            if (named) {
                result = PutInPlace(file, name, leftover);
                return TUnnamed::Done;
            }
            const int why = errno;
            ForgetLeftover(leftover);
            // Without /proc only the superuser can name it; anyone else writes it again with a name.
            if (why != EEXIST) return TUnnamed::Unsupported;
        }
        return TUnnamed::Unsupported;
#else
        (void)bytes;
        (void)result;
        return TUnnamed::Unsupported;
#endif
    }

    // Where no unnamed file can be made: a named one, locked while the save runs.
    TFileResult Named(const std::string& bytes) {
        TFd file;
        std::string name;
        TLeftover intended;
        for (int attempt = 0; attempt < 100 && !file; ++attempt) {
            name = names_.Next();
            // Written down before it exists, so that no kill can leave it unrecorded.
            intended = Intended(name);
            file = TFd(
                ::openat(folder_, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
            if (!file) {
                const int why = errno;
                ForgetLeftover(intended);
                if (why == EEXIST) continue;
                errno = why;
                return FailedErrno(TFileFailure::Open);
            }
            // Another save may have taken it for a stale file in the instant before the lock.
            if (::flock(file.Get(), LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
                file.Reset();
                continue;
            }
            struct stat opened {};
            struct stat now {};
            if (::fstat(file.Get(), &opened) != 0 ||
                ::fstatat(folder_, name.c_str(), &now, AT_SYMLINK_NOFOLLOW) != 0 ||
                now.st_ino != opened.st_ino)
                file.Reset();
        }
        if (!file) {
            ForgetLeftover(intended);
            return Failed(TFileFailure::Open, ErrnoText(EEXIST));
        }
        const TLeftover leftover = Recorded(file.Get(), name, &intended);
        TFileResult result;
        if (!Fill(file.Get(), bytes, result)) {
            result.Reason += Remove(name, leftover);
            return result;
        }
        return PutInPlace(file, name, leftover);
    }

private:
    const TSaveTarget& target_;
    int folder_;
    bool folderSyncs_;
    std::string folderPath_;
    TTemporaryNames names_;

    std::string PathOf(const std::string& name) const {
        return (folderPath_ == "/" ? "/" : folderPath_ + "/") + name;
    }

    // A new file about to be made under this name.
    TLeftover Intended(const std::string& name) {
        struct stat folder {};
        if (::fstat(folder_, &folder) != 0) return {};
        const auto now = std::chrono::system_clock::now().time_since_epoch();
        const TLeftover leftover{
            false, static_cast<unsigned long long>(folder.st_dev), 0,
            static_cast<unsigned long long>(std::chrono::duration_cast<std::chrono::seconds>(now).count()),
            PathOf(name)};
        RecordLeftover(leftover);
        return leftover;
    }

    // The new file under its name, written down so that a kill cannot leave it for ever (in
    // place of what was written down before it was made, if anything).
    TLeftover Recorded(int fd, const std::string& name, const TLeftover* intended = nullptr) {
        TLeftover leftover;
        struct stat st {};
        if (::fstat(fd, &st) != 0) return intended ? *intended : leftover;
        leftover = TLeftover{false, static_cast<unsigned long long>(st.st_dev),
                             static_cast<unsigned long long>(st.st_ino), 0, PathOf(name)};
        if (intended)
            UpdateLeftover(*intended, leftover);
        else
            RecordLeftover(leftover);
        return leftover;
    }

    bool Fill(int fd, const std::string& bytes, TFileResult& result) {
        if (!TakeOwnerAndMode(fd, target_) || !WriteAll(fd, bytes) || !SyncFile(fd)) {
            result = FailedErrno(TFileFailure::Write);
            return false;
        }
        return true;
    }

    // Removes the new file of a failed save; the text to add to the reason if it stays (for a
    // later run to remove).
    std::string Remove(const std::string& name, const TLeftover& leftover) {
        if (::unlinkat(folder_, name.c_str(), 0) == 0 || errno == ENOENT) {
            ForgetLeftover(leftover);
            return {};
        }
        return Msg::UnfinishedFileNotRemoved(name, ErrnoText(errno));
    }

    // The complete new file takes the target's place in one step, and the folder is synced
    // so that the new name survives a power cut.
    TFileResult PutInPlace(TFd& file, const std::string& name, const TLeftover& leftover) {
        if (::renameat(folder_, name.c_str(), folder_, target_.Name.c_str()) != 0) {
            TFileResult failed = FailedErrno(TFileFailure::Write);
            failed.Reason += Remove(name, leftover);
            return failed;
        }
        ForgetLeftover(leftover);
        if (folderSyncs_ && ::fsync(folder_) != 0 && errno != EINVAL)
            return Failed(TFileFailure::Write, Msg::SaveNotConfirmed(ErrnoText(errno)));
        if (!file.Close()) return FailedErrno(TFileFailure::Write);
        return TFileResult{true, {}, TFileFailure::None, {}};
    }
};

} // namespace

TFileResult ReadFileBytes(const std::string& fileName) {
    // What the name is, before anything is opened: a pipe would block the program for ever.
    struct stat st {};
    if (::stat(fileName.c_str(), &st) != 0) return FailedErrno(TFileFailure::Open);
    if (!S_ISREG(st.st_mode)) return NotRegular(fileName, st.st_mode);
    if (static_cast<std::size_t>(st.st_size) > MaxReadBytes) return TooLarge();
    // Without blocking all the same, in case the name was given to a pipe in the meantime.
    TFd file(::open(fileName.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!file) return FailedErrno(TFileFailure::Open);
    if (::fstat(file.Get(), &st) != 0) return FailedErrno(TFileFailure::Read);
    if (!S_ISREG(st.st_mode)) return NotRegular(fileName, st.st_mode);
    if (static_cast<std::size_t>(st.st_size) > MaxReadBytes) return TooLarge();

    TFileResult result;
    result.Bytes.reserve(static_cast<std::size_t>(st.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(file.Get(), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            return FailedErrno(TFileFailure::Read);
        }
        if (n == 0) break;
        // A file still growing while it is read is held to the same limit.
        if (result.Bytes.size() + static_cast<std::size_t>(n) > MaxReadBytes) return TooLarge();
        result.Bytes.append(buffer, static_cast<std::size_t>(n));
    }
    result.Ok = true;
    return result;
}

TChunkedFile::~TChunkedFile() {
    if (fd_ >= 0) ::close(fd_);
}

TFileResult TChunkedFile::Open(const std::string& fileName, std::uint64_t maxBytes) {
    struct stat st {};
    if (::stat(fileName.c_str(), &st) != 0) return FailedErrno(TFileFailure::Open);
    if (!S_ISREG(st.st_mode)) return NotRegular(fileName, st.st_mode);
    size_ = static_cast<std::uint64_t>(st.st_size);
    if (size_ > maxBytes) return Failed(TFileFailure::TooLarge, {});
    TFd file(::open(fileName.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!file) return FailedErrno(TFileFailure::Open);
    if (::fstat(file.Get(), &st) != 0) return FailedErrno(TFileFailure::Read);
    if (!S_ISREG(st.st_mode)) return NotRegular(fileName, st.st_mode);
    size_ = static_cast<std::uint64_t>(st.st_size);
    if (size_ > maxBytes) return Failed(TFileFailure::TooLarge, {});
    if (fd_ >= 0) ::close(fd_);
    fd_ = file.Release();
    maxBytes_ = maxBytes;
    read_ = 0;
    TFileResult result;
    result.Ok = true;
    return result;
}

bool TChunkedFile::Read(std::string& piece, std::size_t most, std::string& reason) {
    piece.resize(most);
    for (;;) {
        const ssize_t n = ::read(fd_, piece.data(), most);
        if (n < 0) {
            if (errno == EINTR) continue;
            reason = ErrnoText(errno);
            piece.clear();
            return false;
        }
        piece.resize(static_cast<std::size_t>(n));
        read_ += static_cast<std::uint64_t>(n);
        // A file still growing while it is read is held to the same limit.
        if (read_ > maxBytes_) {
            reason = ErrnoText(EFBIG);
            piece.clear();
            return false;
        }
        return true;
    }
}

bool TChunkedFile::Rewind(std::string& reason) {
    if (::lseek(fd_, 0, SEEK_SET) != 0) {
        reason = ErrnoText(errno);
        return false;
    }
    read_ = 0;
    return true;
}

TFileResult ReplaceFileContent(const std::string& fileName, const std::string& bytes,
                               const TReplaceOptions& options) {
    TSaveTarget target;
    TFileResult resolved = ResolveTarget(fileName, target);
    if (!resolved.Ok) return resolved;
    // A project the user may not write to stays as it is, as if it could not be opened for
    // writing: the rename would otherwise replace a read-only file in a writable folder.
    if (target.Exists && ::faccessat(AT_FDCWD, target.Path().c_str(), W_OK, AT_EACCESS) != 0)
        return FailedErrno(TFileFailure::Open);

    bool folderReadable = true;
    TFd folder(::open(target.Folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
#ifdef O_PATH
    if (!folder && errno == EACCES) {
        // A folder the user may write to but not list: saved all the same, without the sync.
        folder = TFd(::open(target.Folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
        folderReadable = false;
    }
#endif
    if (!folder) return FailedErrno(TFileFailure::Open);

    // What killed saves and reports left goes first; only what they recorded as theirs.
    RemoveLeftovers();
    TReplacement replacement(target, folder.Get(), folderReadable);
    if (options.UnnamedFirst) {
        TFileResult result;
        if (replacement.Unnamed(bytes, result) == TReplacement::TUnnamed::Done) return result;
    }
    return replacement.Named(bytes);
}

std::string FileFailureMessage(const std::string& fileName, const TFileResult& result) {
    std::string text;
    switch (result.Failure) {
    case TFileFailure::Read:
    case TFileFailure::TooLarge:
        text = Msg::CannotReadFile(fileName);
        break;
    case TFileFailure::Write:
        text = Msg::CannotWriteFile(fileName);
        break;
    default:
        text = Msg::CannotOpenFile(fileName);
        break;
    }
    if (!result.Reason.empty()) text += "\n" + result.Reason;
    return text;
}

bool LinkMayBeFollowed(unsigned folderMode, unsigned folderOwner, unsigned linkOwner, unsigned user) {
    const unsigned shared = S_ISVTX | S_IWOTH;
    return (folderMode & shared) != shared || linkOwner == user || linkOwner == folderOwner;
}

std::string AbsoluteFileName(const std::string& fileName) {
    std::string absolute = fileName;
    if (fileName.empty() || fileName[0] != '/') {
        std::string folder(256, '\0');
        while (::getcwd(folder.data(), folder.size()) == nullptr) {
            if (errno != ERANGE) return fileName;
            folder.resize(folder.size() * 2);
        }
        folder.resize(std::strlen(folder.c_str()));
        absolute = folder + "/" + fileName;
    }
    std::string out;
    std::size_t start = 0;
    while (start <= absolute.size()) {
        std::size_t slash = absolute.find('/', start);
        if (slash == std::string::npos) slash = absolute.size();
        const std::string_view part = std::string_view(absolute).substr(start, slash - start);
        if (!part.empty() && part != ".") {
            out += '/';
            out += part;
        }
        start = slash + 1;
    }
    if (out.empty() || absolute.back() == '/') out += '/';
    return out;
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

bool SameExistingFile(const std::string& first, const std::string& second) {
    struct stat a {};
    struct stat b {};
    if (::stat(first.c_str(), &a) != 0 || ::stat(second.c_str(), &b) != 0) return false;
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

} // namespace halvern
