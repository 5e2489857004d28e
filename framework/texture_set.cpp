#include "framework/texture_set.h"

#include <GL/gl.h>

#include <memory>

#include "framework/bmp_decoder.h"
#include "framework/settings_file.h"

namespace kovrin::framework {
namespace {

enum class ScanState { BeforeCount, InCount, InNames };

// The decoder hands over rows without padding; the GL's default unpack
// alignment of 4 would read every row of a picture whose width times three is
// not a multiple of four from the wrong place (a 3-pixel-wide image comes out
// sheared). Uploads therefore run with alignment 1, and the caller's value is
// put back afterwards.
class TightRowUnpacking {
 public:
  TightRowUnpacking() {
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &previous_);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  }
  ~TightRowUnpacking() { glPixelStorei(GL_UNPACK_ALIGNMENT, previous_); }
  TightRowUnpacking(const TightRowUnpacking&) = delete;
  TightRowUnpacking& operator=(const TightRowUnpacking&) = delete;

 private:
  GLint previous_ = 4;
};

// Decodes first, so that an image that cannot be had costs no texture name:
// its entry stays 0, which every user of a set reads as "no texture".
uint32_t UploadTexture(const std::string& name) {
  const std::unique_ptr<ImageRecord> image = LoadBmpImage(TextureFilePath(name).c_str());
  if (!image) return 0;
  GLuint texture = 0;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, image->width, image->height, 0, GL_RGB, GL_UNSIGNED_BYTE,
               image->pixels.get());
  return texture;
}

}  // namespace

std::string TextureFilePath(std::string_view name) {
  std::string path = "data/";
  path += name;
  path += ".tex";
  return path;
}

std::optional<TextureList> ParseTextureList(const std::string& text) {
  ScanState state = ScanState::BeforeCount;
  std::string countText;
  TextureList list;
  std::size_t entry = 0;
  for (const char c : text) {
    if (c == ' ') continue;
    switch (state) {
      case ScanState::BeforeCount:
        if (c == '{') state = ScanState::InCount;
        break;
      case ScanState::InCount: {
        if (c != '}') {
          countText += c;
          break;
        }
        const int32_t count = SaturatingAtoi(countText);
        if (count <= 0 || count > kMaxTextureListEntries) return std::nullopt;
        list.names.resize(static_cast<std::size_t>(count));
        state = ScanState::InNames;
        break;
      }
      case ScanState::InNames:
        if (c == '}') return list;
        if (c == ';') {
          ++entry;
        } else if (c != '{' && entry < list.names.size()) {
          // Names past the declared count have no entry to go to.
          list.names[entry] += c;
        }
        break;
    }
  }
  // A list cut off inside its names keeps what it has; one cut off before its
  // count is no list.
  if (state != ScanState::InNames) return std::nullopt;
  return list;
}

}  // namespace kovrin::framework

using kovrin::framework::ParseTextureList;
using kovrin::framework::TextureList;
using kovrin::framework::TightRowUnpacking;
using kovrin::framework::UploadTexture;

std::optional<TextureSet> LoadTextureSet(std::string listFile, std::string listText) {
  if (listText.empty()) listText = ReadTextFile(listFile);
  if (listText.empty()) return std::nullopt;
  const std::optional<TextureList> list = ParseTextureList(listText);
  if (!list) return std::nullopt;

  TextureSet set;
  set.names.assign(list->names.size(), 0);
  const TightRowUnpacking unpacking;
  for (std::size_t i = 0; i < list->names.size(); ++i) {
    if (!list->names[i].empty()) set.names[i] = UploadTexture(list->names[i]);
  }
  return set;
}
