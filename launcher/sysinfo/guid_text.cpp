#include "launcher/sysinfo/guid_text.h"

namespace kovrin::sysinfo {
namespace {

constexpr std::uint64_t kFnvOffset = 0xcbf29ce484222325ull;
constexpr std::uint64_t kFnvPrime = 0x100000001b3ull;

std::uint64_t Fnv1a(std::uint64_t state, std::string_view text) {
  for (const char c : text) {
    state ^= static_cast<unsigned char>(c);
    state *= kFnvPrime;
  }
  return state;
}

void StoreBigEndian(std::uint64_t value, std::uint8_t* out) {
  for (int i = 7; i >= 0; --i) {
    out[i] = static_cast<std::uint8_t>(value & 0xff);
    value >>= 8;
  }
}

}  // namespace

std::string FormatGuid(const Uuid& bytes) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string text = "{";
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (i == 4 || i == 6 || i == 8 || i == 10) {
      text += '-';
    }
    text += kHex[bytes[i] >> 4];
    text += kHex[bytes[i] & 0xf];
  }
  return text + "}";
}

Uuid UuidFromName(std::string_view name) {
  const std::uint64_t high = Fnv1a(Fnv1a(kFnvOffset, "kovrin:"), name);
  const std::uint64_t low = Fnv1a(high, name);
  Uuid bytes{};
  StoreBigEndian(high, bytes.data());
  StoreBigEndian(low, bytes.data() + 8);
  return bytes;
}

}  // namespace kovrin::sysinfo
