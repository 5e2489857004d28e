#include "tests/scenes/scene_fixture.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace kovrin::test::scenes {

namespace {

void PutLe(std::string& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFFu);
}

constexpr int kGlyphs = 42;
const char* const kBlackGlyph = "black_glyph";

}  // namespace

std::string ToString(const Rgb& c) {
  return "(" + std::to_string(c.r) + ", " + std::to_string(c.g) + ", " + std::to_string(c.b) + ")";
}

std::string SolidBmp(int width, int height, const Rgb& colour) {
  const uint32_t stride = (static_cast<uint32_t>(width) * 3u + 3u) & ~3u;
  const uint32_t imageBytes = stride * static_cast<uint32_t>(height);
  std::string bmp = "BM";
  PutLe(bmp, 14 + 40 + imageBytes, 4);
  PutLe(bmp, 0, 4);
  PutLe(bmp, 14 + 40, 4);
  PutLe(bmp, 40, 4);
  PutLe(bmp, static_cast<uint32_t>(width), 4);
  PutLe(bmp, static_cast<uint32_t>(height), 4);
  PutLe(bmp, 1, 2);   // planes
  PutLe(bmp, 24, 2);  // bits per pixel
  PutLe(bmp, 0, 4);   // no compression
  PutLe(bmp, imageBytes, 4);
  PutLe(bmp, 2835, 4);
  PutLe(bmp, 2835, 4);
  PutLe(bmp, 0, 4);
  PutLe(bmp, 0, 4);
  for (int y = 0; y < height; ++y) {
    std::string row;
    for (int x = 0; x < width; ++x) {
      row += static_cast<char>(colour.b);  // stored blue, green, red
      row += static_cast<char>(colour.g);
      row += static_cast<char>(colour.r);
    }
    row.resize(stride, '\0');
    bmp += row;
  }
  return bmp;
}

std::vector<uint8_t> SolidPixels(int width, int height, const Rgb& colour) {
  std::vector<uint8_t> pixels;
  for (int i = 0; i < width * height; ++i) {
    pixels.push_back(static_cast<uint8_t>(colour.r));
    pixels.push_back(static_cast<uint8_t>(colour.g));
    pixels.push_back(static_cast<uint8_t>(colour.b));
  }
  return pixels;
}

RunFolder::RunFolder(const std::vector<NamedTexture>& textures) {
  const fs::path data = folder_ / "data";
  fs::create_directory(data);
  for (const NamedTexture& t : textures) {
    WriteFile(data / (t.name + ".tex"), SolidBmp(kTextureSide, kTextureSide, t.colour));
  }
  WriteFile(data / (std::string(kBlackGlyph) + ".tex"), SolidBmp(2, 2, Rgb{0, 0, 0}));
  std::string font = "{" + std::to_string(kGlyphs) + "}{";
  for (int i = 0; i < kGlyphs; ++i) font += std::string(kBlackGlyph) + ";";
  font += "}\r\n";
  WriteFile(folder_ / "default.fnt", font);
}

kovrin::test::RunOptions ProbeRun(const std::string& program, const std::string& folder, int width, int height,
                                  int frames) {
  kovrin::test::RunOptions o;
  o.program = program;
  o.folder = folder;
  o.withData = false;
  o.config = kovrin::test::ConfigText(width, height, 32);
  o.timeoutSeconds = 60;
  o.env.emplace_back("LD_PRELOAD", KOVRIN_FRAME_PROBE_LIB);
  o.env.emplace_back("KOVRIN_QUIT_AFTER_FRAMES", std::to_string(frames));
  return o;
}

void AddRecorder(kovrin::test::RunOptions& options, const std::string& traceFile, int frames) {
  for (auto& [name, value] : options.env) {
    // The recorder first: it hands each swap on to the probe behind it.
    if (name == "LD_PRELOAD") value = std::string(KOVRIN_GLTRACE_LIB) + ":" + value;
  }
  options.env.emplace_back("KOVRIN_GLTRACE", traceFile);
  options.env.emplace_back("KOVRIN_GLTRACE_FRAMES", std::to_string(frames));
}

void AddFrameGrab(kovrin::test::RunOptions& options, const std::string& ppmFile, int frame) {
  options.env.emplace_back("KOVRIN_FRAMEGRAB", ppmFile);
  options.env.emplace_back("KOVRIN_FRAMEGRAB_FRAME", std::to_string(frame));
}

std::optional<Picture> ReadPpm(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string magic;
  int maxValue = 0;
  Picture p;
  if (!(in >> magic >> p.width >> p.height >> maxValue) || magic != "P6" || maxValue != 255) return std::nullopt;
  if (p.width <= 0 || p.height <= 0) return std::nullopt;
  in.get();  // the one white-space byte before the pixels
  const std::size_t count = static_cast<std::size_t>(p.width) * static_cast<std::size_t>(p.height);
  std::vector<unsigned char> bytes(count * 3);
  if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()))) {
    return std::nullopt;
  }
  p.pixels.reserve(count);
  for (std::size_t i = 0; i < count; ++i) p.pixels.push_back(Rgb{bytes[3 * i], bytes[3 * i + 1], bytes[3 * i + 2]});
  return p;
}

float AngleAfter(int frames, float step) {
  float angle = 0.0f;
  for (int i = 0; i < frames; ++i) angle += step;
  return angle;
}

}  // namespace kovrin::test::scenes
