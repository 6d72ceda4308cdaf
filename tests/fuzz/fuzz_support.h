// What every fuzz target shares: its entry point, its input as text, and the check that stops the
// run (the fuzzer keeps the input that did it) when a reader breaks one of its promises.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#define FUZZ_TARGET extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)

inline void Require(bool holds) {
    if (!holds) __builtin_trap();
}

inline std::string FuzzText(const uint8_t* data, size_t size) { return {reinterpret_cast<const char*>(data), size}; }
