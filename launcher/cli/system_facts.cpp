#include "launcher/cli/system_facts.h"

#include <sys/utsname.h>

#include <fstream>
#include <sstream>

#include "launcher/sysinfo/platform_error.h"

namespace kovrin::cli {
namespace {

constexpr std::string_view kOpenGlPrefix = "OpenGL ";

std::string Trimmed(std::string_view text) {
  const std::size_t begin = text.find_first_not_of(" \t");
  if (begin == std::string_view::npos) return {};
  const std::size_t end = text.find_last_not_of(" \t\r");
  return std::string(text.substr(begin, end - begin + 1));
}

// The value of the first "key : value" line whose key is `key`.
std::string CpuinfoValue(std::string_view cpuinfo, std::string_view key) {
  std::istringstream lines{std::string(cpuinfo)};
  for (std::string line; std::getline(lines, line);) {
    const std::size_t colon = line.find(':');
    if (colon != std::string::npos && Trimmed(std::string_view(line).substr(0, colon)) == key) {
      return Trimmed(std::string_view(line).substr(colon + 1));
    }
  }
  return {};
}

std::string KernelRelease() {
  utsname names{};
  return ::uname(&names) == 0 ? std::string(names.release) : std::string();
}

// A processor's description is a few lines; a huge or endless file is not read whole.
std::string ProcCpuinfo() {
  std::ifstream in("/proc/cpuinfo");
  std::string text(64 * 1024, '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<std::size_t>(in.gcount()));
  return text;
}

}  // namespace

SystemFacts GatherSystemFacts(kovrin::sysinfo::Provider& provider, std::string_view renderer) {
  SystemFacts facts;
  try {
    for (const kovrin::sysinfo::AdapterIdentity& identity : provider.Adapters()) {
      AdapterFacts& adapter = facts.adapters.emplace_back();
      adapter.identity = identity;
      adapter.caps = provider.Caps(identity.guid);
      const std::size_t count = provider.DeviceCount(identity.guid);
      for (std::size_t i = 0; i < count; ++i) adapter.devices.push_back(provider.Device(identity.guid, i));
      adapter.modes = provider.Modes(identity.guid);
    }
  } catch (const kovrin::sysinfo::PlatformError& error) {
    facts.error = "Error " + std::to_string(error.number()) + ": " + error.what();
  }
  facts.driver = DriverVersion(facts.adapters, renderer);
  facts.kernel = KernelRelease();
  facts.cpu = CpuModel(ProcCpuinfo());
  return facts;
}

std::string DriverVersion(const std::vector<AdapterFacts>& adapters, std::string_view renderer) {
  std::string first;
  for (const AdapterFacts& adapter : adapters) {
    for (const kovrin::sysinfo::DeviceDesc& device : adapter.devices) {
      if (!device.name.starts_with(kOpenGlPrefix)) continue;
      const std::string version = device.name.substr(kOpenGlPrefix.size());
      if (!renderer.empty() && device.description == renderer) return version;
      if (first.empty()) first = version;
    }
  }
  return first;
}

std::string CpuModel(std::string_view cpuinfo) {
  for (const std::string_view key : {"model name", "Hardware", "Model"}) {
    std::string value = CpuinfoValue(cpuinfo, key);
    if (!value.empty()) return value;
  }
  return {};
}

}  // namespace kovrin::cli
