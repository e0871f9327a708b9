#include <cstdio>
#include <memory>

#include "zemuictl/binary_output.h"

bool ReadWholeFile(const std::string& path, std::string& bytes) {
    std::unique_ptr<FILE, int (*)(FILE*)> owned(nullptr, std::fclose);
    FILE* file = stdin;
    if (path != "-") {
        owned.reset(std::fopen(path.c_str(), "rb"));
        file = owned.get();
        if (file == nullptr) return false;
    }
    char buffer[65536];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, got);
    return std::ferror(file) == 0;
}
