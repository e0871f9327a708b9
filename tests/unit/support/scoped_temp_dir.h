#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <system_error>

// A fresh directory under the system's temp directory, removed with everything in it at the end
// of the test. Tests write the files they read here.
class ScopedTempDir {
  public:
    ScopedTempDir() {
        const std::filesystem::path base = std::filesystem::temp_directory_path();
        std::random_device random;
        do {
            path_ = base / ("zem_test_" + std::to_string(random()) + std::to_string(random()));
        } while (!std::filesystem::create_directory(path_));
    }
    ~ScopedTempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScopedTempDir(const ScopedTempDir&) = delete;
    ScopedTempDir& operator=(const ScopedTempDir&) = delete;

    // The path of `name` inside the directory, in the platform's own form.
    std::string PathOf(const std::string& name) const { return (path_ / name).string(); }

    // Writes `bytes` to a file named `name` and returns its path.
    std::string Write(const std::string& name, const std::string& bytes) const {
        const std::string path = PathOf(name);
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return path;
    }

    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};
