// A provider that answers from records set up by the test, counts what it was
// asked, and can fail at a chosen point like a platform call.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "launcher/sysinfo/platform_error.h"
#include "launcher/sysinfo/sysinfo_provider.h"

namespace kovrin::sysinfo::testing {

struct FakeAdapter {
  AdapterIdentity identity;
  AdapterCaps caps;
  std::vector<DeviceDesc> devices;
  std::vector<DisplayMode> modes;
};

class FakeProvider : public Provider {
 public:
  explicit FakeProvider(std::vector<FakeAdapter> adapters = {}) : adapters_(std::move(adapters)) {}

  // The call ("Adapters", "Caps", "DeviceCount", "Device", "Modes") that throws
  // a PlatformError on its n-th use (1-based).
  void FailAt(const std::string& call, int nth) {
    failCall_ = call;
    failNth_ = nth;
  }

  std::vector<AdapterIdentity> Adapters() override {
    Count("Adapters");
    std::vector<AdapterIdentity> out;
    for (const FakeAdapter& adapter : adapters_) {
      out.push_back(adapter.identity);
    }
    return out;
  }
  AdapterCaps Caps(const std::string& guid) override {
    Count("Caps");
    return Find(guid).caps;
  }
  std::size_t DeviceCount(const std::string& guid) override {
    Count("DeviceCount");
    return Find(guid).devices.size();
  }
  DeviceDesc Device(const std::string& guid, std::size_t index) override {
    Count("Device");
    return Find(guid).devices.at(index);
  }
  std::vector<DisplayMode> Modes(const std::string& guid) override {
    Count("Modes");
    return Find(guid).modes;
  }

  std::map<std::string, int> calls;
  std::vector<std::string> guidsAsked;

 private:
  void Count(const std::string& call) {
    if (++calls[call] == failNth_ && call == failCall_) {
      throw PlatformError(-4, call + " failed");
    }
  }
  const FakeAdapter& Find(const std::string& guid) {
    guidsAsked.push_back(guid);
    for (const FakeAdapter& adapter : adapters_) {
      if (adapter.identity.guid == guid) {
        return adapter;
      }
    }
    throw PlatformError(0, "unknown GUID " + guid);
  }

  std::vector<FakeAdapter> adapters_;
  std::string failCall_;
  int failNth_ = 0;
};

}  // namespace kovrin::sysinfo::testing
