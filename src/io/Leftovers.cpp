// The record of unfinished files: one line per file or folder of ours that a kill could
// leave, "F|D device inode since length path" (the length, because a name may hold a line
// feed). Every change is made under the lock of a file beside it, since several saves and
// reports of the same user may run at once, and puts a whole new record in place of the
// old, so that a run killed while changing it loses no entry.
#include "io/Leftovers.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <random>
#include <string_view>
#include <utility>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace halvern {
namespace {

std::mutex recordMutex;
std::string recordFile; // guarded by recordMutex

// An open file, closed when it goes out of scope.
class TOpen {
public:
    explicit TOpen(int fd) : fd_(fd) {}
    ~TOpen() {
        if (fd_ >= 0) ::close(fd_);
    }
    TOpen(const TOpen&) = delete;
    TOpen& operator=(const TOpen&) = delete;
    TOpen& operator=(TOpen&& other) noexcept {
        if (this != &other) {
            if (fd_ >= 0) ::close(fd_);
            fd_ = std::exchange(other.fd_, -1);
        }
        return *this;
    }
    int Get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }

private:
    int fd_;
};

bool SameLeftover(const TLeftover& a, const TLeftover& b) {
    return a.Folder == b.Folder && a.Device == b.Device && a.Inode == b.Inode && a.Since == b.Since &&
           a.Path == b.Path;
}

std::string Line(const TLeftover& leftover) {
    return std::string(leftover.Folder ? "D " : "F ") + std::to_string(leftover.Device) + " " +
           std::to_string(leftover.Inode) + " " + std::to_string(leftover.Since) + " " +
           std::to_string(leftover.Path.size()) + " " + leftover.Path + "\n";
}

// The entries of the record; a damaged end (a run killed while writing it) is dropped.
std::vector<TLeftover> Parse(std::string_view text) {
    std::vector<TLeftover> entries;
    const auto number = [&text](unsigned long long& value) {
        std::size_t i = 0;
        value = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9' && i < 19)
            value = value * 10 + static_cast<unsigned>(text[i++] - '0');
        if (i == 0 || i >= text.size() || text[i] != ' ') return false;
        text.remove_prefix(i + 1);
        return true;
    };
    while (text.size() > 2 && (text[0] == 'F' || text[0] == 'D') && text[1] == ' ') {
        TLeftover entry;
        entry.Folder = text[0] == 'D';
        text.remove_prefix(2);
        unsigned long long length = 0;
        if (!number(entry.Device) || !number(entry.Inode) || !number(entry.Since) || !number(length)) break;
        if (length == 0 || length >= text.size() || text[length] != '\n') break;
        entry.Path = std::string(text.substr(0, length));
        text.remove_prefix(length + 1);
        entries.push_back(std::move(entry));
    }
    return entries;
}

// The record, read and changed under its lock; nothing when the program keeps none or it
// cannot be used (nothing is then recorded or removed).
class TRecord {
public:
    explicit TRecord(bool create) : file_(LeftoverRecord()), lock_(-1) {
        if (file_.empty()) return;
        const std::string lockName = file_ + ".lock";
        const int flags = O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY;
        lock_ = TOpen(::open(lockName.c_str(), flags, 0600));
        if (!lock_ && create && errno == ENOENT) {
            // The folders of the record, private to the user as the desktop's state folder is.
            for (std::size_t slash = file_.find('/', 1); slash != std::string::npos;
                 slash = file_.find('/', slash + 1))
                ::mkdir(file_.substr(0, slash).c_str(), 0700);
            lock_ = TOpen(::open(lockName.c_str(), flags, 0600));
        }
        if (!lock_) return;
        while (::flock(lock_.Get(), LOCK_EX) != 0)
            if (errno != EINTR) {
                lock_ = TOpen(-1);
                return;
            }
        const TOpen record(::open(file_.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY | O_NONBLOCK));
        struct stat st {};
        if (record && ::fstat(record.Get(), &st) == 0 && S_ISREG(st.st_mode)) {
            std::string text;
            char buffer[8192];
            for (;;) {
                const ssize_t n = ::read(record.Get(), buffer, sizeof buffer);
                if (n < 0 && errno == EINTR) continue;
                if (n <= 0) break;
                text.append(buffer, static_cast<std::size_t>(n));
            }
            Entries = Parse(text);
        }
    }
    explicit operator bool() const { return static_cast<bool>(lock_); }
    std::vector<TLeftover> Entries;

