// What the recorder and the reader of GL call traces agree on: the names of
// GL enums, the pixel digest and the first line of a trace file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace kovrin::test::gltrace {

inline constexpr std::string_view kFileHeader = "# kovrin-gltrace 1";
inline constexpr std::string_view kSwap = "SWAP";

struct EnumName {
  uint32_t value;
  const char* name;
};

// Values that do not collide with one another. Primitive modes and blend
// factors are small numbers that would, so they have tables of their own and
// are named only where a call takes them.
inline constexpr EnumName kGeneralEnums[] = {
    {0x0200, "GL_NEVER"},
    {0x0201, "GL_LESS"},
    {0x0202, "GL_EQUAL"},
    {0x0203, "GL_LEQUAL"},
    {0x0204, "GL_GREATER"},
    {0x0205, "GL_NOTEQUAL"},
    {0x0206, "GL_GEQUAL"},
    {0x0207, "GL_ALWAYS"},
    {0x0B10, "GL_POINT_SMOOTH"},
    {0x0B20, "GL_LINE_SMOOTH"},
    {0x0B41, "GL_POLYGON_SMOOTH"},
    {0x0B44, "GL_CULL_FACE"},
    {0x0B50, "GL_LIGHTING"},
    {0x0B57, "GL_COLOR_MATERIAL"},
    {0x0B60, "GL_FOG"},
    {0x0B71, "GL_DEPTH_TEST"},
    {0x0B90, "GL_STENCIL_TEST"},
    {0x0BA1, "GL_NORMALIZE"},
    {0x0BC0, "GL_ALPHA_TEST"},
    {0x0BD0, "GL_DITHER"},
    {0x0BE2, "GL_BLEND"},
    {0x0C11, "GL_SCISSOR_TEST"},
    {0x0C50, "GL_PERSPECTIVE_CORRECTION_HINT"},
    {0x0C51, "GL_POINT_SMOOTH_HINT"},
    {0x0C52, "GL_LINE_SMOOTH_HINT"},
    {0x0C53, "GL_POLYGON_SMOOTH_HINT"},
    {0x0C54, "GL_FOG_HINT"},
    {0x0CF2, "GL_UNPACK_ROW_LENGTH"},
    {0x0CF5, "GL_UNPACK_ALIGNMENT"},
    {0x0D05, "GL_PACK_ALIGNMENT"},
    {0x0DE0, "GL_TEXTURE_1D"},
    {0x0DE1, "GL_TEXTURE_2D"},
    {0x1100, "GL_DONT_CARE"},
    {0x1101, "GL_FASTEST"},
    {0x1102, "GL_NICEST"},
    {0x1300, "GL_COMPILE"},
    {0x1301, "GL_COMPILE_AND_EXECUTE"},
    {0x1401, "GL_UNSIGNED_BYTE"},
    {0x1406, "GL_FLOAT"},
    {0x1700, "GL_MODELVIEW"},
    {0x1701, "GL_PROJECTION"},
    {0x1702, "GL_TEXTURE"},
    {0x1906, "GL_ALPHA"},
    {0x1907, "GL_RGB"},
    {0x1908, "GL_RGBA"},
    {0x1909, "GL_LUMINANCE"},
    {0x190A, "GL_LUMINANCE_ALPHA"},
    {0x1D00, "GL_FLAT"},
    {0x1D01, "GL_SMOOTH"},
    {0x1E01, "GL_REPLACE"},
    {0x2100, "GL_MODULATE"},
    {0x2101, "GL_DECAL"},
    {0x2200, "GL_TEXTURE_ENV_MODE"},
    {0x2300, "GL_TEXTURE_ENV"},
    {0x2600, "GL_NEAREST"},
    {0x2601, "GL_LINEAR"},
    {0x2700, "GL_NEAREST_MIPMAP_NEAREST"},
    {0x2701, "GL_LINEAR_MIPMAP_NEAREST"},
    {0x2702, "GL_NEAREST_MIPMAP_LINEAR"},
    {0x2703, "GL_LINEAR_MIPMAP_LINEAR"},
    {0x2800, "GL_TEXTURE_MAG_FILTER"},
    {0x2801, "GL_TEXTURE_MIN_FILTER"},
    {0x2802, "GL_TEXTURE_WRAP_S"},
    {0x2803, "GL_TEXTURE_WRAP_T"},
    {0x2900, "GL_CLAMP"},
    {0x2901, "GL_REPEAT"},
    {0x8051, "GL_RGB8"},
    {0x8058, "GL_RGBA8"},
    {0x80E0, "GL_BGR"},
    {0x80E1, "GL_BGRA"},
    {0x812F, "GL_CLAMP_TO_EDGE"},
};

