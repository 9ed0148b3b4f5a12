// Zero-filled memory blocks with the out-of-memory report: when memory cannot be had the
// error window says so ("Memory allocation error !, Program abort" and the size) and waits for
// a key; then the caller gets an empty block and gives up its operation, or, with the ending
// variant, the program ends with exit status -1 (255).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

namespace corvane {

constexpr std::string_view OutOfMemoryText = "\nMemory allocation error !, Program abort";
constexpr const char* OutOfMemorySizeFormat = "Bytes %zu";
constexpr const char* OutOfMemoryResizeFormat = " Bytes %zu";

using ZeroedBlock = std::unique_ptr<std::uint8_t[]>;

// size bytes set to zero, or an empty block after the report.
ZeroedBlock allocateZeroed(std::size_t size);
// The same, but the program ends after the report.
ZeroedBlock allocateZeroedOrEnd(std::size_t size);
// Resizes a block of oldSize bytes to newSize; the added bytes are zero. On failure the report
// (" Bytes %zu") is shown, the block stays as it was and the result is false.
bool reallocateZeroed(ZeroedBlock& block, std::size_t oldSize, std::size_t newSize);

enum class AllocationKind { Allocate, Resize };
// Shows the out-of-memory report in the error window and waits for a key.
void reportOutOfMemory(std::size_t size, AllocationKind kind);

}  // namespace corvane
