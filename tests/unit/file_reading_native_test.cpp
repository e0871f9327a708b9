#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "io/file_errors.h"
#include "io/file_reading.h"
#include "support/scoped_temp_dir.h"

namespace {

size_t OpenDescriptors() {
    size_t count = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        (void)entry;
        ++count;
    }
    return count;
}

// Counted in the process's descriptor table: reopening must not leave the first file open.
TEST(FileReadingPath, OpeningAgainClosesTheFileHeld) {
    ScopedTempDir dir;
    const std::string path = dir.Write("a.bin", "abc");
    FileReadingPath file(path.c_str());
    const size_t held = OpenDescriptors();
    file.Open(path.c_str());
    EXPECT_EQ(OpenDescriptors(), held);
}

// Windows refuses to shorten a file that is open without write sharing, so only a POSIX system
// can shrink it under the loop.
TEST(FileReadingLoop, FileShrinkingUnderTheLoopRaisesInsteadOfSpinning) {
    ScopedTempDir dir;
    const std::string path = dir.Write("shrinks.bin", std::string(5000, 'x'));
    FileReadingPath file(path.c_str());
    uint8_t buffer[kFileChunkSize];
    FileReadingLoop loop(file, ByteRange{buffer, buffer + sizeof buffer}, 0);
    ASSERT_TRUE(loop.HasMore());
    EXPECT_EQ(loop.chunk().last - loop.chunk().first, 2048);
    std::filesystem::resize_file(path, 2048);
    EXPECT_THROW(loop.Advance(), FileReadingLoopEndOfFileError);
}

}  // namespace