    // The new record in place of the old in one step.
    void Write() const {
        std::string text;
        for (const TLeftover& entry : Entries)
            text += Line(entry);
        const std::string newName = file_ + ".new";
        const TOpen out(::open(newName.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600));
        if (!out) return;
        std::string_view rest = text;
        while (!rest.empty()) {
            const ssize_t n = ::write(out.Get(), rest.data(), rest.size());
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return;
            rest.remove_prefix(static_cast<std::size_t>(n));
        }
        ::rename(newName.c_str(), file_.c_str());
    }

private:
    std::string file_;
    TOpen lock_;
};

enum class TSweep { Gone, InUse };

// Opens a file or folder that is still the one recorded and locks it; InUse when a save or
// report still running holds it. A file a save left with its project's permissions may open
// only one way.
TSweep OpenUnused(int folderFd, const std::string& name, const TLeftover& entry, int& fd) {
    fd = -1;
    for (const int kind : {O_RDONLY, O_WRONLY}) {
        const int extra = entry.Folder ? O_DIRECTORY : O_NONBLOCK | O_NOCTTY;
        const int opened = ::openat(folderFd, name.c_str(), kind | extra | O_NOFOLLOW | O_CLOEXEC);
        if (opened < 0) {
            if (entry.Folder) return TSweep::Gone;
            continue;
        }
        TOpen held(opened);
        struct stat st {};
        if (::fstat(held.Get(), &st) != 0 || st.st_dev != entry.Device || st.st_ino != entry.Inode ||
            !(entry.Folder ? S_ISDIR(st.st_mode) : S_ISREG(st.st_mode)))
            return TSweep::Gone;
        if (::flock(held.Get(), LOCK_EX | LOCK_NB) != 0) return TSweep::InUse;
        fd = ::dup(held.Get());
        return TSweep::Gone;
    }
    return TSweep::Gone;
}

// The names in a folder, without "." and "..".
std::vector<std::string> Names(int folderFd) {
    std::vector<std::string> names;
    const int listing = ::dup(folderFd);
    if (listing < 0) return names;
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::fdopendir(listing), &::closedir);
    if (!dir) {
        ::close(listing);
        return names;
    }
    while (const dirent* item = ::readdir(dir.get())) {
        const std::string name = item->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    return names;
}

