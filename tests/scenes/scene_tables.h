// The tests' own transcription of what the two scenes draw. Kept apart from
// the programs' sources on purpose: a slip in a program's table must show up
// as a difference, not be copied into the expectation.
#pragma once

#include <array>

namespace kovrin::test::scenes::tables {

// ---- Overdraw scene --------------------------------------------------------

// Per face: normal, then per vertex s, t, x, y, z.
struct CubeFace {
  float n[3];
  float v[4][5];
};
inline constexpr CubeFace kCube[6] = {
    {{0, 0, 1}, {{0, 0, -1, -1, 1}, {1, 0, 1, -1, 1}, {1, 1, 1, 1, 1}, {0, 1, -1, 1, 1}}},
    {{0, 0, -1}, {{1, 0, -1, -1, -1}, {1, 1, -1, 1, -1}, {0, 1, 1, 1, -1}, {0, 0, 1, -1, -1}}},
    {{0, 1, 0}, {{0, 1, -1, 1, -1}, {0, 0, -1, 1, 1}, {1, 0, 1, 1, 1}, {1, 1, 1, 1, -1}}},
    {{0, -1, 0}, {{1, 1, -1, -1, -1}, {0, 1, 1, -1, -1}, {0, 0, 1, -1, 1}, {1, 0, -1, -1, 1}}},
    {{1, 0, 0}, {{1, 0, 1, -1, -1}, {1, 1, 1, 1, -1}, {0, 1, 1, 1, 1}, {0, 0, 1, -1, 1}}},
    {{-1, 0, 0}, {{0, 0, -1, -1, -1}, {1, 0, -1, -1, 1}, {1, 1, -1, 1, 1}, {0, 1, -1, 1, -1}}},
};

inline constexpr float kTunnelDepths[6] = {-1.5f, -1.6f, -1.7f, -1.8f, -1.9f, -2.0f};
inline constexpr int kTunnelEntry = 3;

// Per frame, angles 1 to 4 change by these steps (single precision).
inline constexpr float kGridSteps[4] = {0.1f, 0.2f, -0.1f, -0.4f};

struct GridRow {
  float x, y, z;
  int angle;  // 1 to 4
  int entry;  // 1 to 3
};
inline constexpr GridRow kGrid[32] = {
    {0, 0, -3, 1, 1},      {0, 1, -3, 2, 2},     {1, 0, -3, 3, 1},     {1, 1, -3, 4, 2},      {0, 0, -3.1f, 1, 1},
    {0, 1, -3.1f, 2, 2},   {1, 0, -3.1f, 3, 1},  {1, 1, -3.1f, 4, 2},  {-1, 0, -3, 1, 1},     {-1, 1, -3, 2, 2},
    {-1, 0, -3, 3, 1},     {-1, 1, -3, 4, 2},    {-1, 0, -3.1f, 2, 1}, {-1, 1, -3.1f, 3, 2},  {-1, 0, -3.1f, 4, 1},
    {-1, 1, -3.1f, 1, 2},  {0, -1, -3, 1, 1},    {0, 0, -3, 2, 2},     {1, -1, -3, 3, 1},     {1, 0, -3, 4, 2},
    {0, -1, -3.1f, 1, 1},  {0, 0, -3.1f, 2, 2},  {1, -1, -3.1f, 3, 1}, {1, 0, -3.1f, 4, 2},   {-1, -1, -3, 1, 1},
    {-1, 0, -3, 2, 2},     {-1, -1, -3, 3, 1},   {-1, 0, -3, 4, 2},    {-1, -1, -3.1f, 4, 1}, {-1, 0, -3.1f, 1, 2},
    {-1, -1, -3.1f, 3, 1}, {-1, 0, -3.1f, 2, 2},
};

// ---- Blending scene --------------------------------------------------------

inline constexpr float kBackgroundZ = -2.2f;
inline constexpr int kStillBackgroundEntry = 3;
inline constexpr int kTurningBackgroundEntry = 1;
inline constexpr float kAngle1Step = 0.9f;
inline constexpr float kAngle2Step = -0.5f;  // angle 2 turns the background

struct BlendedSquare {
  int entry;
  float x, y;
  float offset;  // added to angle 1
};
inline constexpr float kSquareZ = -5.0f;
inline constexpr BlendedSquare kSquares[8] = {
    {3, 1, 0, 1.0f}, {4, -1, 0, -1.0f}, {5, 0, -1, 0}, {6, 0, 1, 0},
    {7, 1, 1, 0},    {8, 1, -1, 0},     {1, -1, 1, 0}, {2, -1, -1, 0},
};

}  // namespace kovrin::test::scenes::tables
