#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <typeinfo>

#include "io/file_errors.h"
#include "io/file_reading.h"
#include "platform/handles_win.h"
#include "support/scoped_temp_dir.h"

namespace {

TEST(FileReadingPath, FileHeldWithoutReadSharingIsAPlainFileIOError) {
    ScopedTempDir dir;
    const std::string path = dir.Write("locked.bin", "locked");
    const ScopedKernelHandle holder(::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr,
                                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_NE(holder.get(), INVALID_HANDLE_VALUE);
    try {
        FileReadingPath file(path.c_str());
        ADD_FAILURE() << "opened a file held without read sharing";
    } catch (const FileIOError& error) {
        EXPECT_EQ(typeid(error), typeid(FileIOError));
        EXPECT_EQ(error.errorCode, 32u);
        EXPECT_STREQ(error.what(), "FileIOError");
    }
}

}  // namespace
