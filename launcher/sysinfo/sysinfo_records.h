// The records the system report is written from, one set per display adapter.
//
// They keep the shape of the classic adapter/capability/device/mode records so
// that the report's lines map one to one onto fields and flag bits. Figures a
// platform cannot tell are left empty rather than guessed; the report then
// leaves their lines out.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kovrin::sysinfo {

// Palette capability bits (AdapterCaps::palCaps).
inline constexpr std::uint32_t kPalCaps1Bit = 0x100;
inline constexpr std::uint32_t kPalCaps2Bit = 0x200;
inline constexpr std::uint32_t kPalCaps8Bit = 0x4;
inline constexpr std::uint32_t kPalCaps8BitEntries = 0x2;
inline constexpr std::uint32_t kPalCapsAllow256 = 0x40;

// Bit-depth bits (DeviceDesc::renderBitDepth and zBufferBitDepth).
inline constexpr std::uint32_t kDepth8 = 0x800;
inline constexpr std::uint32_t kDepth16 = 0x400;
inline constexpr std::uint32_t kDepth24 = 0x200;
inline constexpr std::uint32_t kDepth32 = 0x100;

// Device capability bits (DeviceDesc::devCaps).
inline constexpr std::uint32_t kDevCapsTextureNonLocalVidMem = 0x1000;
inline constexpr std::uint32_t kDevCapsSortDecreasingZ = 0x4;
inline constexpr std::uint32_t kDevCapsSortExact = 0x8;
inline constexpr std::uint32_t kDevCapsSortIncreasingZ = 0x2;
inline constexpr std::uint32_t kDevCapsTextureVideoMemory = 0x200;

struct AdapterIdentity {
  std::string guid;         // "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"
  std::string description;  // the device's name
  std::string driverName;   // the kernel driver, or the user-space driver without one
};

// Each figure is empty when nothing was asked (no X display, or an adapter
// that does not show the X screen): "no palette" would be a guess then.
struct AdapterCaps {
  std::optional<std::uint64_t> vidMemTotal;  // bytes
  std::optional<std::uint64_t> vidMemFree;   // bytes
  std::optional<std::uint32_t> palCaps;
  std::optional<bool> canCalibrateGamma;
};

struct DeviceDesc {
  std::string guid;
  std::string description;
  std::string name;
  std::uint32_t devCaps = 0;
  std::uint32_t renderBitDepth = 0;
  std::uint32_t zBufferBitDepth = 0;
  std::uint32_t maxTextureWidth = 0;
  std::uint32_t maxTextureHeight = 0;
};

struct DisplayMode {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::optional<std::uint32_t> bitsPerPixel;
  std::uint32_t refreshRate = 0;  // hertz; 0 = the display's default rate
};

}  // namespace kovrin::sysinfo
