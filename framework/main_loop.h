// Entry, main loop and the timed run of eight one-second ticks.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"

extern int32_t FrameCount;
extern int32_t TickCount;
extern bool RunDone;

intptr_t WndProc(kovrin::platform::HWND window, uint32_t message, uintptr_t wParam, intptr_t lParam);
void TimerProc(kovrin::platform::HWND window, uint32_t message, uintptr_t id, uint32_t time);
int CountFrame();
void WriteResults();
void WriteTextFile(std::string text, std::string fileName);

namespace kovrin::framework {

// The text results.fps holds for a frame count: the count divided by 8.
std::string ResultText(int32_t frameCount);

}  // namespace kovrin::framework
