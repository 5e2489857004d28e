// Facts the kernel publishes as text: available memory and the display modes
// of its connectors. The folders are parameters so tests can lay out their own.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "launcher/sysinfo/sysinfo_records.h"

namespace kovrin::sysinfo {

// MemAvailable of a /proc/meminfo text, in bytes.
std::optional<std::uint64_t> ParseMemAvailable(std::string_view meminfo);
std::optional<std::uint64_t> ReadMemAvailable(const std::filesystem::path& meminfo = "/proc/meminfo");

// A line of a connector's "modes" file: "1920x1080", or "1920x1080i" for an
// interlaced mode. The kernel gives no rate there, so the rate stays 0.
std::optional<DisplayMode> ParseKernelModeName(std::string_view line);

// The display devices ("card0", "card1", ...) under the DRM class folder, sorted.
std::vector<std::string> KernelCards(const std::filesystem::path& drmClass = "/sys/class/drm");

// Whether the card is the one the firmware booted on (its "boot_vga" is 1).
bool IsBootVga(const std::string& card, const std::filesystem::path& drmClass = "/sys/class/drm");

// The modes of all connectors of one card, connectors in name order, each mode
// name once (without a rate, repeated names would print identical entries).
// Bits per pixel come from the card's framebuffer console where it has one.
std::vector<DisplayMode> KernelModesOfCard(const std::string& card,
                                           const std::filesystem::path& drmClass = "/sys/class/drm");

}  // namespace kovrin::sysinfo
