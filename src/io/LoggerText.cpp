// Logger text a line at a time: code units found from the first bytes, lines cut at any of
// the three line ends, a file read in pieces of a megabyte.
#include "io/LoggerText.h"

#include "io/TextCodec.h"
#include "model/Messages.h"

#include <algorithm>
#include <cstring>

namespace halvern {
namespace {

constexpr std::size_t kPiece = std::size_t{1} << 20;

// Text written as UTF-16 without its mark: in the first bytes every code unit of the
// letters, digits and separators a logger writes has one zero byte, always the same one.
// 0 when it is not so, 1 for little-endian, 2 for big-endian.
int PlainUtf16(std::string_view head) {
    head = head.substr(0, 512);
    if (head.size() < 8) return 0;
    std::size_t lowZero = 0, highZero = 0;
    const std::size_t units = head.size() / 2;
    for (std::size_t i = 0; i + 1 < head.size(); i += 2) {
        const bool a = head[i] == 0, b = head[i + 1] == 0;
        if (a && b) return 0;
        highZero += !a && b;
        lowZero += a && !b;
    }
    if (highZero == units) return 1;
    if (lowZero == units) return 2;
    return 0;
}

} // namespace

TLoggerText::TLoggerText(std::string_view bytes) : memory_(bytes), total_(bytes.size()) {
    Start();
}

TLoggerText::TLoggerText(TChunkedFile& file) : file_(&file), total_(file.Size()) {
    Start();
}

bool TLoggerText::ReadRaw(std::string& piece) {
    if (!file_) {
        const std::size_t at = static_cast<std::size_t>(rawDone_);
        piece.assign(memory_.substr(std::min(at, memory_.size()), kPiece));
        rawDone_ += piece.size();
        return true;
    }
    std::string reason;
    if (!file_->Read(piece, kPiece, reason)) {
        error_ = Msg::LoggerCannotReadOn(reason);
        errorLine_ = 0;
        return false;
    }
    rawDone_ += piece.size();
    return true;
}

void TLoggerText::Start() {
    rawDone_ = 0;
    line_ = 0;
    pos_ = scan_ = 0;
    eof_ = false;
    oddByte_ = -1;
    highSurrogate_ = 0;
    buffer_.clear();
    kind_ = TUnits::Bytes;
    units_.clear();
    std::string_view head = memory_.substr(0, 4);
    if (file_) {
        if (!ReadRaw(raw_)) {
            eof_ = true;
            data_ = {};
            return;
        }
        head = raw_;
    }
    std::size_t mark = 0;
    if (head.substr(0, 3) == "\xEF\xBB\xBF") {
        units_ = "UTF-8 with byte-order mark";
        mark = 3;
    } else if (head.substr(0, 2) == "\xFF\xFE") {
        kind_ = TUnits::Utf16LE;
        units_ = "UTF-16 LE";
        mark = 2;
    } else if (head.substr(0, 2) == "\xFE\xFF") {
        kind_ = TUnits::Utf16BE;
        units_ = "UTF-16 BE";
        mark = 2;
    } else if (const int plain = PlainUtf16(file_ ? std::string_view(raw_) : memory_)) {
        kind_ = plain == 1 ? TUnits::Utf16LE : TUnits::Utf16BE;
        units_ = plain == 1 ? "UTF-16 LE without byte-order mark" : "UTF-16 BE without byte-order mark";
    }
    if (!file_ && kind_ == TUnits::Bytes) {
        // Bytes in memory are read where they stand.
        data_ = memory_.substr(mark);
        eof_ = true;
        return;
    }
    if (!file_) {
        rawDone_ = mark;
        if (!ReadRaw(raw_)) return;
        mark = 0;
    }
    const std::string_view first = std::string_view(raw_).substr(mark);
    if (kind_ == TUnits::Bytes)
        buffer_.assign(first);
    else
        AppendUtf16(first);
    data_ = buffer_;
    eof_ = raw_.empty();
}

void TLoggerText::AppendUtf16(std::string_view raw) {
    std::size_t i = 0;
    const auto unitAt = [&](unsigned char a, unsigned char b) {
        return kind_ == TUnits::Utf16LE ? unsigned(a) | unsigned(b) << 8 : unsigned(a) << 8 | unsigned(b);
    };
    const auto take = [&](unsigned unit) {
        if (unit >= 0xD800 && unit < 0xDC00) {
            if (highSurrogate_) AppendUtf8(buffer_, 0xFFFD);
            highSurrogate_ = unit;
            return;
        }
        if (unit >= 0xDC00 && unit < 0xE000) {
            if (highSurrogate_)
                AppendUtf8(buffer_, 0x10000 + ((highSurrogate_ - 0xD800) << 10) + (unit - 0xDC00));
            else
                AppendUtf8(buffer_, 0xFFFD);
            highSurrogate_ = 0;
            return;
        }
        if (highSurrogate_) AppendUtf8(buffer_, 0xFFFD);
        highSurrogate_ = 0;
        AppendUtf8(buffer_, unit);
    };
    if (oddByte_ >= 0 && !raw.empty()) {
        take(unitAt(static_cast<unsigned char>(oddByte_), static_cast<unsigned char>(raw[0])));
        oddByte_ = -1;
        i = 1;
    }
    for (; i + 1 < raw.size(); i += 2)
        take(unitAt(static_cast<unsigned char>(raw[i]), static_cast<unsigned char>(raw[i + 1])));
    if (i < raw.size()) oddByte_ = static_cast<unsigned char>(raw[i]);
}

bool TLoggerText::Refill() {
    buffer_.erase(0, pos_);
    scan_ -= pos_;
    pos_ = 0;
    if (!ReadRaw(raw_)) return false;
    if (raw_.empty()) {
        eof_ = true;
        // A code unit or a surrogate left without its other half ends the text as one character.
        if (kind_ != TUnits::Bytes && (oddByte_ >= 0 || highSurrogate_)) AppendUtf8(buffer_, 0xFFFD);
    } else if (kind_ == TUnits::Bytes) {
        buffer_.append(raw_);
    } else {
        AppendUtf16(raw_);
    }
    data_ = buffer_;
    return true;
}

bool TLoggerText::Next(std::string_view& line) {
    if (!error_.empty()) return false;
    for (;;) {
        // The first line feed, then a carriage return before it (a line ended by one alone).
        const char* base = data_.data();
        const auto* feed = static_cast<const char*>(std::memchr(base + scan_, '\n', data_.size() - scan_));
        std::size_t end = feed ? static_cast<std::size_t>(feed - base) : data_.size();
        if (const auto* ret = static_cast<const char*>(std::memchr(base + scan_, '\r', end - scan_)))
            end = static_cast<std::size_t>(ret - base);
        if (end < data_.size()) {
            // A carriage return at the end of what is at hand may have its line feed in the next piece.
            if (data_[end] == '\r' && end + 1 == data_.size() && !eof_) {
                scan_ = end;
                if (!Refill()) return false;
                continue;
            }
            line = data_.substr(pos_, end - pos_);
            pos_ = end + 1;
            if (data_[end] == '\r' && pos_ < data_.size() && data_[pos_] == '\n') ++pos_;
            scan_ = pos_;
            ++line_;
            return true;
        }
        if (end - pos_ > MaxLineBytes) {
            error_ = Msg::LoggerLineTooLong(MaxLineBytes >> 20);
            errorLine_ = line_ + 1;
            return false;
        }
        if (eof_) {
            if (pos_ >= data_.size()) return false;
            line = data_.substr(pos_);
            pos_ = scan_ = data_.size();
            ++line_;
            return true;
        }
        scan_ = end;
        if (!Refill()) return false;
    }
}

bool TLoggerText::Rewind() {
    error_.clear();
    if (file_) {
        std::string reason;
        if (!file_->Rewind(reason)) {
            error_ = Msg::LoggerCannotReadOn(reason);
            return false;
        }
    }
    Start();
    return error_.empty();
}

double TLoggerText::Fraction() const {
    if (total_ == 0) return 1;
    if (!file_ && kind_ == TUnits::Bytes) return static_cast<double>(pos_) / static_cast<double>(total_);
    return std::min(1.0, static_cast<double>(rawDone_) / static_cast<double>(total_));
}

} // namespace halvern
