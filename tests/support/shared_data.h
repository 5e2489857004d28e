// The data shared beside the checkout (the BMP suite, the dummy X server's
// configuration): found in one place, and a test that needs what is absent
// is reported skipped, never passed.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace kovrin::test {

// $KOVRIN_SHARED_DIR when set, else the folder "shared" beside the project
// root.
std::filesystem::path SharedDir();

// `relative` within SharedDir().
std::filesystem::path SharedPath(std::string_view relative);

// Empty when SharedPath(relative) exists; otherwise why a test needing it
// cannot run, already printed as "SKIPPED: <reason>" on standard output
// (the line CTest looks for to report the test skipped).
std::string MissingShared(std::string_view relative);

}  // namespace kovrin::test

// In a GoogleTest body or SetUp: skips the test, saying why, when the shared
// data `relative` is absent.
#define KOVRIN_SKIP_WITHOUT_SHARED(relative)                                         \
  do {                                                                               \
    const std::string kovrinMissingShared = ::kovrin::test::MissingShared(relative); \
    if (!kovrinMissingShared.empty()) GTEST_SKIP() << kovrinMissingShared;           \
  } while (false)
