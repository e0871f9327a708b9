#pragma once

// Request bytes held in memory, read through the same text-mode stand-in the native build uses
// for standard input, so the fuzzers see exactly what the readers see.

#include <cstddef>
#include <cstdio>
#include <memory>

#include "platform/platform.h"

namespace platform {
// Takes over a stream open for reading and closes it with the input (request_input_native.cpp).
std::unique_ptr<RequestInput> AdoptRequestStream(std::FILE* file);
}  // namespace platform

// The bytes must outlive the input. Never null: an empty range reads as an empty stream.
std::unique_ptr<platform::RequestInput> OpenRequestMemory(const void* bytes, size_t size);

// Ends the run with a message when an invariant does not hold; libFuzzer keeps the input.
#define FUZZ_CHECK(condition)                                              \
    do {                                                                   \
        if (!(condition)) FuzzCheckFailed(#condition, __FILE__, __LINE__); \
    } while (false)

[[noreturn]] void FuzzCheckFailed(const char* condition, const char* file, int line);
