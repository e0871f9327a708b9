#include "kit/request_writer.h"

#include <limits>

namespace zemkit {

namespace {

constexpr char kVersionLine[] = "UI 1.2\n";
constexpr char kCtrlZ = 0x1A;

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// The length of the sequence a lead byte starts, 0 for a byte that cannot start one.
size_t SequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 0;
}

// Shortest form only, no encoded surrogates, nothing past U+10FFFF: stricter than the product's
// transcoder, which takes overlong forms, so that what the kit writes every reader takes.
bool IsValidSequence(const unsigned char* p, size_t length) {
    for (size_t i = 1; i < length; ++i) {
        if (!IsContinuation(p[i])) return false;
    }
    if (length == 3) {
        if (p[0] == 0xE0 && p[1] < 0xA0) return false;
        if (p[0] == 0xED && p[1] >= 0xA0) return false;
    }
    if (length == 4) {
        if (p[0] == 0xF0 && p[1] < 0x90) return false;
        if (p[0] == 0xF4 && p[1] >= 0x90) return false;
    }
    return true;
}

}  // namespace

bool IsValidUtf8(const std::string& text) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = p + text.size();
    while (p < end) {
        const size_t length = SequenceLength(*p);
        if (length == 0 || static_cast<size_t>(end - p) < length) return false;
        if (!IsValidSequence(p, length)) return false;
        p += length;
    }
    return true;
}

int32_t CheckedInt32(int64_t value, const std::string& field) {
    if (value < std::numeric_limits<int32_t>::min() ||
        value > std::numeric_limits<int32_t>::max()) {
        throw EncodeError(field, "outside the signed 32-bit range");
    }
    return static_cast<int32_t>(value);
}

std::string FoldValue(const std::string& value, const std::string& field) {
    if (value.empty()) throw EncodeError(field, "must not be empty");
    std::string folded;
    folded.reserve(value.size());
    for (size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c == '\0') throw EncodeError(field, "contains a NUL byte");
        if (c == kCtrlZ) throw EncodeError(field, "contains a 0x1A byte, which ends the input");
        if (c == '\r') {
            if (i + 1 < value.size() && value[i + 1] == '\n') continue;  // CR LF arrives as LF
            throw EncodeError(field, "contains a CR that is not followed by LF");
        }
        folded += c;
    }
    return folded;
}

RequestWriter::RequestWriter(const std::string& commandLine) {
    out_ = kVersionLine;
    Line(commandLine);
}

void RequestWriter::Number(const char* key, int64_t value, const std::string& field) {
    Line(std::string(key) + ":" + std::to_string(CheckedInt32(value, field)));
}

void RequestWriter::Text(const char* key, const std::string& value, const std::string& field) {
    if (!IsValidUtf8(value)) throw EncodeError(field, "is not valid UTF-8");
    Sized(key, FoldValue(value, field));
}

void RequestWriter::Path(const char* key, const FilePath& path, const std::string& field) {
    if (!path.preEncoded) {
        for (const char c : path.bytes) {
            if (static_cast<unsigned char>(c) >= 0x80) {
                throw EncodeError(field,
                                  "is not ASCII: the product opens it with the ANSI calls, so "
                                  "pass it as bytes already in the ANSI code page");
            }
        }
    }
    Sized(key, FoldValue(path.bytes, field));
}

void RequestWriter::Line(const std::string& line) {
    out_ += line;
    out_ += '\n';
}

void RequestWriter::Sized(const char* key, const std::string& folded) {
    // The count must fit the reader's signed 32-bit scan.
    const int32_t count = CheckedInt32(static_cast<int64_t>(folded.size()), key);
    Line(std::string(key) + ":" + std::to_string(count));
    out_ += folded;
    out_ += '\n';
}

}  // namespace zemkit
