// Window, display mode, pixel format, rendering context and projection.
#pragma once

#include <cstdint>

#include "platform/platform.h"

extern uint32_t ListBase;
extern kovrin::platform::HWND hWnd;
extern kovrin::platform::HDC hDC;
extern kovrin::platform::HGLRC hRC;

int Graphics_Init();
bool Graphics_Init_CreateWindow();
void Graphics_Resize(int32_t width, int32_t height);
void Graphics_Shutdown();