// Removes one recorded file or folder when it is still ours and unused; InUse keeps it in
// the record.
TSweep Sweep(const TLeftover& entry) {
    const auto slash = entry.Path.find_last_of('/');
    if (slash == std::string::npos || slash + 1 == entry.Path.size()) return TSweep::Gone;
    const std::string parent = slash == 0 ? "/" : entry.Path.substr(0, slash);
    const std::string name = entry.Path.substr(slash + 1);
    const TOpen folder(::open(parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder) return TSweep::Gone;
    TLeftover found = entry;
    if (found.Inode == 0) {
        // Named before it was made: a file of that name made since (a save killed before it
        // could record which file it made). One older than the record is someone else's.
        struct stat now {};
        if (::fstatat(folder.Get(), name.c_str(), &now, AT_SYMLINK_NOFOLLOW) != 0 ||
            !(found.Folder ? S_ISDIR(now.st_mode) : S_ISREG(now.st_mode)) ||
            static_cast<unsigned long long>(now.st_dev) != found.Device ||
            static_cast<long long>(now.st_ctime) < static_cast<long long>(found.Since))
            return TSweep::Gone;
        found.Inode = static_cast<unsigned long long>(now.st_ino);
    }
    int fd = -1;
    if (OpenUnused(folder.Get(), name, found, fd) == TSweep::InUse) return TSweep::InUse;
    const TOpen held(fd);
    if (!held) return TSweep::Gone; // removed, or its name now belongs to something else
    // Still the one recorded at the moment it goes.
    struct stat st {};
    if (::fstatat(folder.Get(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 || st.st_dev != found.Device ||
        st.st_ino != found.Inode)
        return TSweep::Gone;
    if (entry.Folder) {
        // A report's folder holds only the files the report made in it.
        for (const std::string& item : Names(held.Get()))
            ::unlinkat(held.Get(), item.c_str(), 0);
        ::unlinkat(folder.Get(), name.c_str(), AT_REMOVEDIR);
    } else {
        ::unlinkat(folder.Get(), name.c_str(), 0);
    }
    return TSweep::Gone;
}

} // namespace

void UseLeftoverRecord(const std::string& file) {
    const std::lock_guard lock(recordMutex);
    recordFile = file;
}

std::string LeftoverRecord() {
    const std::lock_guard lock(recordMutex);
    return recordFile;
}

std::string DefaultLeftoverRecord() {
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state != nullptr && state[0] == '/') return std::string(state) + "/halvern/unfinished";
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') return std::string(home) + "/.local/state/halvern/unfinished";
    return {};
}

void RecordLeftover(const TLeftover& leftover) {
    TRecord record(true);
    if (!record) return;
    record.Entries.push_back(leftover);
    record.Write();
}

void UpdateLeftover(const TLeftover& was, const TLeftover& now) {
    TRecord record(true);
    if (!record) return;
    std::erase_if(record.Entries, [&](const TLeftover& entry) { return SameLeftover(entry, was); });
    record.Entries.push_back(now);
    record.Write();
}

void ForgetLeftover(const TLeftover& leftover) {
    TRecord record(false);
    if (!record) return;
    const std::size_t before = record.Entries.size();
    std::erase_if(record.Entries, [&](const TLeftover& entry) { return SameLeftover(entry, leftover); });
    if (record.Entries.size() != before) record.Write();
}

void RemoveLeftovers() {
    TRecord record(false);
    if (!record || record.Entries.empty()) return;
    std::erase_if(record.Entries, [](const TLeftover& entry) { return Sweep(entry) == TSweep::Gone; });
    record.Write();
}

TTemporaryWorkFolder::TTemporaryWorkFolder(const std::string& prefix) {
    RemoveLeftovers();
    std::error_code ec;
    std::filesystem::path temporary = std::filesystem::temp_directory_path(ec);
    if (ec) temporary = "/tmp";
    struct stat in {};
    if (::stat(temporary.c_str(), &in) != 0) {
        reason_ = std::strerror(errno != 0 ? errno : EIO);
        return;
    }
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::mt19937_64 random(std::random_device{}());
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = prefix;
        for (int i = 0; i < 6; ++i)
            name += kLetters[random() % (sizeof kLetters - 1)];
        path_ = temporary / name;
        // Written down before it exists, so that no kill can leave it unrecorded.
        const auto now = std::chrono::system_clock::now().time_since_epoch();
        const TLeftover intended{
            true, static_cast<unsigned long long>(in.st_dev), 0,
            static_cast<unsigned long long>(std::chrono::duration_cast<std::chrono::seconds>(now).count()),
            path_.string()};
        RecordLeftover(intended);
        if (::mkdir(path_.c_str(), 0700) != 0) {
            const int why = errno;
            ForgetLeftover(intended);
            if (why == EEXIST) continue;
            reason_ = std::strerror(why);
            return;
        }
        fd_ = ::open(path_.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        struct stat st {};
        if (fd_ < 0 || ::fstat(fd_, &st) != 0) {
            reason_ = std::strerror(errno != 0 ? errno : EIO);
            if (fd_ >= 0) ::close(fd_);
            fd_ = -1;
            ::rmdir(path_.c_str());
            ForgetLeftover(intended);
            return;
        }
        // Held while the report runs, so that no other run takes it for a leftover.
        (void)::flock(fd_, LOCK_EX | LOCK_NB);
        leftover_ = TLeftover{true, static_cast<unsigned long long>(st.st_dev),
                              static_cast<unsigned long long>(st.st_ino), 0, path_.string()};
        UpdateLeftover(intended, leftover_);
        return;
    }
    reason_ = std::strerror(EEXIST);
}

TTemporaryWorkFolder::~TTemporaryWorkFolder() {
    if (fd_ < 0) return;
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
    ::close(fd_);
    if (!ec) ForgetLeftover(leftover_);
}

} // namespace halvern
