// The archiver definitions file over any bytes: reading never fails on a file that exists,
// each definition keeps to its limit and holds no zero byte or line break, at most eight are
// stored, and each line is reported at most once (the maximum once more). The DOS time and
// date formats keep their widths for any value.
#include "config/archiver_defs.h"

#include <algorithm>
#include <string>
#include <vector>

#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace corvane;
  fuzz::prepareProcess();
  const std::string_view text = fuzz::asText(data, size);
  const std::string path = fuzz::writeScratchFile("corvane.ASE", text);
  const std::size_t lines =
      static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1;

  for (std::string_view archive : {"a.zip", "B.LZH", "c.arj", "d.zoo", "README", "x.y.Jar"}) {
    ArchiverDefs defs;
    std::vector<std::string> problems;
    FUZZ_CHECK(readArchiverDefs(path, archive, defs, problems), archive);
    FUZZ_CHECK(defs.count >= 0 && defs.count <= ArchiverDefinitionCount, archive);
    FUZZ_CHECK(problems.size() <= lines + 1, archive);
    for (int i = 0; i < ArchiverDefinitionCount; ++i) {
      const std::string& definition = defs.definitions[static_cast<std::size_t>(i)];
      FUZZ_CHECK(definition.size() <= (i < 2 ? ArchiverProgramLimit : ArchiverOptionLimit),
                 definition);
      FUZZ_CHECK(definition.find_first_of(std::string_view("\0\n", 2)) == std::string::npos,
                 definition);
      FUZZ_CHECK(defs.found || definition.empty(), definition);
    }
  }

  std::uint16_t word = 0;
  for (std::size_t i = 0; i < std::min<std::size_t>(size, 2); ++i)
    word = static_cast<std::uint16_t>(word << 8 | data[i]);
  FUZZ_CHECK(formatDosTime(word).size() == 5, formatDosTime(word));
  FUZZ_CHECK(formatDosDate(word).size() == 10, formatDosDate(word));
  return 0;
}
