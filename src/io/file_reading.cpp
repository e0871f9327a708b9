#include "io/file_reading.h"

#include <algorithm>
#include <limits>
#include <string>

#include "io/file_errors.h"

namespace {

// A path ending in separators names the same file as one without them.
std::string WithoutTrailingSeparators(const char* path) {
    std::string text = path != nullptr ? path : "";
    while (!text.empty() && (text.back() == '\\' || text.back() == '/')) text.pop_back();
    return text;
}

uint32_t RangeLength(const ByteRange& range) {
    const size_t length = static_cast<size_t>(range.last - range.first);
    return static_cast<uint32_t>(std::min<size_t>(length, std::numeric_limits<uint32_t>::max()));
}

}  // namespace

FileReadingPath::FileReadingPath(const char* path) {
    Open(path);
}

FileReadingPath::~FileReadingPath() {
    CloseQuietly();
}

FileReadingPath& FileReadingPath::operator=(FileReadingPath&& other) noexcept {
    if (this != &other) {
        CloseQuietly();
        handle_ = other.handle_;
        other.handle_ = nullptr;
    }
    return *this;
}

void FileReadingPath::Open(const char* path) {
    if (handle_ != nullptr) Close();
    const std::string text = WithoutTrailingSeparators(path);
    handle_ = platform::OpenFileForReading(text.c_str());
    if (handle_ == nullptr) RaiseFileError(platform::LastError());
}

void FileReadingPath::Close() {
    if (handle_ == nullptr) return;
    platform::FileHandle file = handle_;
    handle_ = nullptr;
    if (!platform::CloseFile(file)) RaiseFileError(platform::LastError());
}

void FileReadingPath::CloseQuietly() noexcept {
    try {
        Close();
    } catch (...) {
        // Nothing can be done about a failing close while tearing down.
    }
}

uint32_t FileReadingPath::GetSize() const {
    const uint32_t size = platform::GetFileSize(handle_);
    // All ones is also a valid low word of a large file; the error code tells them apart.
    if (size == platform::kInvalidFileSize) RaiseFileError(platform::LastError());
    return size;
}

FileReadPosition::FileReadPosition(const FileReadingPath& file, uint32_t start)
    : file_(file), position_(start), notedSize_(file.GetSize()) {}

void FileReadPosition::ReadSome(ByteRange& range) {
    if (!platform::SetFilePosition(file_.handle(), position_)) throw FileSeekError();
    uint32_t bytesRead = 0;
    if (!platform::ReadFile(file_.handle(), range.first, RangeLength(range), &bytesRead)) {
        RaiseReadError(platform::LastError());
    }
    position_ += bytesRead;
    range.first += bytesRead;
}

void FileReadPosition::ReadExactly(ByteRange& range) {
    // A read may deliver less than asked for; only one that delivers nothing means the end.
    while (range.first != range.last) {
        uint8_t* const before = range.first;
        ReadSome(range);
        if (range.first == before) throw EndOfFileError();
    }
}

FileReadingLoop::FileReadingLoop(const FileReadingPath& file, ByteRange buffer, uint32_t offset)
    : buffer_(buffer), position_(file, offset), expected_(position_.notedSize() - offset) {
    if (offset != position_.notedSize()) ReadChunk();
}

void FileReadingLoop::Advance() {
    expected_ -= static_cast<uint32_t>(chunk_.last - chunk_.first);
    if (expected_ != 0) ReadChunk();
}

void FileReadingLoop::ReadChunk() {
    if (position_.position() >= position_.notedSize()) throw FileReadingLoopEndOfFileError();
    ByteRange target = buffer_;
    target.last = target.first + std::min(RangeLength(buffer_), expected_);
    position_.ReadSome(target);
    // The file shrank after its size was noted: reading again would never make progress.
    if (target.first == buffer_.first) throw FileReadingLoopEndOfFileError();
    chunk_ = ConstByteRange{buffer_.first, target.first};
}

void ReadFileInto(const char* path, DataReceiver& receiver, uint32_t offset) {
    FileReadingPath file(path);
    receiver.Start();
    uint8_t buffer[kFileChunkSize];
    FileReadingLoop loop(file, ByteRange{buffer, buffer + kFileChunkSize}, offset);
    while (loop.HasMore()) {
        const ConstByteRange chunk = loop.chunk();
        receiver.Receive(chunk.first, chunk.last);
        loop.Advance();
    }
    receiver.Finish();
}
