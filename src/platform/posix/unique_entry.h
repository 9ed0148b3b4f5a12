// Entries made under a name no other entry has, beside the name they are for, and moved over
// it in one rename once they are complete. Back end only.
#pragma once

#include <stdio.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <string>
#include <string_view>

#include "platform/file_result.h"

namespace corvane {

constexpr int UniqueEntryAttempts = 100;
// Bytes of the name kept in the name of an entry made beside it.
constexpr std::size_t UniqueEntryNameKept = 200;

// A name beside host that no entry in this process was given yet: dir/.name.cvXXXXXXXX.
inline std::string uniqueNameBeside(std::string_view host) {
  static std::atomic<unsigned> counter{0};
  static const auto seed = static_cast<unsigned>(
      std::chrono::steady_clock::now().time_since_epoch().count() ^ (getpid() << 16));
  char suffix[16];
  std::snprintf(suffix, sizeof suffix, ".cv%08x", seed + counter++ * 2654435761u);
  const std::size_t slash = host.rfind('/');
  const std::string_view directory = slash == std::string_view::npos ? "." : host.substr(0, slash);
  const std::string_view name = host.substr(slash == std::string_view::npos ? 0 : slash + 1);
  return std::string(directory == "/" ? "" : directory) + "/." +
         std::string(name.substr(0, UniqueEntryNameKept)) + suffix;
}

// Makes an entry beside host with make(candidate), which returns 0 or -1 with errno set
// (EEXIST tries the next name). made receives its name.
template <typename Make>
FileResult makeBeside(std::string_view host, std::string& made, Make make) {
  for (int attempt = 0; attempt < UniqueEntryAttempts; ++attempt) {
    made = uniqueNameBeside(host);
    if (make(made.c_str()) == 0) return fileSuccess();
    if (errno != EEXIST) return fileFailure(errno);
  }
  return fileFailure(EEXIST);
}

// Makes an entry beside host and renames it over host, which it replaces in one step; the
// entry made goes again when the rename fails.
template <typename Make>
FileResult makeOver(const std::string& host, Make make) {
  std::string made;
  if (FileResult r = makeBeside(host, made, make); !r) return r;
  if (rename(made.c_str(), host.c_str()) == 0) return fileSuccess();
  const FileResult result = fileFailure(errno);
  unlink(made.c_str());
  return result;
}

}  // namespace corvane
