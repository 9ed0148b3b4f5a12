#include "platform/win32/system_compat.h"

#include <string.h>

extern "C" void* memmem(const void* haystack, size_t haystackLength, const void* needle,
                        size_t needleLength) {
  if (needleLength == 0) return const_cast<void*>(haystack);
  if (haystackLength < needleLength) return nullptr;
  const unsigned char* data = static_cast<const unsigned char*>(haystack);
  const unsigned char* pattern = static_cast<const unsigned char*>(needle);
  const unsigned char* last = data + (haystackLength - needleLength);
  for (const unsigned char* at = data; at <= last;) {
    const void* first = memchr(at, pattern[0], static_cast<size_t>(last - at) + 1);
    if (first == nullptr) return nullptr;
    at = static_cast<const unsigned char*>(first);
    if (memcmp(at, pattern, needleLength) == 0) return const_cast<unsigned char*>(at);
    ++at;
  }
  return nullptr;
}
