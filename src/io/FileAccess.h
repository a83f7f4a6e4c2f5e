// Whole-file reading and the safe replacement of a file. A read takes only a regular file
// (a pipe or a device would block or never end) and opens it once. A project is written
// into a new file beside its target, unnamed until it is complete where the system allows,
// and renamed over the target only then, so a failed or killed save never destroys the
// project that was there, never leaves a half-written one and never shows a private
// project to others.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace halvern {

// What went wrong with a file, in the words the messages use.
enum class TFileFailure {
    None,
    Open,       // it could not be opened (missing, no permission, a link loop ...)
    NotRegular, // it is a folder, a named pipe, a device or a socket
    Read,       // it opened but could not be read to its end
    TooLarge,   // it is larger than any project or day of hourly data
    Write,      // the new content could not be written, made safe or put in place
};

struct TFileResult {
    bool Ok = false;
    std::string Bytes; // the content read
    TFileFailure Failure = TFileFailure::None;
    std::string Reason; // why, in the system's words (or ours where the system has none)
};

// No project or day of hourly data comes near this; a larger file (a wrong choice in the
// dialog) is refused rather than read.
constexpr std::size_t MaxReadBytes = 64u << 20;

// Reads every byte of a regular file of at most MaxReadBytes.
TFileResult ReadFileBytes(const std::string& fileName);

// A regular file read a piece at a time, for files far larger than memory should hold (a
// logger's export of one-second samples). Opened as ReadFileBytes opens a file.
class TChunkedFile {
public:
    TChunkedFile() = default;
    ~TChunkedFile();
    TChunkedFile(const TChunkedFile&) = delete;
    TChunkedFile& operator=(const TChunkedFile&) = delete;

    // Opens a regular file; one larger than maxBytes is refused (Failure TooLarge, no reason).
    TFileResult Open(const std::string& fileName, std::uint64_t maxBytes);
    // Its size when opened (also when refused as too large).
    std::uint64_t Size() const { return size_; }
    // The next piece, at most `most` bytes, in place of what `piece` held; empty at the end.
    // False with the system's reason when the file cannot be read on.
    bool Read(std::string& piece, std::size_t most, std::string& reason);
    // Back to the first byte.
    bool Rewind(std::string& reason);

private:
    int fd_ = -1;
    std::uint64_t size_ = 0, maxBytes_ = 0, read_ = 0;
};

// How a replacement may create its new file. File systems that cannot create an unnamed
// file take the named route; tests take it on purpose.
struct TReplaceOptions {
    bool UnnamedFirst = true;
};

// Writes the bytes to a new file in the target's folder and renames it over the target. A
// symbolic link stays a link: the file it leads to is replaced (or created, for a link that
// leads nowhere yet), unless LinkMayBeFollowed refuses it. A target that is not a regular file is refused.
// The new file has the replaced project's permissions (and owner, where the process may set it) from the
// start; a new project gets the permissions any new file gets. On any failure the target is left as it was
// and nothing is left beside it.
TFileResult ReplaceFileContent(const std::string& fileName, const std::string& bytes,
                               const TReplaceOptions& options = {});

// Whether a save may follow a link: not one in a sticky folder that every user may write to
// (the system's temporary folder) unless it belongs to the user or to the folder's owner,
// since another user may have planted it there to have the save replace a file of the
// user's. The system's own rule for protected links, applied whatever the system is set to.
bool LinkMayBeFollowed(unsigned folderMode, unsigned folderOwner, unsigned linkOwner, unsigned user);

// The message of a failed read or write: "Cannot open file NAME", "Cannot read file NAME" or
// "Cannot write file NAME", then the reason on a line of its own.
std::string FileFailureMessage(const std::string& fileName, const TFileResult& result);

// The full name of a file as the file dialogs give it: the working folder before a relative
// name. Only "." parts and doubled slashes, which never change the file, are dropped; ".."
// is left for the system to follow, since after a link it leads elsewhere than the name
// suggests.
std::string AbsoluteFileName(const std::string& fileName);

// The file's name without its folders: the part after the last "\" or "/".
std::string FileNameOnly(const std::string& fileName);

// True when the file name (without its folders) carries an extension.
bool HasExtension(const std::string& fileName);

// Whether two names lead to the same existing file (after every link).
bool SameExistingFile(const std::string& first, const std::string& second);

} // namespace halvern
