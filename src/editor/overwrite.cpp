#include "editor/overwrite.h"

#include "fileops/copy_engine.h"

namespace corvane {

bool confirmReplaceExisting(std::string_view source, std::string_view destination) {
  const int answer = confirmOverwrite(source, destination, ConfirmIfExists, false);
  return answer == AnswerYes || answer == AnswerAll;
}

}  // namespace corvane