inline constexpr EnumName kPrimitiveEnums[] = {
    {0x0000, "GL_POINTS"},     {0x0001, "GL_LINES"},          {0x0002, "GL_LINE_LOOP"},    {0x0003, "GL_LINE_STRIP"},
    {0x0004, "GL_TRIANGLES"},  {0x0005, "GL_TRIANGLE_STRIP"}, {0x0006, "GL_TRIANGLE_FAN"}, {0x0007, "GL_QUADS"},
    {0x0008, "GL_QUAD_STRIP"}, {0x0009, "GL_POLYGON"},
};

inline constexpr EnumName kBlendFactorEnums[] = {
    {0x0000, "GL_ZERO"},
    {0x0001, "GL_ONE"},
    {0x0300, "GL_SRC_COLOR"},
    {0x0301, "GL_ONE_MINUS_SRC_COLOR"},
    {0x0302, "GL_SRC_ALPHA"},
    {0x0303, "GL_ONE_MINUS_SRC_ALPHA"},
    {0x0304, "GL_DST_ALPHA"},
    {0x0305, "GL_ONE_MINUS_DST_ALPHA"},
    {0x0306, "GL_DST_COLOR"},
    {0x0307, "GL_ONE_MINUS_DST_COLOR"},
    {0x0308, "GL_SRC_ALPHA_SATURATE"},
};

// glClear's bits, joined with "|" in a trace.
inline constexpr EnumName kClearBits[] = {
    {0x4000, "GL_COLOR_BUFFER_BIT"},
    {0x0100, "GL_DEPTH_BUFFER_BIT"},
    {0x0400, "GL_STENCIL_BUFFER_BIT"},
    {0x0200, "GL_ACCUM_BUFFER_BIT"},
};

inline const char* FindEnumName(std::span<const EnumName> table, uint32_t value) {
  for (const EnumName& e : table) {
    if (e.value == value) return e.name;
  }
  return nullptr;
}

// The value of a name from any table; names are unique across them.
inline std::optional<uint32_t> FindEnumValue(std::string_view name) {
  for (std::span<const EnumName> table :
       {std::span<const EnumName>(kGeneralEnums), std::span<const EnumName>(kPrimitiveEnums),
        std::span<const EnumName>(kBlendFactorEnums), std::span<const EnumName>(kClearBits)}) {
    for (const EnumName& e : table) {
      if (name == e.name) return e.value;
    }
  }
  return std::nullopt;
}

// 32-bit FNV-1a, fed row by row so that row padding stays out of it: the
// digest of an upload equals the digest of its tightly packed pixels.
class PixelDigest {
 public:
  void Add(const uint8_t* data, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
      hash_ = (hash_ ^ data[i]) * 16777619u;
    }
  }
  uint32_t Value() const { return hash_; }

 private:
  uint32_t hash_ = 2166136261u;
};

inline uint32_t DigestOf(std::span<const uint8_t> bytes) {
  PixelDigest digest;
  digest.Add(bytes.data(), bytes.size());
  return digest.Value();
}

}  // namespace kovrin::test::gltrace
