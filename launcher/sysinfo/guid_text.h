// GUID texts for adapters and devices.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kovrin::sysinfo {

using Uuid = std::array<std::uint8_t, 16>;

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", upper-case hex, the bytes in the
// order they are stored (a Vulkan UUID reads the same here as in other tools).
std::string FormatGuid(const Uuid& bytes);

// A stable identifier for something the platform names only by a string (an
// EGL device's DRM file, the software renderer's extension name): two 64-bit
// FNV-1a hashes of "kovrin:" + name, the second continuing from the first.
// The same name gives the same GUID on every machine and every run.
Uuid UuidFromName(std::string_view name);

}  // namespace kovrin::sysinfo
