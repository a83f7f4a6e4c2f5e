// Copies a zip archive (an .xlsx file is one) entry by entry into a new one: the entries
// chosen are read and stored with new content, every other entry is copied exactly as it
// was stored, still compressed.
#pragma once
#include <functional>
#include <string>
#include <vector>

namespace halvern {

struct TZipRewrite {
    // Whether an entry (by its name in the archive) gets new content.
    std::function<bool(const std::string& name)> Wants;
    // The new content of a chosen entry, from its old content.
    std::function<std::string(const std::string& name, const std::string& content)> Rewrite;
};

// Throws EReportError when the source cannot be read or the target cannot be written.
void RewriteZip(const std::string& source, const std::string& target, const TZipRewrite& rewrite);

// The content of one entry of an archive, and the names of all of them, in order.
std::string ReadZipEntry(const std::string& archive, const std::string& name);
std::vector<std::string> ZipEntryNames(const std::string& archive);

} // namespace halvern
