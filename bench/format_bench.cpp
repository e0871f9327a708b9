// Localize and FormatDuration against fmt::format writing the same text. Each benchmark checks
// once that both sides agree, so the comparison is between equal work.

#include <benchmark/benchmark.h>
#include <fmt/format.h>

#include <cstdint>
#include <string>

#include "format/date_time_format.h"
#include "format/template.h"
#include "format/time_units.h"

namespace {

constexpr int64_t kMicrosecondsPerHour = 3600 * kMicrosecondsPerSecond;
// 2 days, 03:04:05: the longest duration template, with every clock digit.
constexpr int64_t kDuration =
    (2 * 24 + 3) * kMicrosecondsPerHour + (4 * 60 + 5) * kMicrosecondsPerSecond;

std::string FmtDuration(int64_t microseconds) {
    const int64_t seconds = microseconds / kMicrosecondsPerSecond;
    const int64_t days = seconds / 86400;
    const int64_t clock = seconds % 86400;
    return fmt::format("{} days, {:02}:{:02}:{:02}", days, clock / 3600, clock / 60 % 60,
                       clock % 60);
}

void LocalizeAction(benchmark::State& state) {
    const FormatTemplate text = MakeTemplate(" Action {x} of {y}");
    if (std::string(Localize(text, "3", "12").c_str()) != fmt::format(" Action {} of {}", 3, 12)) {
        state.SkipWithError("texts differ");
    }
    for (auto _ : state) {
        Utf8Text result = Localize(text, "3", "12");
        benchmark::DoNotOptimize(result.first());
    }
}

void FmtAction(benchmark::State& state) {
    for (auto _ : state) {
        std::string result = fmt::format(" Action {} of {}", 3, 12);
        benchmark::DoNotOptimize(result.data());
    }
}

void FormatDurationDays(benchmark::State& state) {
    if (std::string(FormatDuration(kDuration).c_str()) != FmtDuration(kDuration)) {
        state.SkipWithError("texts differ");
    }
    for (auto _ : state) {
        Utf8Text result = FormatDuration(kDuration);
        benchmark::DoNotOptimize(result.first());
    }
}

void FmtDurationDays(benchmark::State& state) {
    for (auto _ : state) {
        std::string result = FmtDuration(kDuration);
        benchmark::DoNotOptimize(result.data());
    }
}

}  // namespace

BENCHMARK(LocalizeAction);
BENCHMARK(FmtAction);
BENCHMARK(FormatDurationDays);
BENCHMARK(FmtDurationDays);
