// The results table of the default benchmark and the twelve runs that fill it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace kovrin::launcher {

// Frame rates per run and the overall score, all kept in memory only. The
// fields are 32-bit: a current card draws well over 32,767 frames per second at
// 640 x 480, and a narrower field would refuse such a result for good.
struct ResultsTable {
  int32_t QuillfireFPS_1_1 = 0;
  int32_t QuillfireFPS_1_2 = 0;
  int32_t QuillfireFPS_2_1 = 0;
  int32_t QuillfireFPS_2_2 = 0;
  int32_t QuillfireFPS_3_1 = 0;
  int32_t QuillfireFPS_3_2 = 0;
  int32_t LumavaneFPS_1_1 = 0;
  int32_t LumavaneFPS_1_2 = 0;
  int32_t LumavaneFPS_2_1 = 0;
  int32_t LumavaneFPS_2_2 = 0;
  int32_t LumavaneFPS_3_1 = 0;
  int32_t LumavaneFPS_3_2 = 0;
  int32_t Result = 0;
};

enum class TestProgram { Quillfire, Lumavane };

// One run of the default benchmark: which program, the resolution index
// (1 = 640 x 480, 2 = 1024 x 768, 3 = 1600 x 1200), the depth index
// (1 = 16, 2 = 32 bits per pixel) and the table field its frame rate goes to.
struct BenchRun {
  TestProgram test;
  int resIndex;
  int depthIndex;
  int32_t ResultsTable::*field;
};

// The twelve runs in the order they are made, which is also the table order
// the score adds them in.
inline constexpr std::array<BenchRun, 12> kFullBenchmark{{
    {TestProgram::Quillfire, 1, 1, &ResultsTable::QuillfireFPS_1_1},
    {TestProgram::Quillfire, 1, 2, &ResultsTable::QuillfireFPS_1_2},
    {TestProgram::Quillfire, 2, 1, &ResultsTable::QuillfireFPS_2_1},
    {TestProgram::Quillfire, 2, 2, &ResultsTable::QuillfireFPS_2_2},
    {TestProgram::Quillfire, 3, 1, &ResultsTable::QuillfireFPS_3_1},
    {TestProgram::Quillfire, 3, 2, &ResultsTable::QuillfireFPS_3_2},
    {TestProgram::Lumavane, 1, 1, &ResultsTable::LumavaneFPS_1_1},
    {TestProgram::Lumavane, 1, 2, &ResultsTable::LumavaneFPS_1_2},
    {TestProgram::Lumavane, 2, 1, &ResultsTable::LumavaneFPS_2_1},
    {TestProgram::Lumavane, 2, 2, &ResultsTable::LumavaneFPS_2_2},
    {TestProgram::Lumavane, 3, 1, &ResultsTable::LumavaneFPS_3_1},
    {TestProgram::Lumavane, 3, 2, &ResultsTable::LumavaneFPS_3_2},
}};

// The program file name in the launcher's folder: "Quillfire" or "Lumavane".
std::string_view ProgramName(TestProgram test);

// Screen size and colour depth behind the indices, as the settings file
// carries them: any resolution index other than 1 and 2 means 1600 x 1200,
// any depth index other than 1 means 32 bits.
int ResolutionWidth(int resIndex);
int ResolutionHeight(int resIndex);
int DepthBits(int depthIndex);

}  // namespace kovrin::launcher
