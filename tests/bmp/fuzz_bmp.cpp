// Arbitrary bytes into the decoder: it must neither crash nor touch memory
// outside the file and the picture it returns, and its answer must be whole.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "framework/bmp_decoder.h"

using kovrin::framework::BmpError;
using kovrin::framework::BmpResult;
using kovrin::framework::DecodeBmp;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // A lower limit than the programs' keeps every input fast; the paths taken
  // are the same, only "Out of memory." comes sooner.
  const BmpResult result = DecodeBmp(std::span<const uint8_t>(data, size), uint64_t{1} << 24);
  if (!result.image) {
    if (result.error == BmpError::None || result.error == BmpError::OpenFailed) std::abort();
    return 0;
  }
  const ImageRecord& image = *result.image;
  if (result.error != BmpError::None || image.width <= 0 || image.height <= 0 || !image.pixels) {
    std::abort();
  }
  // The sanitizer checks that the buffer really holds width * height * 3 bytes.
  const size_t last = static_cast<size_t>(image.width) * static_cast<size_t>(image.height) * 3 - 1;
  volatile uint8_t sink = static_cast<uint8_t>(image.pixels[0] ^ image.pixels[last]);
  (void)sink;
  return 0;
}
