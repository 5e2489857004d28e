// The alpha blending test: two opaque squares fill the view, then eight
// squares are added on top of them with blending (GL_ONE, GL_ONE) and no depth
// test; the frame rate measures that blended fill.
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
    .initialTitle = "Alpha Blending 0.01",
    .titlePrefix = "OpenGL: Alpha Blending Performance  ",
    .afterResX = "x",
    .beforeResY = "",
    .defaultResX = 800,
    .defaultResY = 600,
    .defaultBitDepth = 32,
    .additiveBlendFunc = true,
};

}  // namespace kovrin::framework

namespace {

// The list declares 360 entries and names the first eight; the scene binds
// only those eight.
constexpr const char* kSceneList =
    "{360}{colorview001;colorview002;colorview003;colorview004;colorview005;colorview006;"
    "colorview007;colorview008;}";

constexpr float kBackgroundZ = -2.2f;
constexpr std::size_t kStillBackgroundEntry = 3;
constexpr std::size_t kTurningBackgroundEntry = 1;

struct BlendedSquare {
  std::size_t entry;  // scene set entry, 1-based
  float x, y;
  float angleOffset;  // added to angle 1 when the square is drawn
};

constexpr float kSquareZ = -5.0f;
constexpr std::array<BlendedSquare, 8> kSquares{{
    {3, 1, 0, 1.0f},
    {4, -1, 0, -1.0f},
    {5, 0, -1, 0.0f},
    {6, 0, 1, 0.0f},
    {7, 1, 1, 0.0f},
    {8, 1, -1, 0.0f},
    {1, -1, 1, 0.0f},
    {2, -1, -1, 0.0f},
}};

// Degrees; they only ever grow or shrink by their step, one step per frame.
float angle1 = 0.0f;
float angle2 = 0.0f;

std::optional<TextureSet> sceneSet;

// Without a set, or for an entry whose image failed, texture 0 is bound and
// the square comes out untextured (white): the run goes on with the same load.
void BindEntry(std::size_t entry) { glBindTexture(GL_TEXTURE_2D, sceneSet ? sceneSet->Entry(entry) : 0); }

// A square of edge 2 one unit in front of the current origin, facing the eye.
void DrawPanel() {
  glBegin(GL_QUADS);
  glNormal3f(0.0f, 0.0f, 1.0f);
  glTexCoord2f(0.0f, 0.0f);
  glVertex3f(-1.0f, -1.0f, 1.0f);
  glTexCoord2f(1.0f, 0.0f);
  glVertex3f(1.0f, -1.0f, 1.0f);
  glTexCoord2f(1.0f, 1.0f);
  glVertex3f(1.0f, 1.0f, 1.0f);
  glTexCoord2f(0.0f, 1.0f);
  glVertex3f(-1.0f, 1.0f, 1.0f);
  glEnd();
}

}  // namespace

bool LoadSceneTextures() {
  sceneSet = LoadTextureSet("", kSceneList);
  return true;
}

int DrawScene() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  CountFrame();

  angle1 += 0.9f;
  angle2 -= 0.5f;

  glLoadIdentity();
  BindEntry(kStillBackgroundEntry);
  glTranslatef(0.0f, 0.0f, kBackgroundZ);
  DrawPanel();

  glLoadIdentity();
  BindEntry(kTurningBackgroundEntry);
  glTranslatef(0.0f, 0.0f, kBackgroundZ);
  glRotatef(angle2, 0.0f, 0.0f, 1.0f);
  DrawPanel();

  glDisable(GL_DEPTH_TEST);
  glEnable(GL_BLEND);
  for (const BlendedSquare& square : kSquares) {
    glLoadIdentity();
    BindEntry(square.entry);
    glTranslatef(square.x, square.y, kSquareZ);
    glRotatef(angle1 + square.angleOffset, 0.0f, 0.0f, 1.0f);
    DrawPanel();
  }
  glDisable(GL_BLEND);
  glEnable(GL_DEPTH_TEST);

  glPrint(WindowTitle, -20.0f, -40.0f, 80.0f);
  return 1;
}
