// The program's version texts: the caption's version and the first line of every project file.
#pragma once

namespace halvern {
inline constexpr const char* VersionText = "Version: 4.4";
inline constexpr const char* FileVersionTag = "HALVERN 4.0";
inline constexpr const char* ApplicationTitle = "Halvern";
} // namespace halvern
