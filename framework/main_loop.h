// Entry, main loop and the timed run of eight one-second ticks.
#pragma once

#include <cstdint>
#include <string>

#include "platform.h"

extern int32_t FrameCount;
extern int32_t TickCount;
extern bool RunDone;

intptr_t WndProc(plat::HWND window, uint32_t message, uintptr_t wParam, intptr_t lParam);
void TimerProc(plat::HWND window, uint32_t message, uintptr_t id, uint32_t time);
int CountFrame();
void WriteResults();
void WriteTextFile(std::string text, std::string fileName);

// The text results.fps holds for a frame count: the count divided by 8.
std::string ResultText(int32_t frameCount);
