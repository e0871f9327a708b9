#pragma once

#include <cstddef>
#include <cstdint>

#include "io/data_receiver.h"
#include "platform/platform.h"

// A file opened for reading by path. Every failure raises one of the file errors.
class FileReadingPath {
  public:
    FileReadingPath() = default;
    // Opens `path` at once; null reads as the empty path, which fails to open.
    explicit FileReadingPath(const char* path);
    virtual ~FileReadingPath();

    FileReadingPath(FileReadingPath&& other) noexcept : handle_(other.handle_) {
        other.handle_ = nullptr;
    }
    FileReadingPath& operator=(FileReadingPath&& other) noexcept;
    FileReadingPath(const FileReadingPath&) = delete;
    FileReadingPath& operator=(const FileReadingPath&) = delete;

    // Read access, read sharing, existing files only. A file already held is closed first.
    virtual void Open(const char* path);
    // The handle ends null even when closing fails (which then raises).
    void Close();
    // The size in bytes, without a high word.
    uint32_t GetSize() const;

    bool IsOpen() const { return handle_ != nullptr; }
    platform::FileHandle handle() const { return handle_; }

  private:
    void CloseQuietly() noexcept;

    platform::FileHandle handle_ = nullptr;
};

// A read position in an open file, with the file's size as noted when it was set up.
class FileReadPosition {
  public:
    FileReadPosition(const FileReadingPath& file, uint32_t start);

    // Reads at the position into `range`; fewer bytes than asked is no error. The position and
    // range.first advance by the bytes read.
    void ReadSome(ByteRange& range);
    // As ReadSome, but the whole range must be filled (EndOfFileError otherwise).
    void ReadExactly(ByteRange& range);

    uint32_t position() const { return position_; }
    uint32_t notedSize() const { return notedSize_; }

  private:
    const FileReadingPath& file_;
    uint32_t position_;
    uint32_t notedSize_;
};

// Reads an open file from an offset to its noted end, one buffer-full chunk at a time.
class FileReadingLoop {
  public:
    FileReadingLoop(const FileReadingPath& file, ByteRange buffer, uint32_t offset);

    bool HasMore() const { return expected_ != 0; }
    ConstByteRange chunk() const { return chunk_; }
    // Counts the current chunk as delivered and reads the next one if bytes are still expected.
    void Advance();

  private:
    void ReadChunk();

    ByteRange buffer_;
    ConstByteRange chunk_;
    FileReadPosition position_;
    uint32_t expected_;
};

// Size of the chunks ReadFileInto hands to its receiver.
constexpr size_t kFileChunkSize = 2048;

// Streams the file from `offset` to its end into `receiver`: Start, Receive per chunk, Finish.
void ReadFileInto(const char* path, DataReceiver& receiver, uint32_t offset);
