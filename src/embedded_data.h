// The default files of data/ compiled into the program.
#pragma once

#include <cstddef>

namespace corvane {

struct EmbeddedFile {
  const char* name;  // file name in data/; nullptr ends the table
  const unsigned char* bytes;
  std::size_t size;
};

extern const EmbeddedFile embeddedFiles[];

}  // namespace corvane
