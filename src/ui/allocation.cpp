#include "ui/allocation.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

#include "platform/keyboard.h"
#include "platform/textf.h"
#include "ui/boxes.h"
#include "ui/hotkey_label.h"

namespace corvane {
namespace {

// Sizes above this cannot be had on any host; asking the allocator would only fail later.
constexpr std::size_t MaxBlock = PTRDIFF_MAX;

ZeroedBlock tryAllocate(std::size_t size) {
  if (size > MaxBlock) return nullptr;
  return ZeroedBlock(new (std::nothrow) std::uint8_t[size == 0 ? 1 : size]());
}

}  // namespace

void reportOutOfMemory(std::size_t size, AllocationKind kind) {
  if (reopenErrorWindow() != 0) return;
  printHotkeyLabel(3, 58, 1, OutOfMemoryText, LabelPad);
  printHotkeyLabel(
      2, 58, 4,
      textf(kind == AllocationKind::Resize ? OutOfMemoryResizeFormat : OutOfMemorySizeFormat,
            size));
  {
    SavedMouseZones callerZones(true);
    readRealKey();
  }
  closeErrorWindow();
}

ZeroedBlock allocateZeroed(std::size_t size) {
  ZeroedBlock block = tryAllocate(size);
  if (!block) reportOutOfMemory(size, AllocationKind::Allocate);
  return block;
}

ZeroedBlock allocateZeroedOrEnd(std::size_t size) {
  ZeroedBlock block = allocateZeroed(size);
  if (!block) std::exit(-1);
  return block;
}

bool reallocateZeroed(ZeroedBlock& block, std::size_t oldSize, std::size_t newSize) {
  ZeroedBlock resized = tryAllocate(newSize);
  if (!resized) {
    reportOutOfMemory(newSize, AllocationKind::Resize);
    return false;
  }
  if (block) std::memcpy(resized.get(), block.get(), oldSize < newSize ? oldSize : newSize);
  block = std::move(resized);
  return true;
}

}  // namespace corvane
