#include "syntax/syntax_state.h"

namespace corvane {
namespace {

SyntaxState& instance() {
  static SyntaxState state;
  return state;
}

}  // namespace

SyntaxState& syntaxState() { return instance(); }

void resetSyntaxState() { instance() = SyntaxState{}; }

}  // namespace corvane
