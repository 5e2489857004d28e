// The overdraw stress test: 38 textured cubes one behind the other. Every
// fragment lands at the same depth, so nothing is rejected and each pixel is
// written once per face that covers it; the frame rate measures that fill.
#include <GL/gl.h>

#include <array>
#include <cstddef>
#include <optional>

#include "framework/bitmap_font.h"
#include "framework/main_loop.h"
#include "framework/program_profile.h"
#include "framework/scene.h"
#include "framework/settings_file.h"
#include "framework/texture_set.h"

namespace kovrin::framework {

const ProgramProfile kProgram{
    .initialTitle = "Overdraw Stress Test 0.01c",
    .titlePrefix = "OpenGL: Overdraw Stress Test  ",
    .afterResX = "",
    .beforeResY = "x",
    .defaultResX = 1024,
    .defaultResY = 768,
    .defaultBitDepth = 32,
    .additiveBlendFunc = false,
};

}  // namespace kovrin::framework

namespace {

struct TexturedVertex {
  float s, t;
  float x, y, z;
};

struct CubeFace {
  float nx, ny, nz;
  std::array<TexturedVertex, 4> vertices;
};

// Edge length 2 around the origin; per vertex (s, t) then (x, y, z).
constexpr std::array<CubeFace, 6> kCubeFaces{{
    // front
    {0, 0, 1, {{{0, 0, -1, -1, 1}, {1, 0, 1, -1, 1}, {1, 1, 1, 1, 1}, {0, 1, -1, 1, 1}}}},
    // back
    {0, 0, -1, {{{1, 0, -1, -1, -1}, {1, 1, -1, 1, -1}, {0, 1, 1, 1, -1}, {0, 0, 1, -1, -1}}}},
    // top
    {0, 1, 0, {{{0, 1, -1, 1, -1}, {0, 0, -1, 1, 1}, {1, 0, 1, 1, 1}, {1, 1, 1, 1, -1}}}},
    // bottom
    {0, -1, 0, {{{1, 1, -1, -1, -1}, {0, 1, 1, -1, -1}, {0, 0, 1, -1, 1}, {1, 0, -1, -1, 1}}}},
    // right
    {1, 0, 0, {{{1, 0, 1, -1, -1}, {1, 1, 1, 1, -1}, {0, 1, 1, 1, 1}, {0, 0, 1, -1, 1}}}},
    // left
    {-1, 0, 0, {{{0, 0, -1, -1, -1}, {1, 0, -1, -1, 1}, {1, 1, -1, 1, 1}, {0, 1, -1, 1, -1}}}},
}};

constexpr std::size_t kTunnelEntry = 3;
constexpr std::array<float, 6> kTunnelDepths{-1.5f, -1.6f, -1.7f, -1.8f, -1.9f, -2.0f};

struct GridCube {
  float x, y, z;
  std::size_t angle;  // 1 to 4
  std::size_t entry;  // scene set entry, 1-based
};

// Some places hold two cubes; both are drawn, that is part of the load.
constexpr std::array<GridCube, 32> kGrid{{
    {0, 0, -3.0f, 1, 1},   {0, 1, -3.0f, 2, 2},   {1, 0, -3.0f, 3, 1},  {1, 1, -3.0f, 4, 2},   {0, 0, -3.1f, 1, 1},
    {0, 1, -3.1f, 2, 2},   {1, 0, -3.1f, 3, 1},   {1, 1, -3.1f, 4, 2},  {-1, 0, -3.0f, 1, 1},  {-1, 1, -3.0f, 2, 2},
    {-1, 0, -3.0f, 3, 1},  {-1, 1, -3.0f, 4, 2},  {-1, 0, -3.1f, 2, 1}, {-1, 1, -3.1f, 3, 2},  {-1, 0, -3.1f, 4, 1},
    {-1, 1, -3.1f, 1, 2},  {0, -1, -3.0f, 1, 1},  {0, 0, -3.0f, 2, 2},  {1, -1, -3.0f, 3, 1},  {1, 0, -3.0f, 4, 2},
    {0, -1, -3.1f, 1, 1},  {0, 0, -3.1f, 2, 2},   {1, -1, -3.1f, 3, 1}, {1, 0, -3.1f, 4, 2},   {-1, -1, -3.0f, 1, 1},
    {-1, 0, -3.0f, 2, 2},  {-1, -1, -3.0f, 3, 1}, {-1, 0, -3.0f, 4, 2}, {-1, -1, -3.1f, 4, 1}, {-1, 0, -3.1f, 1, 2},
    {-1, -1, -3.1f, 3, 1}, {-1, 0, -3.1f, 2, 2},
}};

// Degrees; they only ever grow or shrink by their step, one step per frame.
std::array<float, 4> angles{0.0f, 0.0f, 0.0f, 0.0f};

std::optional<TextureSet> sceneSet;

// Without a set, or for an entry whose image failed, texture 0 is bound and
// the cube comes out untextured: the run goes on with the same load.
void BindEntry(std::size_t entry) { glBindTexture(GL_TEXTURE_2D, sceneSet ? sceneSet->Entry(entry) : 0); }

void DrawCube() {
  glBegin(GL_QUADS);
  for (const CubeFace& face : kCubeFaces) {
    glNormal3f(face.nx, face.ny, face.nz);
    for (const TexturedVertex& v : face.vertices) {
      glTexCoord2f(v.s, v.t);
      glVertex3f(v.x, v.y, v.z);
    }
  }
  glEnd();
}

void AdvanceAngles() {
  angles[0] += 0.1f;
  angles[1] += 0.2f;
  angles[2] -= 0.1f;
  angles[3] -= 0.4f;
}

}  // namespace

bool LoadSceneTextures() {
  sceneSet = LoadTextureSet("", "{3}{texture001;texture002;texture003;}");
  return true;
}

int DrawScene() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  CountFrame();

  for (const float z : kTunnelDepths) {
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, z);
    BindEntry(kTunnelEntry);
    DrawCube();
  }

  AdvanceAngles();

  for (const GridCube& cube : kGrid) {
    glLoadIdentity();
    glTranslatef(cube.x, cube.y, cube.z);
    // The grid turns in the screen plane, about the viewing axis, like the
    // blending test's squares: each cube keeps showing the same faces, so the
    // overdraw per frame stays nearly constant over the run and the measured
    // rate does not drift with the animation.
    glRotatef(angles[cube.angle - 1], 0.0f, 0.0f, 1.0f);
    BindEntry(cube.entry);
    DrawCube();
  }

  glPrint(WindowTitle, -20.0f, -40.0f, 80.0f);
  return 1;
}
