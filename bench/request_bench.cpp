// Reading a "PROGRESS" request whose message is 64 MiB, from a file through the native text-mode
// input, the way the product reads its standard input.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "protocol/progress_request.h"
#include "protocol/request_start.h"

namespace {

constexpr size_t kMessageBytes = 64u << 20;

class RequestFile {
  public:
    RequestFile() {
        const char* directory = std::getenv("TMPDIR");
        path_ = std::string(directory ? directory : "/tmp") + "/zem-bench-XXXXXX";
        const int descriptor = mkstemp(path_.data());
        std::FILE* file = fdopen(descriptor, "wb");
        const std::string head =
            "UI 1.2\r\nPROGRESS\r\nTITLE:5\nTitleMESSAGE:" + std::to_string(kMessageBytes) + "\n";
        std::fwrite(head.data(), 1, head.size(), file);
        const std::string line(1023, 'm');
        for (size_t written = 0; written < kMessageBytes; written += line.size() + 1) {
            std::fwrite(line.data(), 1, line.size(), file);
            std::fputc('\n', file);
        }
        std::fclose(file);
    }
    ~RequestFile() { std::remove(path_.c_str()); }
    const char* path() const { return path_.c_str(); }

  private:
    std::string path_;
};

void ReadLargeRequest(benchmark::State& state) {
    const RequestFile file;
    static char buffer[kRequestBufferSize];
    for (auto _ : state) {
        const auto input = platform::OpenRequestFile(file.path());
        const RequestStart start = ReadRequestStart(*input, buffer);
        const ProgressRequestResult result = ReadProgressRequest(*input, start.flagText);
        if (start.error != nullptr || result.error != nullptr) state.SkipWithError("rejected");
        benchmark::DoNotOptimize(result.request.message.get());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kMessageBytes));
}

}  // namespace

BENCHMARK(ReadLargeRequest)->Unit(benchmark::kMillisecond)->MinTime(2.0);
