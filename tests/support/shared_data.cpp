#include "tests/support/shared_data.h"

#include <cstdio>
#include <cstdlib>

namespace fs = std::filesystem;

namespace kovrin::test {

fs::path SharedDir() {
  if (const char* value = std::getenv("KOVRIN_SHARED_DIR"); value != nullptr && *value != '\0') {
    return fs::path(value);
  }
  return (fs::path(KOVRIN_SOURCE_DIR) / ".." / "shared").lexically_normal();
}

fs::path SharedPath(std::string_view relative) { return SharedDir() / fs::path(relative); }

std::string MissingShared(std::string_view relative) {
  const fs::path path = SharedPath(relative);
  std::error_code ignored;
  if (fs::exists(path, ignored)) return {};
  const std::string reason =
      "the shared test data " + path.string() + " is absent (KOVRIN_SHARED_DIR names another folder holding it)";
  std::printf("SKIPPED: %s\n", reason.c_str());
  std::fflush(stdout);
  return reason;
}

}  // namespace kovrin::test
