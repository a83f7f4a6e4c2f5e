// What a save or a report puts down for a moment (a project's new file before it takes the
// project's place, the folder the workbook is assembled in) and a killed run could leave
// behind. Each is written down in the user's record of unfinished files while it exists,
// and a later run removes what the record names once nothing holds it any more. Nothing
// else is ever removed: a file merely named like one of ours stays.
#pragma once
#include <filesystem>
#include <string>

namespace halvern {

// The record this program keeps: the file given by the program at start-up, empty (the
// default) for none, in which case nothing is recorded and nothing is removed later.
void UseLeftoverRecord(const std::string& recordFile);
std::string LeftoverRecord();

// The user's record under the desktop's state folder ($XDG_STATE_HOME, else
// ~/.local/state): halvern/unfinished. Empty when neither is known.
std::string DefaultLeftoverRecord();

// One file or folder of ours, named by its full name and known by its device and inode,
// so that whatever takes its name later is not mistaken for it. A file about to be made has
// no inode yet (0): then only a regular file of that name made since `Since` (seconds of the
// system clock) is taken for it.
struct TLeftover {
    bool Folder = false;
    unsigned long long Device = 0;
    unsigned long long Inode = 0;
    unsigned long long Since = 0;
    std::string Path;
};

// Writes it down before a kill could leave it; says which file it became once made;
// forgets it once it is gone or in place.
void RecordLeftover(const TLeftover& leftover);
void UpdateLeftover(const TLeftover& was, const TLeftover& now);
void ForgetLeftover(const TLeftover& leftover);

// Removes what earlier runs left: every recorded file or folder that is still the one
// recorded and that no running save or report holds locked. The record keeps only what is
// still in use.
void RemoveLeftovers();

// A private folder (0700) in the system's temporary folder for the files a report is
// assembled from, removed with everything in it when done and recorded meanwhile, so that
// a killed report's folder goes with a later run. Held locked while it is in use.
class TTemporaryWorkFolder {
public:
    // prefix: the start of the folder's name ("halvern-report-"). When no folder can be
    // made, Ok() is false and Reason() says why, in the system's words.
    explicit TTemporaryWorkFolder(const std::string& prefix);
    ~TTemporaryWorkFolder();
    TTemporaryWorkFolder(const TTemporaryWorkFolder&) = delete;
    TTemporaryWorkFolder& operator=(const TTemporaryWorkFolder&) = delete;
    bool Ok() const { return fd_ >= 0; }
    const std::string& Reason() const { return reason_; }
    const std::filesystem::path& Path() const { return path_; }

private:
    TLeftover leftover_;
    std::filesystem::path path_;
    std::string reason_;
    int fd_ = -1;
};

} // namespace halvern
