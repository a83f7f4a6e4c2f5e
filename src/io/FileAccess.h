// Whole-file reading and the safe replacement of a file: a project is written beside its
// target and renamed over it only when complete, so a failed save never destroys the
// project that was there.
#pragma once
#include <cstddef>
#include <string>

namespace halvern {

struct TFileResult {
    bool Ok = false;
    std::string Bytes;       // the content read
    std::string SystemError; // the operating system's text for a failure
};

// No project or day of hourly data comes near this; a larger "file" (a device, a wrong
// choice in the dialog) is refused rather than read without end.
constexpr std::size_t MaxReadBytes = 64u << 20;

// Reads every byte of a file of at most MaxReadBytes.
TFileResult ReadFileBytes(const std::string& fileName);

// Writes the bytes to a new file in the target's folder and renames it over the target.
// On any failure the target is left as it was and the new file is removed.
TFileResult ReplaceFileContent(const std::string& fileName, const std::string& bytes);

// The file's name without its folders: the part after the last "\" or "/".
std::string FileNameOnly(const std::string& fileName);

// True when the file name (without its folders) carries an extension.
bool HasExtension(const std::string& fileName);

} // namespace halvern
