// The text of a logger file a line at a time, from bytes in memory or from a file read a
// piece at a time, so that a gigabyte export never has to be held. It finds the code units:
// UTF-8 behind its mark, UTF-16 behind its mark or plainly UTF-16 (every other byte zero),
// else bytes as they are (the reader decides UTF-8 or Windows-1252 from every line). A line
// ends at a line feed, a carriage return with a line feed, or a carriage return alone, as
// older exports end them.
#pragma once
#include "io/FileAccess.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace halvern {

class TLoggerText {
public:
    // Bytes in memory, which the caller keeps while this reads them.
    explicit TLoggerText(std::string_view bytes);
    // A file opened for reading.
    explicit TLoggerText(TChunkedFile& file);

    // The next line without its end; false at the end of the text or when it cannot be read
    // on (Error() then says why).
    bool Next(std::string_view& line);
    // The number of the line Next gave last, counted from 1.
    std::size_t LineNumber() const { return line_; }
    // Back to the first line.
    bool Rewind();
    // Why the text could not be read on: empty while it can.
    const std::string& Error() const { return error_; }
    // The line the error is about; 0 for the file as a whole.
    std::size_t ErrorLine() const { return errorLine_; }
    // How much of the file has been read, 0 to 1.
    double Fraction() const;

    // What the first bytes said: "UTF-8 with byte-order mark", "UTF-16 LE", "UTF-16 BE",
    // "UTF-16 LE without byte-order mark", or empty for bytes taken as they are.
    const std::string& Units() const { return units_; }

    // A line longer than any logger writes (some thousand channels of long numbers): a file
    // without line ends, or not a text at all.
    static constexpr std::size_t MaxLineBytes = std::size_t{16} << 20;

private:
    enum class TUnits { Bytes, Utf16LE, Utf16BE };
    void Start();
    bool Refill();
    bool ReadRaw(std::string& piece);
    void AppendUtf16(std::string_view raw);

    std::string_view memory_;
    TChunkedFile* file_ = nullptr;
    std::uint64_t total_ = 0, rawDone_ = 0;
    TUnits kind_ = TUnits::Bytes;
    std::string units_;
    std::string buffer_, raw_;
    std::string_view data_; // the decoded text now at hand
    std::size_t pos_ = 0, scan_ = 0;
    bool eof_ = false;
    std::size_t line_ = 0;
    std::string error_;
    std::size_t errorLine_ = 0;
    // UTF-16 cut between two pieces: a byte of a code unit, a high surrogate waiting for its low.
    int oddByte_ = -1;
    unsigned highSurrogate_ = 0;
};

} // namespace halvern
