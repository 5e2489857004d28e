// The settings syntax on arbitrary bytes: whatever config.cfg holds, reading
// it must neither crash nor read outside the text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "framework/settings_file.h"

using kovrin::framework::JoinTextLines;
using kovrin::framework::ParseSettingsInto;
using kovrin::framework::ProgramProfile;
using kovrin::framework::SaturatingAtoi;
using kovrin::framework::SettingsRecord;

namespace {
const ProgramProfile kFuzzProfile{"T", "P  ", "x", "", 1, 2, 3, false};
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  SettingsRecord settings;
  std::string title;
  ParseSettingsInto(JoinTextLines(bytes), kFuzzProfile, settings, title);
  SaturatingAtoi(bytes);
  return 0;
}
