// Command lines and the names put into them, over any bytes. Input (NUL separated): an
// associations file, a file name, a template, a text the name is put after.
//   - The associations file is read and a matching command expanded for the name.
//   - The template is cut into commands and expanded with the name.
//   - The name written by shellWordAt after the text leaves the text's quoting as it was: the
//     same commands, the same open quote, nothing waiting for a next byte, and no "%".
#include "exec/command_template.h"

#include <string>

#include "exec/associations.h"
#include "exec/shell_words.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace corvane;
  fuzz::prepareProcess();
  const auto parts = fuzz::splitInput(fuzz::asText(data, size), '\0', 4);
  const std::string_view associations = parts[0], name = parts[1], templateText = parts[2],
                         before = parts[3];

  std::string command;
  if (findAssociationIn(fuzz::writeScratchFile("corvane.pre", associations), name, command) ==
      AssociationFound)
    expandPlaceholders(name, command, CommandLengthLimit, true);

  for (std::string_view piece : splitCommandLine(templateText)) {
    const TemplateExpansion expansion =
        expandPlaceholders(name, piece, CommandLengthLimit, piece.size() % 2 == 0);
    FUZZ_CHECK(!expansion.error.empty() ||
                   expansion.text.size() < static_cast<std::size_t>(CommandLengthLimit),
               piece);
  }

  if (!name.empty()) {
    const std::string word = shellWordAt(before, name);
    const ShellScan alone = scanShellText(before);
    const ShellScan joined = scanShellText(std::string(before) + word);
    const std::string detail = std::string(before) + " + " + word;
    FUZZ_CHECK(joined.separators == alone.separators, detail);
    FUZZ_CHECK(joined.quote == alone.quote && joined.inParameter == alone.inParameter, detail);
    FUZZ_CHECK(joined.quote != ShellQuote::Backquote ||
                   (joined.backquoteStart == alone.backquoteStart &&
                    joined.backquoteInDouble == alone.backquoteInDouble),
               detail);
    FUZZ_CHECK(!joined.escapePending && !joined.dollarPending, detail);
    FUZZ_CHECK(word.find('%') == std::string::npos, detail);
    FUZZ_CHECK(unquoteShellText(quoteForShell(name)) == name, name);
  }
  return 0;
}
