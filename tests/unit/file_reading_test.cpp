#include "io/file_reading.h"

#include <gtest/gtest.h>

#include <string>
#include <typeinfo>
#include <vector>

#include "io/file_errors.h"
#include "platform/platform.h"
#include "support/scoped_temp_dir.h"

namespace {

std::string Pattern(size_t length) {
    std::string bytes(length, '\0');
    for (size_t i = 0; i < length; ++i) bytes[i] = static_cast<char>(i * 7 + i / 256);
    return bytes;
}

// Remembers the calls it gets and the bytes of the stream.
class RecordingReceiver : public DataReceiver {
  public:
    void Start() override { calls.push_back("Start"); }
    void Receive(const uint8_t* first, const uint8_t* last) override {
        calls.push_back("Receive " + std::to_string(last - first));
        bytes.append(reinterpret_cast<const char*>(first), static_cast<size_t>(last - first));
    }
    void Finish() override { calls.push_back("Finish"); }

    std::vector<std::string> calls;
    std::string bytes;
};

// The class name an operation raises, or "" when it returns normally.
template <typename Operation>
std::string RaisedClass(Operation operation) {
    try {
        operation();
    } catch (const DebuggableException& error) {
        return error.what();
    }
    return "";
}

using Calls = std::vector<std::string>;

TEST(FileReadingPath, OpenFailuresNameTheirKind) {
    ScopedTempDir dir;
    const std::string missing = dir.PathOf("missing.txt");
    const std::string inMissingDir = (dir.path() / "nowhere" / "file.txt").string();
    EXPECT_EQ(RaisedClass([&] { FileReadingPath file(missing.c_str()); }), "FileNotFoundError");
    EXPECT_EQ(RaisedClass([&] { FileReadingPath file(inMissingDir.c_str()); }),
              "DirectoryNotFoundError");
    EXPECT_EQ(RaisedClass([&] { FileReadingPath file(dir.path().string().c_str()); }),
              "FilePermissionError");
    EXPECT_THROW(FileReadingPath file(missing.c_str()), FileNotFoundError);
    EXPECT_THROW(FileReadingPath file(inMissingDir.c_str()), DirectoryNotFoundError);
    // No path at all is the empty text, which names no file.
    EXPECT_THROW(FileReadingPath file(nullptr), FileIOError);
}

TEST(FileReadingPath, TrailingSeparatorsNameTheSameFile) {
    ScopedTempDir dir;
    const std::string path = dir.Write("five.bin", "12345");
    for (const std::string& suffix : {std::string("/"), std::string("\\"), std::string("/\\//")}) {
        FileReadingPath file((path + suffix).c_str());
        EXPECT_TRUE(file.IsOpen()) << suffix;
        EXPECT_EQ(file.GetSize(), 5u) << suffix;
    }
    EXPECT_THROW(FileReadingPath file("///"), FileIOError);  // only separators: the empty path
}

TEST(FileReadingPath, CloseEndsWithoutAHandleAndMovesTransferIt) {
    ScopedTempDir dir;
    const std::string path = dir.Write("a.bin", "abc");
    FileReadingPath file(path.c_str());
    FileReadingPath moved(std::move(file));
    EXPECT_FALSE(file.IsOpen());
    ASSERT_TRUE(moved.IsOpen());
    EXPECT_EQ(moved.GetSize(), 3u);
    moved.Close();
    EXPECT_FALSE(moved.IsOpen());
    moved.Close();                                     // closing nothing is no error
    EXPECT_THROW(moved.GetSize(), FileNotFoundError);  // an invalid handle, as Windows names it
    moved.Open(path.c_str());
    EXPECT_TRUE(moved.IsOpen());
    FileReadingPath other(dir.Write("b.bin", "de").c_str());
    other = std::move(moved);  // closes b.bin and takes a.bin
    EXPECT_FALSE(moved.IsOpen());
    EXPECT_EQ(other.GetSize(), 3u);
}

TEST(ReadFileInto, EmptyFileAndOffsetAtTheEndDeliverNoChunk) {
    ScopedTempDir dir;
    const std::string empty = dir.Write("empty.bin", "");
    const std::string ten = dir.Write("ten.bin", Pattern(10));
    RecordingReceiver fromEmpty;
    ReadFileInto(empty.c_str(), fromEmpty, 0);
    EXPECT_EQ(fromEmpty.calls, (Calls{"Start", "Finish"}));
    RecordingReceiver atEnd;
    ReadFileInto(ten.c_str(), atEnd, 10);
    EXPECT_EQ(atEnd.calls, (Calls{"Start", "Finish"}));
}

TEST(ReadFileInto, OffsetBeyondTheEndRaisesAfterStart) {
    ScopedTempDir dir;
    const std::string ten = dir.Write("ten.bin", Pattern(10));
    RecordingReceiver receiver;
    EXPECT_THROW(ReadFileInto(ten.c_str(), receiver, 11), FileReadingLoopEndOfFileError);
    EXPECT_EQ(receiver.calls, (Calls{"Start"}));
    EXPECT_EQ(RaisedClass([&] { ReadFileInto(ten.c_str(), receiver, 0xFFFFFFFFu); }),
              "FileReadingLoopEndOfFileError");
}

TEST(ReadFileInto, DeliversBufferSizedChunksInFileOrder) {
    ScopedTempDir dir;
    const std::string content = Pattern(2 * kFileChunkSize + 5);
    const std::string path = dir.Write("chunks.bin", content);
    RecordingReceiver whole;
    ReadFileInto(path.c_str(), whole, 0);
    EXPECT_EQ(whole.calls, (Calls{"Start", "Receive 2048", "Receive 2048", "Receive 5", "Finish"}));
    EXPECT_EQ(whole.bytes, content);

    RecordingReceiver fromOffset;
    ReadFileInto(path.c_str(), fromOffset, 100);
    const std::string restAfterOffset = std::to_string(content.size() - 100 - kFileChunkSize);
    EXPECT_EQ(fromOffset.calls,
              (Calls{"Start", "Receive 2048", "Receive " + restAfterOffset, "Finish"}));
    EXPECT_EQ(fromOffset.bytes, content.substr(100));
}

TEST(ReadFileInto, MissingFileRaisesBeforeStart) {
    ScopedTempDir dir;
    RecordingReceiver receiver;
    EXPECT_THROW(ReadFileInto(dir.PathOf("none").c_str(), receiver, 0), FileNotFoundError);
    EXPECT_TRUE(receiver.calls.empty());
}

TEST(FileReadPosition, ReadSomeStopsAtTheEndAndReadExactlyRaises) {
    ScopedTempDir dir;
    const std::string content = Pattern(20);
    const std::string path = dir.Write("twenty.bin", content);
    FileReadingPath file(path.c_str());
    FileReadPosition position(file, 15);
    EXPECT_EQ(position.notedSize(), 20u);

    uint8_t buffer[8] = {};
    ByteRange some{buffer, buffer + sizeof buffer};
    position.ReadSome(some);
    EXPECT_EQ(some.first, buffer + 5);
    EXPECT_EQ(position.position(), 20u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 5), content.substr(15));

