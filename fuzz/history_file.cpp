// The input history file over any bytes: the stored layout decodes to at most 500 entries of
// at most 261 bytes, encoding them and decoding again gives the same entries, and the file
// read through the history gives what decoding the bytes gives.
#include <string>

#include "fuzz_support.h"
#include "ui/input_history.h"

namespace {

bool sameEntries(const std::vector<corvane::HistoryEntry>& a,
                 const std::vector<corvane::HistoryEntry>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (a[i].text != b[i].text || a[i].kind != b[i].kind) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace corvane;
  fuzz::prepareProcess();
  const std::string_view image = fuzz::asText(data, size);

  const std::vector<HistoryEntry> entries = decodeHistory(image);
  FUZZ_CHECK(entries.size() <= static_cast<std::size_t>(HistoryCapacity), image);
  for (const HistoryEntry& entry : entries)
    FUZZ_CHECK(entry.text.size() <= HistoryTextLimit, image);
  FUZZ_CHECK(sameEntries(decodeHistory(encodeHistory(entries)), entries), image);

  resetHistory();
  setHistoryFilePath(fuzz::writeScratchFile("history._C_", image));
  std::vector<HistoryEntry> read;
  for (int i = 0; i < historyCount(); ++i) read.push_back(historyEntry(i));
  FUZZ_CHECK(sameEntries(read, entries), image);
  resetHistory();
  return 0;
}
