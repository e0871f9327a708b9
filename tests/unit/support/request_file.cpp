#include "support/request_file.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>

#ifdef _WIN32
#include <process.h>
#define ZEM_GETPID _getpid
#else
#include <unistd.h>
#define ZEM_GETPID getpid
#endif

namespace {
std::atomic<unsigned> requestFileCounter{0};
long ProcessId() {
    return static_cast<long>(ZEM_GETPID());
}
}  // namespace

RequestFile::RequestFile(const std::string& bytes) {
    const auto directory = std::filesystem::temp_directory_path();
    // Parameterised test names hold '/', so the name is made of a process id and a counter.
    path_ = (directory / ("zem_request_" + std::to_string(ProcessId()) + "_" +
                          std::to_string(requestFileCounter++)))
                .string();
    std::ofstream(path_, std::ios::binary).write(bytes.data(), bytes.size());
    input_ = platform::OpenRequestFile(path_.c_str());
    if (!input_) ADD_FAILURE() << "cannot open " << path_;
}

RequestFile::~RequestFile() {
    input_.reset();
    std::remove(path_.c_str());
}
