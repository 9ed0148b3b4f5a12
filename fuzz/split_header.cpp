// The split header over any bytes: what the reader accepts names one plain file and encodes to
// a header that reads back the same; a build from a first piece holding the bytes fails
// without a trace unless they are a header followed by at least as many bytes as it promises,
// and a build that succeeds gives exactly those bytes.
#include "tools/split_header.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "fuzz_support.h"
#include "tools/split_build.h"

namespace {

// The files the build left in a directory, read whole; the directory emptied.
std::vector<std::string> takeFiles(const std::filesystem::path& directory) {
  std::vector<std::string> contents;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(directory, error)) {
    std::ifstream in(entry.path(), std::ios::binary);
    contents.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  std::filesystem::remove_all(directory, error);
  std::filesystem::create_directory(directory, error);
  return contents;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace corvane;
  fuzz::prepareProcess();
  const std::string_view bytes = fuzz::asText(data, size);

  SplitHeader header;
  const bool valid = decodeSplitHeader(bytes, header);
  if (valid) {
    FUZZ_CHECK(plainFileName(header.name), header.name);
    FUZZ_CHECK(bytes.substr(SplitNameOffset, header.name.size()) == header.name, header.name);
    SplitHeaderBytes encoded;
    FUZZ_CHECK(encodeSplitHeader(header, encoded), header.name);
    SplitHeader again;
    FUZZ_CHECK(decodeSplitHeader(std::string_view(encoded.data(), encoded.size()), again),
               header.name);
    FUZZ_CHECK(again.name == header.name && again.size == header.size, header.name);
    FUZZ_CHECK(std::string_view(encoded.data(), 2) == bytes.substr(0, 2), header.name);
    FUZZ_CHECK(std::string_view(encoded.data() + SplitSizeOffset, 4) == bytes.substr(SplitSizeOffset, 4),
               header.name);
    FUZZ_CHECK(std::string_view(encoded.data() + SplitHighSizeOffset, 4) ==
                   bytes.substr(SplitHighSizeOffset, 4),
               header.name);
  }

  // A build writes files and draws boxes: it runs for every header and, to keep the rate of
  // executions up, for one in sixteen inputs that are none.
  if (!valid && size % 16 != 0) return 0;
  const std::filesystem::path out = fuzz::scratchHostPath("out");
  takeFiles(out);
  fuzz::writeScratchFile("IN.000", bytes);
  const int result = buildFile(fuzz::scratchProgramPath("IN.000"), fuzz::scratchProgramPath("out"));
  const std::vector<std::string> built = takeFiles(out);
  const std::uint64_t available = bytes.size() > SplitHeaderSize ? bytes.size() - SplitHeaderSize : 0;
  if (!valid || header.size > available) {
    FUZZ_CHECK(result == SplitFailed, bytes);
    FUZZ_CHECK(built.empty(), bytes);
  } else if (result == SplitDone) {
    FUZZ_CHECK(built.size() == 1, bytes);
    FUZZ_CHECK(built.front() == bytes.substr(SplitHeaderSize, header.size), bytes);
  } else {
    FUZZ_CHECK(built.empty(), bytes);
  }
  return 0;
}