    FileReadPosition fromStart(file, 0);
    std::string all(20, '\0');
    ByteRange exact{reinterpret_cast<uint8_t*>(&all[0]), reinterpret_cast<uint8_t*>(&all[0]) + 20};
    fromStart.ReadExactly(exact);
    EXPECT_EQ(all, content);

    FileReadPosition nearEnd(file, 12);
    uint8_t longer[9] = {};
    ByteRange tooLong{longer, longer + sizeof longer};
    EXPECT_THROW(nearEnd.ReadExactly(tooLong), EndOfFileError);
}

// ---- The two error tables ----

struct CodeGroup {
    std::vector<uint32_t> codes;
    const char* raised;
};

void ExpectTable(void (*raise)(uint32_t), const std::vector<CodeGroup>& table) {
    for (const CodeGroup& group : table) {
        for (uint32_t code : group.codes) {
            try {
                raise(code);
                ADD_FAILURE() << "code " << code << " raised nothing";
            } catch (const FileIOError& error) {
                EXPECT_STREQ(error.what(), group.raised) << "code " << code;
                EXPECT_EQ(error.errorCode, 0u) << "code " << code;
            }
        }
    }
}

void ExpectPlainFileIOError(void (*raise)(uint32_t), const std::vector<uint32_t>& codes) {
    for (uint32_t code : codes) {
        try {
            raise(code);
            ADD_FAILURE() << "code " << code << " raised nothing";
        } catch (const FileIOError& error) {
            EXPECT_EQ(typeid(error), typeid(FileIOError)) << "code " << code;
            EXPECT_EQ(error.errorCode, code);
        }
    }
}

const std::vector<uint32_t> kLockCodes = {33, 108, 167};
const std::vector<uint32_t> kPermissionCodes = {5,  12, 19, 29, 54,  58,  64, 65,
                                                71, 80, 82, 86, 170, 183, 999};

TEST(RaiseFileError, OpenTable) {
    EXPECT_NO_THROW(RaiseFileError(0));
    ExpectTable(
        RaiseFileError,
        {{{2, 6, 18, 107}, "FileNotFoundError"},
         {{3, 15, 17, 34, 52, 53, 55, 67, 70, 85, 111, 123, 124, 125, 144, 154, 161, 206, 208, 267},
          "DirectoryNotFoundError"},
         {kPermissionCodes, "FilePermissionError"},
         {kLockCodes, "FileLockError"},
         {{39, 112}, "DiskFullError"}});
    // A sharing violation, end of file and the seek codes are not named when opening.
    ExpectPlainFileIOError(RaiseFileError, {1, 4, 24, 32, 38, 131, 1000, 0xFFFFFFFFu});
    // The native stand-ins report too many open files with Windows' own code.
    ExpectPlainFileIOError(RaiseFileError, {platform::error::kTooManyOpenFiles});
}

TEST(RaiseReadError, ReadTable) {
    EXPECT_NO_THROW(RaiseReadError(0));
    std::vector<uint32_t> permission = kPermissionCodes;
    permission.push_back(32);
    ExpectTable(RaiseReadError, {{{38}, "EndOfFileError"},
                                 {{24, 25, 27, 30, 131, 132}, "FileSeekError"},
                                 {kLockCodes, "FileLockError"},
                                 {permission, "FilePermissionError"}});
    // The not-found and disk-full codes are not named when reading.
    ExpectPlainFileIOError(RaiseReadError, {1, 2, 3, 6, 39, 112, 206, 1000});
}

}  // namespace
